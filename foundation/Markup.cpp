#include "foundation/Markup.h"

#include "framework/File.h"

#include <climits>
#include <cwchar>
#include <new>
#include <string>

namespace {

bool IsWhite(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

bool IsDelimiter(wchar_t c) {
    return c && wcschr(L" \t\n\r<>=\\/?!", c) != nullptr;
}

bool IsNameTerminator(wchar_t c) {
    return c && wcschr(L" =/[", c) != nullptr;
}

// A token names `name` when its characters are the first characters of the name and the name
// ends there or goes on with a terminator; letter case counts.
bool NameMatches(const wchar_t* token, int tokenLength, const wchar_t* name, size_t nameLength) {
    if (tokenLength <= 0 || static_cast<size_t>(tokenLength) > nameLength) return false;
    if (wcsncmp(token, name, static_cast<size_t>(tokenLength)) != 0) return false;
    return static_cast<size_t>(tokenLength) == nameLength || IsNameTerminator(name[tokenLength]);
}

} // namespace

bool CMarkup::MarkupToken::Next() {
    IsQuoted = false;
    int pos = NextPos;
    while (IsWhite(Text[pos]))
        ++pos;
    const wchar_t c = Text[pos];
    if (!c) {
        Left = Right = NextPos = pos;
        return false;
    }
    if (c == L'"' || c == L'\'') {
        IsQuoted = true;
        Left = pos + 1;
        int close = Left;
        while (Text[close] && Text[close] != c)
            ++close;
        Right = close - 1;
        NextPos = Text[close] ? close + 1 : close;
        return true;
    }
    Left = pos;
    while (Text[pos] && !IsDelimiter(Text[pos]))
        ++pos;
    if (pos > Left) {
        Right = pos - 1;
        NextPos = pos;
    } else {
        Right = Left; // a single delimiter
        NextPos = Left + 1;
    }
    return true;
}

CMarkup::CMarkup() {
    SetDocument(nullptr);
}

bool CMarkup::SkipWhitespace(const wchar_t* text, int& pos) {
    while (IsWhite(text[pos]))
        ++pos;
    return text[pos] != 0;
}

bool CMarkup::FindCharFrom(const wchar_t* text, int& pos, wchar_t c) {
    while (text[pos] && text[pos] != c)
        ++pos;
    return text[pos] != 0;
}

CString CMarkup::TokenText(const MarkupToken& token) const {
    if (token.Right < token.Left) return CString();
    return CString(token.Text + token.Left, token.Length());
}

bool CMarkup::SetDocument(const wchar_t* text) {
    m_nextFree = 1;
    m_depth = 0;
    m_error.Empty();
    ResetPosition();
    try {
        m_doc = text;
        const size_t wanted = static_cast<size_t>(m_doc.GetLength() / 64) + 8;
        if (m_elems.size() < wanted) m_elems.resize(wanted);
        if (m_doc.IsEmpty()) {
            m_error = L"Element tag not found";
        } else {
            Elem(0) = ElemPos();
            const int root = ParseElement(0);
            if (root > 0) {
                Elem(0).FirstChild = root;
                ResetPosition();
                return true;
            }
            // ParseElement has recorded why, except when the text begins with an end tag.
            if (root == 0) m_error = L"End tag before any element";
        }
    } catch (const std::bad_alloc&) {
        // A document too large for memory reads as no document.
        m_doc.Empty();
        m_error = L"Out of memory";
        if (m_elems.empty()) m_elems.resize(1);
    }
    Elem(0) = ElemPos();
    m_nextFree = 1;
    ResetPosition();
    return false;
}

bool CMarkup::LoadFile(const wchar_t* path) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone)) return false;
    const ULONGLONG length = file.GetLength();
    if (length > static_cast<ULONGLONG>(INT_MAX)) return false;
    CString text;
    try {
        std::string bytes(static_cast<size_t>(length), '\0');
        size_t total = 0;
        while (total < bytes.size()) {
            const UINT got = file.Read(&bytes[total], static_cast<UINT>(bytes.size() - total));
            if (got == 0) break;
            total += got;
        }
        file.Close();
        // Only what was really read: the file may have shrunk since its length was taken.
        text = CString::FromUtf8(bytes.data(), static_cast<int>(total));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return SetDocument(text);
}

void CMarkup::ResetPosition() {
    m_parentPos = 0;
    m_currentPos = 0;
    m_childPos = 0;
    m_nodeType = 0;
}

bool CMarkup::FindElement(const wchar_t* name) {
    if (m_elems.empty() || m_nextFree <= 1) return false;
    const int slot = FindElementIndex(m_parentPos, m_currentPos, name);
    if (!slot) return false;
    m_parentPos = Elem(slot).Parent;
    m_currentPos = slot;
    m_childPos = 0;
    m_nodeType = MNT_ELEMENT;
    return true;
}

