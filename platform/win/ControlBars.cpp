#include "ControlBars.h"

#include "LayerSizes.h"

#include <windowsx.h>

#include <cstdlib>
#include <vector>

namespace {
// At 96 DPI: the room for the gripper, and the room a button takes around its picture (the
// toolbar's own default, which it does not scale itself).
const int kGripperIndent = LAYER_GRIPPER_INDENT;
const SIZE kButtonPadding = {LAYER_BUTTON_PADDING_X, LAYER_BUTTON_PADDING_Y};
const WORD RT_TOOLBAR_ID = 241;

// The width and height of a bitmap resource, read from its header: no bitmap is made to know them.
bool BitmapSize(HINSTANCE inst, UINT id, LONG* width, LONG* height) {
    HRSRC found = ::FindResourceA(inst, MAKEINTRESOURCEA(id), RT_BITMAP);
    auto* header = found ? static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(inst, found))) : nullptr;
    if (!header || ::SizeofResource(inst, found) < sizeof(BITMAPINFOHEADER)) return false;
    *width = header->biWidth;
    *height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    return true;
}

}  // namespace

const MsgMap* CToolBar::GetMessageMap() const {
    using ThisClass = CToolBar;
    static const MsgMapEntry entries[] = {
        ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw),
        ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove),
        ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave),
        ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChangeMsg),
        ON_MESSAGE(WM_SETFONT, OnSetFontMsg),
    };
    MESSAGE_MAP(nullptr, entries);
}

LRESULT CToolBar::OnSetFontMsg(WPARAM, LPARAM) {
    // The control measures its buttons again for a new font; ours fit their pictures.
    LRESULT result = Default();
    ApplyScale();
    SendMessage(TB_AUTOSIZE);
    return result;
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, RECT, UINT id) {
    m_dwBarStyle = style & CBRS_ALL;
    DWORD wndStyle = (style & ~CBRS_ALL) | ctrlStyle | CCS_NODIVIDER | CCS_TOP;
    if (m_dwBarStyle & CBRS_TOOLTIPS) wndStyle |= TBSTYLE_TOOLTIPS;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr, wndStyle, 0, 0, 0, 0, parent->m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    ApplyScale();
    return TRUE;
}

void CToolBar::ApplyScale() {
    if (m_dwBarStyle & CBRS_GRIPPER) SendMessage(TB_SETINDENT, static_cast<WPARAM>(Scaled(kGripperIndent)));
    if (m_imageCount > 0)
        SendMessage(TB_SETBUTTONSIZE, 0,
                    MAKELPARAM(Scaled(m_designSize.cx + kButtonPadding.cx), Scaled(m_designSize.cy + kButtonPadding.cy)));
}

bool CToolBar::MakeImages() {
    HINSTANCE inst = AfxGetInstanceHandle();
    // The drawing nearest the scaled size, the smaller one where two are as near: a picture
    // drawn for its size, never one stretched.
    const int wanted = Scaled(m_designSize.cx);
    UINT best = 0;
    LONG bestWidth = 0, bestHeight = 0;
    for (UINT id : m_art) {
        LONG width, height;
        if (!BitmapSize(inst, id, &width, &height) || width % m_imageCount != 0) continue;
        width /= m_imageCount;
        if (!best || std::abs(width - wanted) < std::abs(bestWidth - wanted)) {
            best = id;
            bestWidth = width;
            bestHeight = height;
        }
    }
    if (!best) return false;
    // The pictures' greys, black and white become the system's button colours, so that a high
    // contrast scheme recolours them; the button face is their background.
    HBITMAP bitmap = ::CreateMappedBitmap(inst, static_cast<INT_PTR>(best), 0, nullptr, 0);
    if (!bitmap) return false;
    CImageList images;
    bool made = images.Create(bestWidth, bestHeight, ILC_COLOR24 | ILC_MASK, m_imageCount, 0) &&
                ImageList_AddMasked(images.m_hImageList, bitmap, ::GetSysColor(COLOR_BTNFACE)) >= 0;
    ::DeleteObject(bitmap);
    if (!made) return false;
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.m_hImageList));
    m_images.DeleteImageList();  // the toolbar holds the new ones now
    m_images.m_hImageList = images.Detach();
    return true;
}

void CToolBar::OnDpiChanged(UINT, UINT) {
    MakeImages();
    ApplyScale();
    SendMessage(TB_AUTOSIZE);
}

