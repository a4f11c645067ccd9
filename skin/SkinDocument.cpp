// Choosing and loading the skin folder. A folder counts as a skin only when its "skin.xml" loads and
// parses, so a broken skin is never selected; the configured name is matched without regard to case.
#include "skin/SkinDocument.h"

#include "foundation/Config.h"
#include "foundation/Markup.h"
#include "foundation/Settings.h"
#include "foundation/UrlHelpers.h"
#include "framework/File.h"

CSkinDocument* g_pSkinDocument = nullptr;

CSkinDocument::CSkinDocument() : m_markup(new CMarkup) {}

CSkinDocument::~CSkinDocument() = default;

BOOL CSkinDocument::Load() { return LoadFrom(GetModuleDir(), GetSkinDir()); }

BOOL CSkinDocument::LoadFrom(const CString& programDir, const CString& skinName) {
    m_markup->SetDocument(nullptr);
    m_bLoaded = false;
    m_nCurSkin = -1;
    m_skinDirs.clear();
    m_strLogoPath.Empty();
    m_strProgramDir = programDir;
    EnumSkinDirs(programDir + L"\\skin\\", m_skinDirs);
    SelectSkin(skinName);
    return m_bLoaded ? TRUE : FALSE;
}

void CSkinDocument::EnumSkinDirs(const CString& folder, std::vector<CString>& dirs) const {
    dirs.clear();
    CString pattern = folder;
    if (pattern.IsEmpty() || pattern[pattern.GetLength() - 1] != L'\\') pattern += L'\\';
    pattern += L"*.*";
    CFileFind finder;
    BOOL more = finder.FindFile(pattern);
    while (more) {
        more = finder.FindNextFile();
        if (!finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY) || finder.IsDots()) continue;
        if (IsSkinDir(finder.GetFilePath())) dirs.push_back(finder.GetFileName());
    }
    finder.Close();
}

BOOL CSkinDocument::IsSkinDir(const CString& folder) {
    CMarkup markup;
    return markup.LoadFile(folder + L"\\skin.xml") ? TRUE : FALSE;
}

BOOL CSkinDocument::SelectSkin(const CString& name) {
    if (name.IsEmpty()) return FALSE;
    for (size_t i = 0; i < m_skinDirs.size(); ++i) {
        if (m_skinDirs[i].CompareNoCase(name) != 0) continue;
        m_nCurSkin = static_cast<int>(i);
        m_strLogoPath.Empty();
        m_bLoaded = m_markup->LoadFile(m_strProgramDir + L"\\skin\\" + m_skinDirs[i] + L"\\skin.xml");
        if (!m_bLoaded) m_markup->SetDocument(nullptr);
        return TRUE;
    }
    return FALSE;
}

CString CSkinDocument::GetImagePath(const CString& value) const {
    if (m_nCurSkin < 0 || m_nCurSkin >= static_cast<int>(m_skinDirs.size())) return CString();
    return m_strProgramDir + L"\\skin\\" + m_skinDirs[m_nCurSkin] + L"\\" + value;
}

CString CSkinDocument::GetLogoPath() {
    if (!m_strLogoPath.IsEmpty()) return m_strLogoPath;
    if (!m_bLoaded) return CString();
    m_markup->ResetPosition();
    if (m_markup->FindElement(L"CLIENTSKIN") && m_markup->EnterElement() && m_markup->FindElement(L"IMG") &&
        m_markup->GetAttribute(L"name").CompareNoCase(L"logo") == 0)
        m_strLogoPath = GetImagePath(m_markup->GetAttribute(L"stand"));
    return m_strLogoPath;
}
