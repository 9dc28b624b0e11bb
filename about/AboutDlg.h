// The About box.
#pragma once
#include "platform/win/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    void OnWebLink();
    const MsgMap* GetMessageMap() const override;
};