LRESULT CToolBar::OnSysColorChangeMsg(WPARAM, LPARAM) {
    MakeImages();
    return Default();
}

BOOL CToolBar::LoadToolBar(UINT resourceId, std::initializer_list<UINT> largerArt) {
    HINSTANCE inst = AfxGetInstanceHandle();
    HRSRC found = ::FindResourceA(inst, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(RT_TOOLBAR_ID));
    if (!found) return FALSE;
    HGLOBAL loaded = ::LoadResource(inst, found);
    auto* data = static_cast<const WORD*>(::LockResource(loaded));
    DWORD bytes = ::SizeofResource(inst, found);
    // version, image width, image height, item count, then one command id per item (0: separator)
    if (!data || bytes < 8 || data[0] != 1) return FALSE;
    WORD width = data[1], height = data[2], count = data[3];
    if (bytes < 8u + 2u * count) return FALSE;

    m_designSize = SIZE{width, height};
    m_imageCount = 0;
    for (WORD i = 0; i < count; ++i) m_imageCount += data[4 + i] != 0;
    if (m_imageCount == 0) return FALSE;
    m_art.assign(1, resourceId);
    m_art.insert(m_art.end(), largerArt.begin(), largerArt.end());
    if (!MakeImages()) return FALSE;
    ApplyScale();

    std::vector<TBBUTTON> buttons(count);
    int image = 0;
    for (WORD i = 0; i < count; ++i) {
        TBBUTTON& b = buttons[i];
        b.idCommand = data[4 + i];
        if (b.idCommand == 0) {
            b.fsStyle = TBSTYLE_SEP;
        } else {
            b.iBitmap = image++;
            b.fsStyle = TBSTYLE_BUTTON;
            b.fsState = TBSTATE_ENABLED;
        }
        b.iString = -1;
    }
    return SendMessage(TB_ADDBUTTONSA, count, reinterpret_cast<LPARAM>(buttons.data())) != 0;
}

int CToolBar::Layout() {
    SendMessage(TB_AUTOSIZE);
    RECT r;
    ::GetWindowRect(m_hWnd, &r);
    return r.bottom - r.top;
}

void CToolBar::UpdateButtons(CCmdTarget* route) {
    int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        if (!SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b)) || (b.fsStyle & TBSTYLE_SEP))
            continue;
        bool enabled = route->ProbeCommand(static_cast<UINT>(b.idCommand)).m_bEnabled;
        bool shown = SendMessage(TB_ISBUTTONENABLED, b.idCommand) != 0;
        if (enabled != shown) SendMessage(TB_ENABLEBUTTON, b.idCommand, MAKELONG(enabled, 0));
    }
}

void CToolBar::OnCustomDraw(NMHDR* nmh, LRESULT* result) {
    auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(nmh);
    *result = CDRF_DODEFAULT;
    if (!(m_dwBarStyle & CBRS_GRIPPER)) return;
    if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYPOSTPAINT;
    } else if (cd->nmcd.dwDrawStage == CDDS_POSTPAINT) {
        // The grip: a raised bar in the indent the buttons leave free.
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        RECT grip{Scaled(LAYER_GRIPPER_LEFT), client.top + Scaled(LAYER_GRIPPER_MARGIN), Scaled(LAYER_GRIPPER_RIGHT),
                  client.bottom - Scaled(LAYER_GRIPPER_MARGIN)};
        ::DrawEdge(cd->nmcd.hdc, &grip, BDR_RAISEDINNER, BF_RECT);
    }
}

// The control's hot item is no guide: it skips greyed buttons, so a prompt shown for one would
// never be taken back. The bar follows the mouse itself.
LRESULT CToolBar::OnMouseMove(WPARAM, LPARAM lParam) {
    if (m_dwBarStyle & CBRS_FLYBY) {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        int index = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
        TBBUTTON button{};
        UINT id = 0;
        if (index >= 0 && SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)) &&
            !(button.fsStyle & TBSTYLE_SEP))
            id = static_cast<UINT>(button.idCommand);
        ShowPrompt(id);
        if (!m_bTracking) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
            m_bTracking = ::TrackMouseEvent(&track) != FALSE;
        }
    }
    return Default();
}

LRESULT CToolBar::OnMouseLeave(WPARAM, LPARAM) {
    m_bTracking = false;
    ShowPrompt(0);
    return Default();
}

