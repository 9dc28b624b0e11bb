#include "about/AboutDlg.h"

#include "platform/seams/Seams.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

const MsgMap* CAboutDlg::GetMessageMap() const {
    using ThisClass = CAboutDlg;
    static const MsgMapEntry entries[] = {
        ON_BN_CLICKED(IDC_WEB_LINK, OnWebLink),
    };
    MESSAGE_MAP(CDialog::GetMessageMap(), entries);
}

void CAboutDlg::OnWebLink() {
    // The button shows the address it opens; reading it back keeps the two from drifting apart.
    char address[256] = "";
    ::GetDlgItemTextA(m_hWnd, IDC_WEB_LINK, address, sizeof(address));
    // Failure (no browser, no association) is left to the shell; the box stays as it is.
    g_seams.shellExecute(nullptr, "open", address, "", "", SW_SHOW);
}
