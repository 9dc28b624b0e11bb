// CDialog: a modal dialog box from a dialog template. Its messages go through the same dispatch
// as any window's: an entry of its map works as it does in a window's.
#pragma once
#include <vector>

#include "Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    // Runs the box until it ends; the main window owns it when no parent was given.
    // Returns the code the box ended with, or -1 when it could not be made.
    INT_PTR DoModal();

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { ::EndDialog(m_hWnd, IDOK); }
    virtual void OnCancel() { ::EndDialog(m_hWnd, IDCANCEL); }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnInitDialogMsg(WPARAM wParam, LPARAM lParam);
    // The box moved to a monitor of another scale: its icons are loaded again at it (the dialog
    // manager scales the rest).
    LRESULT OnDpiChangedMsg(WPARAM wParam, LPARAM lParam);
    void ScaleIcons();
    // A box is a window of its own, drawn at the scale of its monitor, not its owner's.
    UINT GetDpi() const override { return layer::MonitorDpiOf(m_hWnd); }
    const MsgMap* GetMessageMap() const override;

private:
    // The dialog manager's own procedure for the box. The box's window procedure is the layer's,
    // which passes what its map leaves to the dialog manager, and the dialog manager here: nothing
    // more is left to do.
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    std::vector<HICON> m_scaledIcons;  // made for this showing of the box
};
