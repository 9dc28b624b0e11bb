#include "Dialog.h"

#include "WinApp.h"

const MsgMap* CDialog::GetMessageMap() const {
    using ThisClass = CDialog;
    static const MsgMapEntry entries[] = {
        ON_MESSAGE(WM_INITDIALOG, OnInitDialogMsg),
        ON_MESSAGE(WM_DPICHANGED, OnDpiChangedMsg),
    };
    MESSAGE_MAP(nullptr, entries);
}

INT_PTR CDialog::DoModal() {
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    // The box is bound to this object when it is made, like any window of the layer.
    INT_PTR result;
    {
        layer::CreationHook hook(this);
        if (!hook.Installed()) return -1;
        result = ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                   owner ? owner->m_hWnd : nullptr, DialogProc, 0);
    }
    for (HICON icon : m_scaledIcons) ::DestroyIcon(icon);
    m_scaledIcons.clear();
    return result;
}

LRESULT CDialog::OnInitDialogMsg(WPARAM, LPARAM) {
    ScaleIcons();
    CenterWindow();
    return OnInitDialog();
}

LRESULT CDialog::OnDpiChangedMsg(WPARAM, LPARAM) {
    LRESULT result = Default();
    ScaleIcons();
    return result;
}

void CDialog::ScaleIcons() {
    // The dialog manager loads a template's icons at the size of the system's scale; the box is
    // drawn at its window's. Each is loaded again from its resource at that size.
    const int size = layer::SystemMetricForDpi(SM_CXICON, GetDpi());
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
        HICON icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        ICONINFO info{};
        if (!icon || !::GetIconInfo(icon, &info)) continue;
        BITMAP bitmap{};
        ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        if (info.hbmMask) ::DeleteObject(info.hbmMask);
        if (bitmap.bmWidth == size) continue;
        HICON scaled = static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE));
        if (!scaled) continue;
        m_scaledIcons.push_back(scaled);
        ::SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(scaled), 0);
    }
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
