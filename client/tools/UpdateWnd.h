// CUpdateWnd: "UPDATEWND" answers a version check asked for from the game window: it offers the new
// version ("text1", "ok", "cancel") or says there is none ("text2", "ok1"). "ok" queues the installer.
#pragma once

#include "skin/SkinWnd2.h"

class CUpdateWnd : public CSkinWnd2 {
    DECLARE_DYNAMIC(CUpdateWnd)
public:
    explicit CUpdateWnd(const wchar_t* skinName);
    ~CUpdateWnd() override;

    // Called once, before the window is created.
    void SetUpdateInfo(BOOL newVersion, const wchar_t* url);
    void OnSkinBtnClick(const SkinButtonInfo& info) override;
    // TRUE when the window offers an update.
    BOOL IsOffer() const { return m_bNewVersion && !m_strUrl.IsEmpty(); }

    BOOL m_bNewVersion = FALSE;
    CString m_strUrl;

protected:
    int OnCreate(LPCREATESTRUCTW cs) override;
};
