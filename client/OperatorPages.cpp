#include "client/OperatorPages.h"

#include "client/MainFrame.h"
#include "foundation/Config.h"
#include "foundation/ShellHelpers.h"

BOOL OpenOperatorPage(const CString& buttonName) {
    if (buttonName.CompareNoCase(L"home") == 0) {
        OpenInDefaultBrowser(GetGwUrl());
    } else if (buttonName.CompareNoCase(L"bbs") == 0) {
        OpenInDefaultBrowser(GetBbsUrl());
    } else if (buttonName.CompareNoCase(L"pay") == 0) {
        // No reply gives the client a payment page of its own yet; the configured one stands in.
        const CString pay = g_pMainFrame ? g_pMainFrame->GetPayUrl() : CString();
        OpenInDefaultBrowser(pay.IsEmpty() ? GetPaymentUrl() : pay);
    } else {
        return FALSE;
    }
    return TRUE;
}
