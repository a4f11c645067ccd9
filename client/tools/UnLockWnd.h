// CUnLockWnd: "UNLOCKWND", the unlock panel inside the lock window: a password box and "ok". The typed
// password is hashed (with the configured key when there is one) and compared with the account's
// password digest; only the right one releases the game window.
#pragma once

#include "framework/Controls.h"
#include "skin/SkinWnd2.h"

constexpr UINT IDC_UNLOCK_EDIT = 1002;

class CUnLockWnd : public CSkinWnd2 {
    DECLARE_DYNAMIC(CUnLockWnd)
public:
    explicit CUnLockWnd(const wchar_t* skinName);
    ~CUnLockWnd() override;

    BOOL PreTranslateMessage(MSG* msg) override;
    void ShowSkinWnd(BOOL show) override;
    void OnSkinBtnClick(const SkinButtonInfo& info) override;

    // The digest the typed password must give: MD5 hex of the password, or of pwKey followed by that,
    // each in the thread's ANSI code page.
    static CString UnlockDigest(const CString& password, const CString& pwKey);

    CEdit m_edit;

protected:
    int OnCreate(LPCREATESTRUCTW cs) override;
};
