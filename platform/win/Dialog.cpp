#include "Dialog.h"

#include "WinApp.h"

const MsgMap* CDialog::GetMessageMap() const {
    using ThisClass = CDialog;
    static const MsgMapEntry entries[] = {
        ON_MESSAGE(WM_INITDIALOG, OnInitDialogMsg),
    };
    MESSAGE_MAP(nullptr, entries);
}

INT_PTR CDialog::DoModal() {
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    // The box is bound to this object when it is made, like any window of the layer.
    layer::CreationHook hook(this);
    if (!hook.Installed()) return -1;
    return ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                             owner ? owner->m_hWnd : nullptr, DialogProc, 0);
}

LRESULT CDialog::OnInitDialogMsg(WPARAM, LPARAM) {
    CenterWindow();
    return OnInitDialog();
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
