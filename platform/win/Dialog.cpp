#include "Dialog.h"

#include "WinApp.h"

INT_PTR CDialog::DoModal() {
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    return ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                             owner ? owner->m_hWnd : nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam)) return TRUE;
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
        case IDOK: OnOK(); return TRUE;
        case IDCANCEL: OnCancel(); return TRUE;
        default: return FALSE;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* dlg = reinterpret_cast<CDialog*>(lParam);
        AfxBind(hwnd, dlg, false);
        dlg->CenterWindow();
        return dlg->OnInitDialog();
    }
    auto* dlg = static_cast<CDialog*>(CWnd::FromHandlePermanent(hwnd));
    if (!dlg) return FALSE;
    if (msg == WM_NCDESTROY) {
        AfxUnbind(hwnd);
        return FALSE;
    }
    if (msg == WM_COMMAND) return dlg->OnCommand(wParam, lParam);
    return FALSE;
}