bool CMarkup::EnterElement() {
    if (!m_currentPos || m_nodeType != MNT_ELEMENT) return false;
    m_parentPos = m_currentPos;
    m_currentPos = m_childPos;
    m_childPos = 0;
    m_nodeType = m_currentPos ? MNT_ELEMENT : MNT_NONE;
    return true;
}

CString CMarkup::GetAttribute(const wchar_t* name) const {
    return GetAttributeAt(m_currentPos, name);
}

int CMarkup::FindElementIndex(int parent, int current, const wchar_t* name) const {
    int slot = current ? Elem(current).NextSibling : Elem(parent).FirstChild;
    if (!name || !*name) return slot;
    const size_t nameLength = wcslen(name);
    const wchar_t* text = m_doc.GetString();
    for (; slot; slot = Elem(slot).NextSibling) {
        MarkupToken token(text, Elem(slot).StartOpen + 1);
        if (token.Next() && !token.IsQuoted &&
            NameMatches(text + token.Left, token.Length(), name, nameLength))
            return slot;
    }
    return 0;
}

// Tokens are numbered from the tag name (0); a value counts only when it is the quoted token two
// places after the matching name, that is right after its '='.
// No token may begin after tagEnd, the '>' the parse took as the end of the start tag: when that '>'
// sits inside a quoted value, the quote closes somewhere after it, and reading on from there would
// take the next elements' attributes for this one's and, element by element, rescan the rest of the
// document. Only a value that begins inside the tag is read to its closing quote.
bool CMarkup::FindAttribute(MarkupToken& token, const wchar_t* name, int tagEnd) const {
    const size_t nameLength = wcslen(name);
    int found = 0;
    for (int number = 0; token.NextPos <= tagEnd && token.Next(); ++number) {
        if (!token.IsQuoted) {
            const wchar_t c = token.First();
            if (c == L'>' || c == L'/') return false;
            if (c == L'=') continue;
            if (!found && number > 0 &&
                NameMatches(token.Text + token.Left, token.Length(), name, nameLength))
                found = number;
        } else if (found && number == found + 2) {
            return true;
        }
    }
    return false;
}

CString CMarkup::GetAttributeAt(int slot, const wchar_t* name) const {
    if (!slot || m_nodeType != MNT_ELEMENT || !name) return CString();
    MarkupToken token(m_doc.GetString(), Elem(slot).StartOpen + 1);
    if (!FindAttribute(token, name, Elem(slot).StartClose)) return CString();
    return DecodeText(token.Left, token.Right);
}

// One pass: the text an entity produces is never decoded again.
CString CMarkup::DecodeText(int start, int end) const {
    struct Entity {
        const wchar_t* name;
        int length;
        wchar_t ch;
    };
    static const Entity entities[] = {
        {L"lt;", 3, L'<'}, {L"amp;", 4, L'&'}, {L"gt;", 3, L'>'}, {L"apos;", 5, L'\''}, {L"quot;", 5, L'"'},
    };
    const wchar_t* text = m_doc.GetString();
    std::wstring out;
    if (end >= start) out.reserve(static_cast<size_t>(end - start + 1));
    for (int i = start; i <= end;) {
        if (text[i] == L'&') {
            const Entity* match = nullptr;
            for (const Entity& entity : entities) {
                if (i + entity.length <= end &&
                    wcsncmp(text + i + 1, entity.name, static_cast<size_t>(entity.length)) == 0) {
                    match = &entity;
                    break;
                }
            }
            if (match) {
                out += match->ch;
                i += match->length + 1;
                continue;
            }
        }
        out += text[i];
        ++i;
    }
    return CString(out);
}

// The name goes in where the message has "%s"; it is never used as a format.
int CMarkup::SetParseError(const wchar_t* message, const wchar_t* name) {
    CString error(message);
    const int marker = error.Find(L"%s");
    if (name && marker >= 0) error = error.Left(marker) + name + error.Mid(marker + 2);
    m_error = error;
    --m_nextFree;
    return -1;
}

