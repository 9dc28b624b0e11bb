#include "SplitterWnd.h"

#include <windowsx.h>

#include "SplitterLayout.h"
#include "View.h"

const MsgMap* CSplitterWnd::GetMessageMap() const {
    using ThisClass = CSplitterWnd;
    static const MsgMapEntry entries[] = {
        ON_WM_SIZE(),
        // Notifications and commands of the panes belong to the frame: never swallow them.
        ON_MESSAGE(WM_NOTIFY, OnForwardNotify),
        ON_MESSAGE(WM_COMMAND, OnForwardCommand),
        ON_MESSAGE(WM_SETCURSOR, OnSetCursor),
        ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown),
        ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove),
        ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp),
        ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged),
        ON_MESSAGE(WM_KEYDOWN, OnKeyDown),
    };
    MESSAGE_MAP(nullptr, entries);
}

BOOL CSplitterWnd::CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id) {
    if (rows < 1 || cols < 1 || rows > kMaxPanes || cols > kMaxPanes) return FALSE;
    m_nRows = rows;
    m_nCols = cols;
    LPCSTR cls = AfxRegisterWndClass("LayerSplitterWnd", CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    RECT r{};
    ::GetClientRect(parent->m_hWnd, &r);
    if (!CreateEx(0, cls, nullptr, style | WS_CLIPCHILDREN, 0, 0, r.right, r.bottom, parent->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return FALSE;
    // A splitter nested in another's pane is placed by that splitter.
    if (auto* outer = dynamic_cast<CSplitterWnd*>(parent)) outer->RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int col, const CRuntimeClass* viewClass, SIZE size,
                              CCreateContext*) {
    if (row < 0 || col < 0 || row >= m_nRows || col >= m_nCols || !viewClass) return FALSE;
    CWnd* object = viewClass->CreateObject();
    auto* view = dynamic_cast<CView*>(object);
    if (!view) {
        delete object;
        return FALSE;
    }
    m_colIdeal[col] = Scaled(size.cx);
    m_rowIdeal[row] = Scaled(size.cy);
    // Made where the layout puts it: a list or tree resized later lays itself out again.
    int colPos[kMaxPanes], colSize[kMaxPanes], rowPos[kMaxPanes], rowSize[kMaxPanes];
    Positions(colPos, colSize, rowPos, rowSize);
    RECT r{colPos[col], rowPos[row], colPos[col] + colSize[col], rowPos[row] + rowSize[row]};
    // A view that fails to be made has deleted itself: it is not looked at again.
    if (!view->Create(m_hWnd, static_cast<UINT>(IdFromRowCol(row, col)), r)) return FALSE;
    RecalcLayout();
    return TRUE;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
    return FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(row, col)));
}

void CSplitterWnd::Positions(int* colPos, int* colSize, int* rowPos, int* rowSize) const {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    LayoutSplitterPanes(client.right, BarWidth(), m_colIdeal, m_nCols, colSize);
    LayoutSplitterPanes(client.bottom, BarWidth(), m_rowIdeal, m_nRows, rowSize);
    for (int c = 0, x = 0; c < m_nCols; x += colSize[c] + BarWidth(), ++c) colPos[c] = x;
    for (int r = 0, y = 0; r < m_nRows; y += rowSize[r] + BarWidth(), ++r) rowPos[r] = y;
}

void CSplitterWnd::RecalcLayout() {
    if (!m_hWnd) return;
    int colPos[kMaxPanes], colSize[kMaxPanes], rowPos[kMaxPanes], rowSize[kMaxPanes];
    Positions(colPos, colSize, rowPos, rowSize);
    for (int r = 0; r < m_nRows; ++r) {
        for (int c = 0; c < m_nCols; ++c) {
            if (HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(r, c)))
                layer::RepositionWindow(pane, colPos[c], rowPos[r], colSize[c], rowSize[r]);
        }
    }
    layer::RepaintAll(m_hWnd);
}

void CSplitterWnd::OnSize(UINT, int, int) { RecalcLayout(); }

void CSplitterWnd::OnDpiChanged(UINT oldDpi, UINT newDpi) {
    for (int* ideal : {m_colIdeal, m_rowIdeal})
        for (int i = 0; i < kMaxPanes; ++i) ideal[i] = ::MulDiv(ideal[i], static_cast<int>(newDpi), static_cast<int>(oldDpi));
}

LRESULT CSplitterWnd::OnForwardNotify(WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(::GetParent(m_hWnd), WM_NOTIFY, wParam, lParam);
}

LRESULT CSplitterWnd::OnForwardCommand(WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, wParam, lParam);
}

void CSplitterWnd::ActivatePane(CWnd* pane, bool last) {
    if (auto* nested = dynamic_cast<CSplitterWnd*>(pane)) {
        int r = last ? nested->m_nRows - 1 : 0, c = last ? nested->m_nCols - 1 : 0;
        nested->ActivatePane(nested->GetPane(r, c), last);
        return;
    }
    auto* view = dynamic_cast<CView*>(pane);
    if (!view) return;
    if (CFrameWnd* frame = view->GetParentFrame())
        frame->SetActiveView(view);
    else
        ::SetFocus(view->m_hWnd);
}

