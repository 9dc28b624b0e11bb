#include "frame/OurFrame.h"

#include "frame/Design.h"

#include "panes/PanelLeft.h"
#include "panes/PanelRTop.h"
#include "panes/PanelRight.h"
#include "app/StartupTrace.h"
#include "res/resource.h"

const CRuntimeClass COurFrame::classInfo = {"COurFrame", &CreateWndObject<COurFrame>, nullptr};

namespace {
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
const SIZE kPaneSize = {DESIGN_PANE_WIDTH, DESIGN_PANE_HEIGHT};
}  // namespace

const MsgMap* COurFrame::GetMessageMap() const {
    using ThisClass = COurFrame;
    static const MsgMapEntry entries[] = {
        ON_WM_CREATE(),
        ON_COMMAND(ID_REFRESH, OnRefresh),
        ON_COMMAND(ID_STOP_PROCESS, OnStopProcess),
        ON_COMMAND(ID_REBUILD_ICON_CACHE, OnRebuildIconCache),
        ON_COMMAND(ID_PORT_LIST, OnPortList),
    };
    MESSAGE_MAP(CFrameWnd::GetMessageMap(), entries);
}

BOOL COurFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.cx = DESIGN_FRAME_WIDTH;
    cs.cy = DESIGN_FRAME_HEIGHT;
    return CFrameWnd::PreCreateWindow(cs);
}

int COurFrame::OnCreate(LPCREATESTRUCTA cs) {
    StartupMark("frame and menus");
    // The panes (and with them the filled process tree) come first, the bars after them.
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                   CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                               RECT{0, 0, 0, 0}, AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME, {IDB_TOOLBAR_20, IDB_TOOLBAR_24, IDB_TOOLBAR_32}))
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, sizeof(kIndicators) / sizeof(kIndicators[0])))
        return -1;
    StartupMark("bars");
    return 0;
}

BOOL COurFrame::OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) {
    // A part that can't be made fails the frame's creation: every command of the frame and the
    // panes relies on all three panes being there.
    if (!m_wndSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST) ||
        !m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CPanelLeft), kPaneSize, context))
        return FALSE;
    StartupMark("tree pane");
    if (!m_wndSplitterRight.CreateStatic(&m_wndSplitter, 2, 1, WS_CHILD | WS_VISIBLE,
                                         static_cast<UINT>(m_wndSplitter.IdFromRowCol(0, 1))) ||
        !m_wndSplitterRight.CreateView(0, 0, RUNTIME_CLASS(CPanelRTop), kPaneSize, context))
        return FALSE;
    StartupMark("properties pane");
    if (!m_wndSplitterRight.CreateView(1, 0, RUNTIME_CLASS(CPanelRight), kPaneSize, context)) return FALSE;
    StartupMark("module list pane");
    m_pPanelLeft = static_cast<CPanelLeft*>(m_wndSplitter.GetPane(0, 0));
    m_pPanelRTop = static_cast<CPanelRTop*>(m_wndSplitterRight.GetPane(0, 0));
    m_pPanelRight = static_cast<CPanelRight*>(m_wndSplitterRight.GetPane(1, 0));
    if (!m_pPanelLeft || !m_pPanelRTop || !m_pPanelRight) return FALSE;
    SetActiveView(m_pPanelLeft, FALSE);  // keys go to the process tree until another pane is chosen
    return CFrameWnd::OnCreateClient(cs, context);
}

void COurFrame::OnRefresh() { m_pPanelLeft->RefreshProcessList(); }

void COurFrame::OnStopProcess() { m_pPanelLeft->StopSelectedProcess(); }
