#include "client/tools/UpdateWnd.h"

#include "client/ClientMessages.h"
#include "client/GameWnd.h"
#include "client/MainFrame.h"
#include "foundation/DownloadThread.h"
#include "foundation/UrlHelpers.h"

IMPLEMENT_DYNAMIC(CUpdateWnd, CSkinWnd2)

CUpdateWnd::CUpdateWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CUpdateWnd::~CUpdateWnd() = default;

void CUpdateWnd::SetUpdateInfo(BOOL newVersion, const wchar_t* url) {
    m_bNewVersion = newVersion;
    m_strUrl = url ? url : L"";
}

int CUpdateWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CSkinWnd2::OnCreate(cs) == -1) return -1;
    if (IsOffer()) {
        SetSkinText(L"text2", L"");
        ShowButton(L"ok1", SW_HIDE);
    } else {
        SetSkinText(L"text1", L"");
        ShowButton(L"cancel", SW_HIDE);
        ShowButton(L"ok", SW_HIDE);
    }
    return 0;
}

void CUpdateWnd::OnSkinBtnClick(const SkinButtonInfo& info) {
    if (info.name.CompareNoCase(L"ok") == 0 && IsOffer() && g_pMainFrame) {
        // A copy gets the cache-buster, so the stored address never carries more than one.
        CString url(m_strUrl);
        AppendTimeStamp(url);
        g_pMainFrame->AddDownloadTask(url, WM_UPDATE_DOWNLOADED);
        if (g_pMainFrame->m_pDownloadThread) g_pMainFrame->m_pDownloadThread->Wake();
    }
    CGameWnd::CloseToolWnd(*this);
}
