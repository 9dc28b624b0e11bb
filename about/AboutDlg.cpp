#include "about/AboutDlg.h"

#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

const MsgMap* CAboutDlg::GetMessageMap() const {
    using ThisClass = CAboutDlg;
    static const MsgMapEntry entries[] = {
        ON_BN_CLICKED(IDC_WEB_LINK, OnWebLink),
    };
    MESSAGE_MAP(nullptr, entries);
}

void CAboutDlg::OnWebLink() {}