void CToolBar::ShowPrompt(UINT id) {
    ::SendMessageA(::GetParent(m_hWnd), WM_SETMESSAGESTRING, id ? id : AFX_IDS_IDLEMESSAGE, 0);
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    DWORD wndStyle = (style & ~CBRS_ALL) | SBARS_SIZEGRIP | CCS_BOTTOM;
    return CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, wndStyle, 0, 0, 0, 0, parent->m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
    if (count < 1 || count > 8) return FALSE;
    m_count = count;
    for (int i = 0; i < count; ++i) m_ids[i] = ids[i];
    MeasureIndicators();
    char idle[128] = "";
    ::LoadStringA(AfxGetInstanceHandle(), AFX_IDS_IDLEMESSAGE, idle, sizeof(idle));
    SetPaneText(0, idle);
    return TRUE;
}

const MsgMap* CStatusBar::GetMessageMap() const {
    using ThisClass = CStatusBar;
    static const MsgMapEntry entries[] = {
        ON_MESSAGE(WM_SETFONT, OnSetFontMsg),
    };
    MESSAGE_MAP(nullptr, entries);
}

LRESULT CStatusBar::OnSetFontMsg(WPARAM, LPARAM) {
    LRESULT result = Default();
    if (m_count) MeasureIndicators();
    return result;
}

void CStatusBar::MeasureIndicators() {
    HDC dc = ::GetDC(m_hWnd);
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    // Without a font of its own the bar draws in the system's status font.
    HFONT systemFont = nullptr;
    if (!font) {
        LOGFONTW face = layer::UiFontAt(layer::UiFont::Status, GetDpi());
        font = systemFont = ::CreateFontIndirectW(&face);
    }
    HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < m_count; ++i) {
        m_widths[i] = 0;
        char text[64] = "";
        if (m_ids[i] != ID_SEPARATOR && ::LoadStringA(AfxGetInstanceHandle(), m_ids[i], text, sizeof(text))) {
            SIZE extent{};
            ::GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
            m_widths[i] = extent.cx + Scaled(LAYER_INDICATOR_MARGIN);
        }
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    if (systemFont) ::DeleteObject(systemFont);
    RECT r;
    ::GetClientRect(m_hWnd, &r);
    SetParts(r.right - r.left);
}

void CStatusBar::SetParts(int width) {
    if (m_count == 0) return;
    // Right edges; pane 0 stretches, the indicators keep their widths at the right,
    // clear of the size grip.
    int edges[8];
    int right = width - layer::SystemMetricForDpi(SM_CXVSCROLL, GetDpi());
    for (int i = m_count - 1; i > 0; --i) {
        edges[i] = i == m_count - 1 ? -1 : right;
        right -= m_widths[i];
    }
    edges[0] = m_count == 1 ? -1 : (right > 0 ? right : 0);
    SendMessage(SB_SETPARTS, m_count, reinterpret_cast<LPARAM>(edges));
}

std::string CStatusBar::GetPaneText(int index) const {
    // The length is in characters on Windows and in bytes in Wine, and the bar copies without a
    // limit: room for the longest a character can take in any ANSI code page (UTF-8's four bytes
    // for a surrogate pair of two characters; GBK's two).
    size_t length = LOWORD(SendMessage(SB_GETTEXTLENGTHA, static_cast<WPARAM>(index)));
    std::vector<char> text(4 * length + 4, '\0');
    SendMessage(SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.back() = '\0';
    return text.data();
}

BOOL CStatusBar::SetPaneText(int index, LPCSTR text) {
    if (text && GetPaneText(index) == text) return TRUE;  // unchanged: no flicker
    return SendMessage(SB_SETTEXTA, index, reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}

int CStatusBar::Layout(int width) {
    SendMessage(WM_SIZE, 0, 0);  // the bar places itself at the bottom of its parent
    SetParts(width);
    RECT r;
    ::GetWindowRect(m_hWnd, &r);
    return r.bottom - r.top;
}

void CStatusBar::UpdateIndicators() {
    for (int i = 1; i < m_count; ++i) {
        int key = m_ids[i] == ID_INDICATOR_CAPS ? VK_CAPITAL
                : m_ids[i] == ID_INDICATOR_NUM  ? VK_NUMLOCK
                : m_ids[i] == ID_INDICATOR_SCRL ? VK_SCROLL
                                                : 0;
        if (!key) continue;
        char text[64] = "";
        if (::GetKeyState(key) & 1) ::LoadStringA(AfxGetInstanceHandle(), m_ids[i], text, sizeof(text));
        SetPaneText(i, text);
    }
}
