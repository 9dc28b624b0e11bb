// CDialog: a modal dialog box from a dialog template.
#pragma once
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

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};