// Classifies the node at token.NextPos and, on success, leaves NextPos just after it. The
// terminators are searched from the node's own '<', so "<?>" and "<!-->" are whole nodes.
int CMarkup::ParseSpecialNode(MarkupToken& token) const {
    const wchar_t* text = token.Text;
    const int pos = token.NextPos;
    token.Left = pos;
    const wchar_t c = text[pos];
    if (c == L'<') {
        if (!text[pos + 1] || !text[pos + 2]) return MNT_NONE;
        const wchar_t* terminator = nullptr;
        int type = MNT_NONE;
        switch (text[pos + 1]) {
        case L'?':
            terminator = L"?>";
            type = MNT_PROCESSING_INSTRUCTION;
            break;
        case L'!':
            if (text[pos + 2] == L'[') {
                terminator = L"]]>";
                type = MNT_CDATA_SECTION;
            } else if (text[pos + 2] == L'-') {
                terminator = L"-->";
                type = MNT_COMMENT;
            } else {
                // Document type: brackets nest, quoted parts are skipped, '>' at depth 0 ends it.
                int depth = 0;
                while (token.Next()) {
                    if (token.IsQuoted) continue;
                    const wchar_t first = token.First();
                    if (first == L'[')
                        ++depth;
                    else if (first == L']')
                        --depth;
                    else if (first == L'>' && depth == 0)
                        return MNT_DOCUMENT_TYPE;
                }
                return MNT_NONE;
            }
            break;
        case L'/':
            return MNT_NONE;
        default:
            return MNT_ELEMENT;
        }
        const wchar_t* found = wcsstr(text + pos, terminator);
        if (!found) return MNT_NONE;
        token.NextPos = static_cast<int>(found - text) + static_cast<int>(wcslen(terminator));
        return type;
    }
    if (!c) return MNT_NONE;
    int next = pos;
    if (!SkipWhitespace(text, next) || text[next] == L'<') {
        token.NextPos = next;
        return MNT_WHITESPACE;
    }
    FindCharFrom(text, next, L'<');
    token.NextPos = next;
    return MNT_TEXT;
}

// Parses the next child of `parent`: its slot, 0 when the parent's end tag comes first, or -1
// after an error. Recurses once per level, which kMaxDepth bounds.
int CMarkup::ParseElement(int parent) {
    if (m_nextFree >= static_cast<int>(m_elems.size())) {
        const size_t size = m_elems.size();
        const size_t grow = size / 2 ? size / 2 : 8;
        m_elems.resize(size + grow);
    }
    const int slot = m_nextFree++;
    Elem(slot).Parent = parent;
    Elem(slot).FirstChild = 0;
    Elem(slot).NextSibling = 0;

    const wchar_t* text = m_doc.GetString();
    int pos = Elem(parent).EndOpen;
    MarkupToken name(text);
    for (;;) {
        if (!FindCharFrom(text, pos, L'<')) return SetParseError(L"Element tag not found", nullptr);
        Elem(slot).StartOpen = pos;
        Elem(parent).EndOpen = pos;
        name.NextPos = pos + 1;
        if (!name.Next()) return SetParseError(L"Abrupt end within tag", nullptr);
        if (name.IsQuoted) return SetParseError(L"Tag starts with quote", nullptr);
        const wchar_t first = name.First();
        if (first == L'?' || first == L'!') {
            MarkupToken node(text, pos);
            const int type = ParseSpecialNode(node);
            // With white space between '<' and '?' or '!' the classifier sees an element start
            // and would not move on; such a node is as invalid as an unterminated one.
            if (type == MNT_NONE || type == MNT_ELEMENT) return SetParseError(L"Invalid node", nullptr);
            pos = node.NextPos;
            continue;
        }
        if (first == L'/') {
            --m_nextFree; // an end tag: the slot was not needed
            return 0;
        }
        break;
    }

    if (m_depth >= kMaxDepth) return SetParseError(L"Element %s nested too deeply", TokenText(name));
    // Quotes are not considered: a '>' inside an attribute value ends the start tag.
    pos = name.NextPos;
    if (!FindCharFrom(text, pos, L'>')) return SetParseError(L"End of tag not found", nullptr);
    Elem(slot).StartClose = pos;
    if (text[pos - 1] == L'/') {
        Elem(slot).EndOpen = pos - 1;
        Elem(slot).EndClose = pos;
        return slot;
    }

    Elem(slot).EndOpen = pos + 1;
    ++m_depth;
    int previous = 0;
    int child = ParseElement(slot);
    while (child > 0) {
        if (!previous)
            Elem(slot).FirstChild = child;
        else
            Elem(previous).NextSibling = child;
        Elem(slot).EndOpen = Elem(child).EndClose + 1;
        previous = child;
        child = ParseElement(slot);
    }
    --m_depth;
    if (child < 0) return -1;

    int endPos = Elem(slot).EndOpen;
    if (!FindCharFrom(text, endPos, L'<'))
        return SetParseError(L"End tag of %s element not found", TokenText(name));
    Elem(slot).EndOpen = endPos;

    // "</", the name, then anything up to '>'; quoted tokens count but are not looked at.
    const int nameLength = name.Length();
    MarkupToken end(text, endPos + 1);
    int count = 0;
    bool closed = false;
    while (end.Next()) {
        if (!end.IsQuoted && end.First() == L'>') {
            closed = true;
            break;
        }
        ++count;
        if (end.IsQuoted) continue;
        if (count == 1 && end.First() != L'/')
            return SetParseError(L"Expecting end tag of element %s", TokenText(name));
        if (count == 2 &&
            !NameMatches(text + end.Left, end.Length(), text + name.Left, static_cast<size_t>(nameLength)))
            return SetParseError(L"End tag does not correspond to %s", TokenText(name));
    }
    if (!closed || count < 2) return SetParseError(L"End tag not completed for element %s", TokenText(name));
    Elem(slot).EndClose = end.Left;
    return slot;
}
