// The unlock panel. The typed password is the account's password, so every copy of it this code
// makes (the text read from the box, its ANSI bytes, the keyed text) is overwritten before its memory
// is given back.
#include "client/tools/UnLockWnd.h"

#include "client/GameWnd.h"
#include "client/MainFrame.h"
#include "foundation/Config.h"
#include "foundation/Md5.h"
#include "framework/MessageBox.h"

#include <string>

IMPLEMENT_DYNAMIC(CUnLockWnd, CSkinWnd2)

namespace {

// The most characters the password box takes.
const int kMaxPassword = 30;

void Wipe(std::string& bytes) {
    if (!bytes.empty()) SecureZeroMemory(&bytes[0], bytes.size());
}

void Wipe(CString& text) {
    if (!text.IsEmpty()) SecureZeroMemory(text.GetBuffer(), text.GetLength() * sizeof(wchar_t));
    text.Empty();
}

// MD5 hex of the text's bytes in the thread's ANSI code page, into digest (33 bytes).
void HashAnsi(const CString& text, char* digest) {
    std::string bytes = text.ToAnsi(CP_THREAD_ACP);
    Md5HexDigest(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()),
                 digest);
    Wipe(bytes);
}

// The box's text, at most kMaxPassword characters whatever was put into it.
CString ReadPassword(const CEdit& edit) {
    if (!edit.GetSafeHwnd()) return CString();
    wchar_t buffer[kMaxPassword + 1] = {};
    const int length = GetWindowTextW(edit, buffer, kMaxPassword + 1);
    CString text(buffer, length > 0 ? length : 0);
    SecureZeroMemory(buffer, sizeof(buffer));
    return text;
}

} // namespace

CUnLockWnd::CUnLockWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CUnLockWnd::~CUnLockWnd() {
    m_edit.DestroyWindow();
}

CString CUnLockWnd::UnlockDigest(const CString& password, const CString& pwKey) {
    char digest[33] = {};
    HashAnsi(password, digest);
    if (!pwKey.IsEmpty()) {
        // The whole key, however long it is.
        CString keyed = pwKey + CString::FromAnsi(digest, 32, CP_ACP);
        HashAnsi(keyed, digest);
        Wipe(keyed);
    }
    CString result = CString::FromAnsi(digest, 32, CP_ACP);
    SecureZeroMemory(digest, sizeof(digest));
    return result;
}

int CUnLockWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CSkinWnd2::OnCreate(cs) == -1) return -1;
    // Without its password box no password could ever lift the lock: such a panel is no panel at all.
    SkinRectInfo place;
    if (!GetRectInfo(L"editbox", place) ||
        !m_edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, place.rect, this,
                       IDC_UNLOCK_EDIT))
        return -1;
    m_edit.LimitText(kMaxPassword);
    // The edit box paints itself; our picture leaves its place alone.
    m_vecChildRects.push_back(CRect(place.rect));
    CSkinButton* ok = nullptr;
    if (FindButton(L"ok", &ok)) ok->m_bHandCursor = TRUE;
    m_bDraggable = FALSE;
    return 0;
}

BOOL CUnLockWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        // Posted, not sent: the check may show a message box or end the lock, and that runs best once
        // this key has been handled. The key itself goes on as usual.
        CSkinButton* ok = nullptr;
        if (FindButton(L"ok", &ok)) ok->PostMessage(BM_CLICK);
    }
    return CSkinWnd2::PreTranslateMessage(msg);
}

void CUnLockWnd::ShowSkinWnd(BOOL show) {
    if (show && m_edit.GetSafeHwnd()) m_edit.SetWindowText(L"");
    CSkinWnd2::ShowSkinWnd(show);
}

void CUnLockWnd::OnSkinBtnClick(const SkinButtonInfo& info) {
    if (info.name.CompareNoCase(L"ok") != 0) return;
    if (!g_pMainFrame) {
        ShowSkinWnd(FALSE);
        return;
    }
    CString typed = ReadPassword(m_edit);
    CString digest = UnlockDigest(typed, GetPwKey());
    Wipe(typed);
    // Without a known digest (empty) no password matches: the 32 digits never equal the empty text.
    const bool right = g_pMainFrame->GetUserPwd().CompareNoCase(digest) == 0;
    Wipe(digest);
    if (!right) {
        // Nothing after the box: its message loop may end the game and this panel with it.
        AfxShowMessageBox(nullptr, L"密码错误！", L"错误", MB_ICONERROR | MB_OK);
        return;
    }

    if (m_edit.GetSafeHwnd()) m_edit.SetWindowText(L"");
    // The game window is given back and the cover (this panel with it) hidden.
    g_pMainFrame->LockScreen(FALSE);
    ShowSkinWnd(FALSE);
}
