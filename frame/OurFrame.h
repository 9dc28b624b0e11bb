// The main window: toolbar, status bar, and two splitters holding the three panes.
#pragma once
#include "platform/win/ControlBars.h"
#include "platform/win/FrameWnd.h"
#include "platform/win/SplitterWnd.h"

class CPanelLeft;
class CPanelRTop;
class CPanelRight;

class COurFrame : public CFrameWnd {
public:
    static const CRuntimeClass classInfo;

    COurFrame() = default;

    // The panes, owned by their splitters; valid while the frame's window exists.
    CPanelRTop* m_pPanelRTop = nullptr;
    CPanelRight* m_pPanelRight = nullptr;
    CPanelLeft* m_pPanelLeft = nullptr;

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CSplitterWnd m_wndSplitter;
    CSplitterWnd m_wndSplitterRight;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) override;
    int OnCreate(LPCREATESTRUCTA cs);
    void OnRefresh();
    void OnStopProcess();
    void OnRebuildIconCache();
    void OnPortList();
    const MsgMap* GetMessageMap() const override;
};
