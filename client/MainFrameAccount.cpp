// The account replies: the user-info reply that a browser view fetched after a login or a game page,
// and the signed request that follows it. Both run synchronously on the user-interface thread.
//
// Not re-entrant on purpose: the game window's reaction to a new user can navigate a browser view
// whose BeforeNavigate2 arrives synchronously and, for a login address, fetches the user-info reply
// again; that nested reply is dropped instead of recursing.
#include "client/MainFrame.h"

#include "client/AccountReply.h"
#include "client/GameWnd.h"
#include "foundation/Config.h"
#include "foundation/UserInfo.h"

void CMainFrame::OnLoginReply(const wchar_t* reply, CIEView* source) {
    if (m_bInLoginReply || !reply || !*reply) return;
    AccountReply account;
    if (!ParseLoginReply(reply, g_strServerId, account)) return;

    m_bInLoginReply = TRUE;
    m_strUserName = account.strUserName;
    if (account.logoutUrl) m_strLogoutUrl = *account.logoutUrl;
    if (account.gsUrl) m_strGsUrl = *account.gsUrl;
    m_servers = std::move(account.servers);
    if (account.curServerName) m_strCurServerName = *account.curServerName;

    m_pReplySource = source;
    if (m_pGameWnd) m_pGameWnd->OnUserLogin(m_strUserName);
    m_pReplySource = nullptr;

    CString userPwd;
    if (RequestUserPwd(GetUserInfoApi(), GetPwKey(), m_strUserName, userPwd)) m_strUserPwd = userPwd;
    m_bInLoginReply = FALSE;
}
