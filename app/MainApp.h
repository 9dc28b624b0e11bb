// The application object: start-up, and the About command.
#pragma once
#include "platform/win/WinApp.h"

class CMainApp : public CWinApp {
public:
    CMainApp() = default;
    BOOL InitInstance() override;

protected:
    void OnAppAbout();
    const MsgMap* GetMessageMap() const override;
};

extern CMainApp theApp;
