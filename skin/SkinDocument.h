// The loaded skin of the process: the valid skin folders beside the program, the one the configuration
// names, its parsed "skin.xml" and the lookups that turn its elements into records.
//
// Every lookup walks the document from the root with the reader's one cursor, so lookups must not
// interleave; they all run on the user-interface thread, one after the other.
#pragma once

#include "skin/SkinRecords.h"

#include <memory>
#include <vector>

class CMarkup;

class CSkinDocument {
public:
    CSkinDocument();
    ~CSkinDocument();
    CSkinDocument(const CSkinDocument&) = delete;
    CSkinDocument& operator=(const CSkinDocument&) = delete;

    // Lists the skin folders beside the program and loads the one the configuration names.
    BOOL Load();
    // The same with the program folder and the skin name given (Load passes GetModuleDir and
    // GetSkinDir).
    BOOL LoadFrom(const CString& programDir, const CString& skinName);

    // Fills dirs with the names of the sub-folders of folder that hold a loadable "skin.xml".
    void EnumSkinDirs(const CString& folder, std::vector<CString>& dirs) const;
    static BOOL IsSkinDir(const CString& folder);
    // Selects the first listed folder of that name (any letter case) and loads its "skin.xml".
    BOOL SelectSkin(const CString& name);

    BOOL IsLoaded() const { return m_bLoaded; }
    const std::vector<CString>& GetSkinDirs() const { return m_skinDirs; }
    int GetCurSkin() const { return m_nCurSkin; }
    // Program folder, "\skin\", the selected folder's name, a backslash and the value as written.
    CString GetImagePath(const CString& value) const;
    // Full path of the logo image (first IMG of the root, named "logo"), or empty.
    CString GetLogoPath();

    // Lookups. Each starts from the root; with no skin loaded or no such element they leave the
    // record's preset values or an empty vector.
    BOOL GetWndInfo(SkinWndInfo& info);
    BOOL GetButtons(const wchar_t* wndName, std::vector<SkinButtonInfo>& buttons);
    BOOL GetTexts(const wchar_t* wndName, std::vector<SkinTextInfo>& texts);
    BOOL GetRects(const wchar_t* wndName, std::vector<SkinRectInfo>& rects);
    BOOL GetImages(const wchar_t* wndName, std::vector<SkinImgInfo>& images);
    // TRUE when a FONT whose name equals font.name (any case) exists; fills size, style, family.
    BOOL GetFont(SkinFontSpec& font);
    // Colour attribute of the current element; an empty value leaves the field as it is.
    void GetColorAttrib(COLORREF& field, const wchar_t* attribute);

private:
    // Moves the cursor into the window element (enter = also descend into its children).
    bool EnterWindow(const wchar_t* wndName, bool enter);
    int GetIntAttrib(const wchar_t* attribute) const;
    CString GetTextAttrib(const wchar_t* attribute) const;
    CString GetAnchorAttrib(const wchar_t* attribute) const;

    std::vector<CString> m_skinDirs;
    int m_nCurSkin = -1;
    std::unique_ptr<CMarkup> m_markup;
    bool m_bLoaded = false; // m_markup holds a root element
    CString m_strLogoPath;
    CString m_strProgramDir;
};

// The process's skin document; set by the main frame once it has loaded, never cleared.
extern CSkinDocument* g_pSkinDocument;
