// CMarkup: the program's read-only XML reader. The whole document stays one UTF-16 text; a single
// pass records where each element's tags start and end, and a cursor then walks that table by
// element name and reads attributes straight from the text. Element text is never read.
//
// Configuration files arrive over the network, so the parse is bounded: nesting deeper than
// kMaxDepth fails, and every scan moves forward, so hostile input ends the parse with an error.
// Attribute reads stay within the start tag as the parse found it, so reading stays linear too.
#pragma once

#include "framework/String.h"

#include <vector>

class CMarkup {
public:
    // Elements nested deeper than this make the parse fail instead of exhausting the stack.
    static constexpr int kMaxDepth = 256;

    CMarkup();
    virtual ~CMarkup() = default;

    // Replaces the document (null reads as the empty text) and parses it; true when a root
    // element was found.
    bool SetDocument(const wchar_t* text);
    // Reads a UTF-8 file and parses it. A file that cannot be opened leaves the document as it was.
    bool LoadFile(const wchar_t* path);

    // The next FindElement searches the top level, where the only element is the root.
    void ResetPosition();
    // Moves to the next element of this name (any name when null or empty) at the current level.
    bool FindElement(const wchar_t* name);
    // Makes the current element the level the next FindElement searches; false when there is no
    // current element.
    bool EnterElement();
    // Decoded value of a quoted attribute of the current element, or the empty text.
    CString GetAttribute(const wchar_t* name) const;

    // Why the last SetDocument failed; empty after one that succeeded.
    const CString& GetError() const { return m_error; }

private:
    struct ElemPos {
        int StartOpen = 0;  // '<' of the start tag
        int StartClose = 0; // '>' of the start tag
        int EndOpen = 0;    // '<' of the end tag, '/' of an empty element; next search point while parsing
        int EndClose = 0;   // '>' of the end tag
        int Parent = 0;
        int FirstChild = 0;
        int NextSibling = 0;
    };

    // One scan over the document: a quoted string, a run of non-delimiters or one delimiter.
    struct MarkupToken {
        int Left = 0;
        int Right = -1;
        int NextPos = 0;
        bool IsQuoted = false;
        const wchar_t* Text = nullptr;

        explicit MarkupToken(const wchar_t* text, int nextPos = 0) : NextPos(nextPos), Text(text) {}
        bool Next();
        wchar_t First() const { return Text[Left]; }
        int Length() const { return Right - Left + 1; }
    };

    // Node types told apart by ParseSpecialNode.
    enum NodeType {
        MNT_NONE = 0,
        MNT_ELEMENT = 1,
        MNT_TEXT = 2,
        MNT_WHITESPACE = 4,
        MNT_CDATA_SECTION = 8,
        MNT_PROCESSING_INSTRUCTION = 16,
        MNT_COMMENT = 32,
        MNT_DOCUMENT_TYPE = 64,
    };

    int ParseElement(int parent);
    int ParseSpecialNode(MarkupToken& token) const;
    int FindElementIndex(int parent, int current, const wchar_t* name) const;
    bool FindAttribute(MarkupToken& token, const wchar_t* name, int tagEnd) const;
    CString GetAttributeAt(int slot, const wchar_t* name) const;
    CString DecodeText(int start, int end) const;
    int SetParseError(const wchar_t* message, const wchar_t* name);
    CString TokenText(const MarkupToken& token) const;

    static bool SkipWhitespace(const wchar_t* text, int& pos);
    static bool FindCharFrom(const wchar_t* text, int& pos, wchar_t c);

    ElemPos& Elem(int slot) { return m_elems[static_cast<size_t>(slot)]; }
    const ElemPos& Elem(int slot) const { return m_elems[static_cast<size_t>(slot)]; }

    CString m_doc;
    CString m_error;
    std::vector<ElemPos> m_elems; // slot 0 is a virtual root above the document's root element
    int m_parentPos = 0;
    int m_currentPos = 0;
    int m_childPos = 0; // never set by the read-only cursor, so always 0
    int m_nextFree = 1;
    int m_nodeType = 0;
    int m_depth = 0; // elements open while parsing
};
