// CSplitterWnd: a static grid of panes with draggable bars between them.
#pragma once
#include "FrameWnd.h"
#include "LayerSizes.h"

class CView;

class CSplitterWnd : public CWnd {
public:
    static const int kMaxPanes = 4;
    static const int kBarWidth = LAYER_SPLITTER_BAR;  // at 96 DPI

    BOOL CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id);
    // Makes a pane of the given class; its size (at 96 DPI) is the ideal width of its column and
    // the ideal height of its row.
    BOOL CreateView(int row, int col, const CRuntimeClass* viewClass, SIZE size,
                    CCreateContext* context);
    int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    CWnd* GetPane(int row, int col) const;
    // Moves the activation to the next (or previous) pane, wrapping; a nested splitter hands it
    // to its own first (or last) pane.
    void ActivateNext(CWnd* current, bool previous);
    // Adds the views to the list in reading order, row by row, a nested splitter's in its place;
    // at most `max` in all.
    void AppendViews(CView** views, int& count, int max) const;
    void RecalcLayout();
    // The bar's width at the splitter's scale.
    int BarWidth() const { return Scaled(kBarWidth); }
    // The user's positions kept in proportion.
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

protected:
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnForwardNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnForwardCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    const MsgMap* GetMessageMap() const override;

private:
    void ActivatePane(CWnd* pane, bool last);
    // Which bar lies under a client point: column bars are 0.., row bars are 16..; -1 for none.
    int HitTestBar(POINT pt) const;
    void Positions(int* colPos, int* colSize, int* rowPos, int* rowSize) const;
    void EndDrag(bool keep);

    int m_nRows = 0, m_nCols = 0;
    int m_colIdeal[kMaxPanes] = {}, m_rowIdeal[kMaxPanes] = {};  // in pixels at the current scale
    int m_trackBar = -1;      // the bar being dragged
    int m_trackSaved = 0;     // its pane's ideal size before the drag, for Esc
    int m_trackGrip = 0;      // where in the bar it was taken: the bar moves with that point
    HWND m_trackFocus = nullptr;
};