void CSplitterWnd::ActivateNext(CWnd* current, bool previous) {
    int id = ::GetDlgCtrlID(current->m_hWnd) - AFX_IDW_PANE_FIRST;
    int count = m_nRows * m_nCols;
    int index = (id / 16) * m_nCols + id % 16;
    if (id < 0 || index >= count) return;
    index = (index + (previous ? count - 1 : 1)) % count;
    ActivatePane(GetPane(index / m_nCols, index % m_nCols), previous);
}

void CSplitterWnd::AppendViews(CView** views, int& count, int max) const {
    for (int r = 0; r < m_nRows; ++r) {
        for (int c = 0; c < m_nCols; ++c) {
            CWnd* pane = GetPane(r, c);
            if (auto* nested = dynamic_cast<CSplitterWnd*>(pane))
                nested->AppendViews(views, count, max);
            else if (auto* view = dynamic_cast<CView*>(pane); view && count < max)
                views[count++] = view;
        }
    }
}

int CSplitterWnd::HitTestBar(POINT pt) const {
    int colPos[kMaxPanes], colSize[kMaxPanes], rowPos[kMaxPanes], rowSize[kMaxPanes];
    Positions(colPos, colSize, rowPos, rowSize);
    for (int c = 0; c + 1 < m_nCols; ++c) {
        int start = colPos[c] + colSize[c];
        if (pt.x >= start && pt.x < start + BarWidth()) return c;
    }
    for (int r = 0; r + 1 < m_nRows; ++r) {
        int start = rowPos[r] + rowSize[r];
        if (pt.y >= start && pt.y < start + BarWidth()) return 16 + r;
    }
    return -1;
}

LRESULT CSplitterWnd::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) == m_hWnd && LOWORD(lParam) == HTCLIENT) {
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        int bar = m_trackBar >= 0 ? m_trackBar : HitTestBar(pt);
        if (bar >= 0) {
            ::SetCursor(::LoadCursor(nullptr, bar >= 16 ? IDC_SIZENS : IDC_SIZEWE));
            return TRUE;
        }
    }
    return Default();
}

LRESULT CSplitterWnd::OnLButtonDown(WPARAM, LPARAM lParam) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int bar = HitTestBar(pt);
    if (bar < 0) return 0;
    int colPos[kMaxPanes], colSize[kMaxPanes], rowPos[kMaxPanes], rowSize[kMaxPanes];
    Positions(colPos, colSize, rowPos, rowSize);
    m_trackBar = bar;
    m_trackSaved = bar >= 16 ? m_rowIdeal[bar - 16] : m_colIdeal[bar];
    m_trackGrip = bar >= 16 ? pt.y - (rowPos[bar - 16] + rowSize[bar - 16]) : pt.x - (colPos[bar] + colSize[bar]);
    m_trackFocus = ::SetFocus(m_hWnd);  // so that Esc reaches the splitter during the drag
    ::SetCapture(m_hWnd);
    return 0;
}

LRESULT CSplitterWnd::OnMouseMove(WPARAM, LPARAM lParam) {
    if (m_trackBar < 0) return 0;
    int colPos[kMaxPanes], colSize[kMaxPanes], rowPos[kMaxPanes], rowSize[kMaxPanes];
    Positions(colPos, colSize, rowPos, rowSize);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (m_trackBar >= 16) {
        int r = m_trackBar - 16;
        m_rowIdeal[r] = ClampSplitterDrag(GET_Y_LPARAM(lParam) - m_trackGrip - rowPos[r],
                                          client.bottom - rowPos[r] - BarWidth());
    } else {
        int c = m_trackBar;
        m_colIdeal[c] = ClampSplitterDrag(GET_X_LPARAM(lParam) - m_trackGrip - colPos[c],
                                          client.right - colPos[c] - BarWidth());
    }
    RecalcLayout();
    return 0;
}

void CSplitterWnd::EndDrag(bool keep) {
    if (m_trackBar < 0) return;
    int bar = m_trackBar;
    m_trackBar = -1;
    if (!keep) {
        if (bar >= 16)
            m_rowIdeal[bar - 16] = m_trackSaved;
        else
            m_colIdeal[bar] = m_trackSaved;
        RecalcLayout();
    }
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (m_trackFocus && ::IsWindow(m_trackFocus)) ::SetFocus(m_trackFocus);
    m_trackFocus = nullptr;
}

LRESULT CSplitterWnd::OnLButtonUp(WPARAM, LPARAM) {
    EndDrag(true);
    return 0;
}

LRESULT CSplitterWnd::OnCaptureChanged(WPARAM, LPARAM) {
    EndDrag(true);
    return 0;
}

LRESULT CSplitterWnd::OnKeyDown(WPARAM wParam, LPARAM) {
    if (wParam == VK_ESCAPE) EndDrag(false);
    return 0;
}
