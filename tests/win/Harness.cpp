#include "Harness.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <functional>
#include <set>

#include "app/MainApp.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRTop.h"
#include "panes/PanelRight.h"
#include "platform/seams/Seams.h"
#include "platform/win/Dpi.h"
#include "res/resource.h"

namespace {

BoxAnswerer* g_answerer = nullptr;

struct HarnessCode {
    HarnessCode() { if (g_harnessCode) g_harnessCode(true); }
    ~HarnessCode() { if (g_harnessCode) g_harnessCode(false); }
};

// Reads a box as the user sees it, and presses the button given (0: none).
BoxRecord ReadBox(HWND box) {
    BoxRecord record;
    char text[2048] = "";
    ::GetWindowTextA(box, text, sizeof(text));
    record.caption = text;
    text[0] = '\0';
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));  // a message box's message
    record.text = text;
    record.hasOk = ::GetDlgItem(box, IDOK) != nullptr;
    record.hasCancel = ::GetDlgItem(box, IDCANCEL) != nullptr;
    // The icon control: id 20 on Windows, 1088 in Wine's template.
    HWND icon = ::GetDlgItem(box, 0x14);
    if (!icon) icon = ::GetDlgItem(box, 1088);
    if (icon) {
        HICON shown = reinterpret_cast<HICON>(::SendMessageA(icon, STM_GETICON, 0, 0));
        record.exclamation = shown && shown == ::LoadIcon(nullptr, IDI_EXCLAMATION);
    }
    return record;
}

void Press(HWND box, int button) {
    if (button)
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
}

// Every dialog box that becomes active on the test thread passes here, once.
LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HarnessCode harness;
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        char cls[32] = "";
        ::GetClassNameA(hwnd, cls, sizeof(cls));
        if (strcmp(cls, "#32770") == 0 && !::GetPropA(hwnd, "Tessilor.TestSeen")) {
            ::SetPropA(hwnd, "Tessilor.TestSeen", reinterpret_cast<HANDLE>(1));
            if (g_answerer) {
                g_answerer->OnActivate(hwnd);
            } else {
                BoxRecord record = ReadBox(hwnd);
                ADD_FAILURE() << "unexpected box \"" << record.caption << "\": " << record.text;
                Press(hwnd, record.hasCancel ? IDCANCEL : IDOK);
            }
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Wine's heap checks (turned on for the test executables by the test runner) look at a freed
// block only when something validates the heap. Every heap of the process is validated after
// each test and at exit; Wine reports what it finds as err:heap on the standard error.
bool HeapsValid() {
    HANDLE heaps[256];
    DWORD count = ::GetProcessHeaps(256, heaps);
    bool valid = true;
    for (DWORD i = 0; i < count && i < 256; ++i) valid &= ::HeapValidate(heaps[i], 0, nullptr) != FALSE;
    return valid;
}

class HeapCheck : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        if (m_reported || HeapsValid()) return;
        m_reported = true;  // the damage stays: report it once, with the test that made it
        ADD_FAILURE() << "the heap was damaged during this test (a write into a freed or overrun block)";
    }
    bool m_reported = false;
};

// Made before any other static object of the test program and destroyed after all of them, so
// that what the program's own objects do at exit is checked too.
struct ExitHeapCheck {
    ~ExitHeapCheck() {
        if (!HeapsValid()) std::fprintf(stderr, "the heap was damaged at exit\n");
    }
} g_exitHeapCheck __attribute__((init_priority(101)));

}  // namespace

void (*g_harnessCode)(bool entering) = nullptr;

namespace {
World WorldNamed(const char* name) {
    if (name && !strcmp(name, "windows")) return World::kWindows;
    if (name && !strcmp(name, "standard-user")) return World::kStandardUser;
    return World::kWine;
}
}  // namespace

const World g_world = WorldNamed(std::getenv("TESSILOR_WORLD"));

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Appended after the printer, the check hears of a test's end before it: gtest tells the
    // end of a test to its listeners in reverse order, so a test the check fails shows as failed.
    ::testing::UnitTest::GetInstance()->listeners().Append(new HeapCheck);
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, BoxHook, nullptr, ::GetCurrentThreadId());
    int result = RUN_ALL_TESTS();
    ::UnhookWindowsHookEx(hook);
    return result;
}

COurFrame* StartMainFrame() {
    static bool initialised = false;
    if (!initialised) {
        theApp.InitApplication(::GetModuleHandleA(nullptr));
        initialised = true;
    }
    if (!theApp.InitInstance()) return nullptr;
    Pump();
    return static_cast<COurFrame*>(AfxGetMainWnd());
}

void CloseMainFrame() {
    if (CWnd* main = AfxGetMainWnd()) ::DestroyWindow(main->m_hWnd);
    Pump();
}

bool Pump(DWORD milliseconds) {
    bool quit = false;
    DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                continue;
            }
            if (!theApp.PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        if (milliseconds) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount() - start < milliseconds);
    return quit;
}

std::string TreeItemText(HWND tree, HTREEITEM item) {
    return static_cast<CTreeView*>(CWnd::FromHandlePermanent(tree))->GetItemText(item);
}

std::string ListCellText(HWND list, int row, int column) {
    return static_cast<CListView*>(CWnd::FromHandlePermanent(list))->GetItemText(row, column);
}

namespace {

std::vector<std::vector<std::string>> ListRows(HWND list, int columns) {
    std::vector<std::vector<std::string>> rows;
    int count = static_cast<CListView*>(CWnd::FromHandlePermanent(list))->GetItemCount();
    for (int r = 0; r < count; ++r) {
        rows.emplace_back();
        for (int c = 0; c < columns; ++c) rows.back().push_back(ListCellText(list, r, c));
    }
    return rows;
}

}  // namespace

const std::vector<std::string> kDetailLabels = {"当前使用内存", "峰值使用内存", "进程启动时间", "父进程"};
const std::vector<std::string> kTickedLabels(kDetailLabels.begin(), kDetailLabels.end() - 1);
const std::vector<std::string> kParentLabels = {kDetailLabels.back()};
const std::vector<ExpectedColumn> kExpectedPropertyColumns = {{"参数名称", 100}, {"参数值", 280}};
const std::vector<ExpectedColumn> kExpectedModuleColumns = {{"模块名称", 100}, {"模块路径", 200}, {"大小", 60}};

std::vector<std::vector<std::string>> PropertyRows(HWND props) {
    return ListRows(props, static_cast<int>(kExpectedPropertyColumns.size()));
}

std::vector<std::vector<std::string>> ModuleRows(HWND modules) {
    return ListRows(modules, static_cast<int>(kExpectedModuleColumns.size()));
}

std::vector<std::string> PropertyLabels(HWND props) {
    std::vector<std::string> labels;
    for (auto& row : PropertyRows(props)) labels.push_back(row[0]);
    return labels;
}

std::string PropertyValue(HWND props, const char* label) {
    for (auto& row : PropertyRows(props))
        if (row[0] == label) return row[1];
    return "<none>";
}

BoxAnswerer::BoxAnswerer() : m_outer(g_answerer) { g_answerer = this; }

BoxAnswerer::~BoxAnswerer() { g_answerer = m_outer; }

void BoxAnswerer::Expect(int button) {
    m_handlers.push_back([button](HWND) { return button; });
}

void BoxAnswerer::Expect(std::function<int(HWND)> handler) { m_handlers.push_back(std::move(handler)); }

int BoxAnswerer::Unexpected() const {
    int n = 0;
    for (const BoxRecord& b : boxes) n += !b.expected;
    return n;
}

void BoxAnswerer::OnActivate(HWND box) {
    BoxRecord record = ReadBox(box);
    int button;
    if (m_handlers.empty()) {
        record.expected = false;
        button = record.hasCancel ? IDCANCEL : IDOK;
    } else {
        button = m_handlers.front()(box);
        m_handlers.erase(m_handlers.begin());
    }
    boxes.push_back(record);
    Press(box, button);
}

std::string TestDir() {
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

namespace {

// A standard user's view of a fixture: the rights its process grants, whether its creation time
// and its modules can be read. The user's own processes grant everything.
struct Role {
    DWORD granted;
    bool timeReadable, modulesReadable;
};
const Role kService{PROCESS_QUERY_LIMITED_INFORMATION, true, false};
const Role kProtected{PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE,
                      false, true};
std::map<DWORD, Role> g_roles;  // by process id, in the standard-user world

const Role* RoleOf(DWORD processId) {
    auto found = g_roles.find(processId);
    return found == g_roles.end() ? nullptr : &found->second;
}

HANDLE WINAPI UserOpenProcess(DWORD access, BOOL inherit, DWORD processId) {
    const Role* role = RoleOf(processId);
    if (role && (access & ~role->granted)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return ::OpenProcess(access, inherit, processId);
}

BOOL WINAPI UserProcessTimes(HANDLE process, LPFILETIME created, LPFILETIME exited, LPFILETIME kernel, LPFILETIME user) {
    const Role* role = RoleOf(::GetProcessId(process));
    if (role && !role->timeReadable) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return ::GetProcessTimes(process, created, exited, kernel, user);
}

HANDLE WINAPI UserSnapshot(DWORD flags, DWORD processId) {
    const Role* role = RoleOf(processId);
    if (role && !role->modulesReadable && (flags & (TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32))) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateToolhelp32Snapshot(flags, processId);
}

void PlayRole(DWORD processId, const std::wstring& exe) {
    static std::set<DWORD> seen;
    if (g_world != World::kStandardUser || !processId) return;
    // Only a process started under an id seen before, as a successor of the listed one, is protected.
    bool service = exe.size() >= 18 && exe.compare(exe.size() - 18, 18, L"fixture_noicon.exe") == 0;
    if (!seen.insert(processId).second) g_roles[processId] = kProtected;
    else if (service) g_roles[processId] = kService;
}

}  // namespace

bool SeenWhole(const char* fixture) { return g_world != World::kStandardUser || strcmp(fixture, "fixture_noicon"); }

FixtureProcess::FixtureProcess(const char* name, const char* args)
    : FixtureProcess(Wide(TestDir() + name + ".exe"), Wide(args)) {}

FixtureProcess::FixtureProcess(const std::wstring& exe, const std::wstring& args, bool signals) {
    std::wstring command = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    // Wine now and then loses a new process in its own start-up, before the process has told
    // the server it runs, and reports that as ERROR_INTERNAL_ERROR; the fixture is started again
    // then. Any other failure is the test's: unchecked, it would leave process id 0 behind, on
    // which a stop command silently asks nothing.
    DWORD error = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        // Started suspended, so that the event it signals once it runs, its modules loaded and its
        // memory grown and shrunk, exists before it looks for it.
        if (::CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                             &si, &m_info)) {
            std::string name = "TessilorFixtureReady" + std::to_string(m_info.dwProcessId);
            HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, name.c_str());
            ::ResumeThread(m_info.hThread);
            if (signals) ::WaitForSingleObject(ready, 10000); else ::WaitForInputIdle(m_info.hProcess, 10000);
            if (ready) ::CloseHandle(ready);
            PlayRole(m_info.dwProcessId, exe);
            return;
        }
        error = ::GetLastError();
        if (error != ERROR_INTERNAL_ERROR) break;
    }
    ADD_FAILURE() << "could not start " << AnsiText(exe) << ": error " << error;
}

namespace {

// The first visible top-level window of a process that has a caption, or null.
HWND MainWindowOf(DWORD processId) {
    struct Search { DWORD pid; HWND found; } search{processId, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner != s->pid || !::IsWindowVisible(hwnd) || !(::GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION))
                return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

void ExpectDesignAtScale(COurFrame* frame, UINT dpi, int slack, int treeWidth) {
    auto at = [dpi](int size) { return ::MulDiv(size, static_cast<int>(dpi), 96); };
    auto rect = [](HWND hwnd) { RECT r{}; ::GetWindowRect(hwnd, &r); return r; };
    RECT outer = rect(frame->m_hWnd);
    EXPECT_NEAR(at(600), outer.right - outer.left, slack + 1);
    EXPECT_NEAR(at(400), outer.bottom - outer.top, slack + 1);
    RECT tree = rect(frame->m_pPanelLeft->m_hWnd), props = rect(frame->m_pPanelRTop->m_hWnd);
    EXPECT_NEAR(at(treeWidth), tree.right - tree.left, slack);
    EXPECT_NEAR(at(140), props.bottom - props.top, slack);
    const struct {
        HWND list;
        const std::vector<ExpectedColumn>& columns;
        int images;
    } lists[] = {{frame->m_pPanelRTop->m_hWnd, kExpectedPropertyColumns, 1},
                 {frame->m_pPanelRight->m_hWnd, kExpectedModuleColumns, 2}};
    for (const auto& list : lists) {
        for (size_t i = 0; i < list.columns.size() + 1; ++i) {
            char heading[64] = "";
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.pszText = heading;
            column.cchTextMax = sizeof(heading);
            BOOL exists = static_cast<BOOL>(::SendMessageA(list.list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
            EXPECT_EQ(i < list.columns.size(), exists != FALSE) << i;
            if (!exists || i >= list.columns.size()) continue;
            EXPECT_EQ(list.columns[i].heading, heading);
            EXPECT_NEAR(at(list.columns[i].width), column.cx, slack) << heading;
            EXPECT_EQ(LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK) << heading;
        }
        // One image per stock icon, each at its icon's index, even when the system could not give one.
        EXPECT_EQ(list.images, ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(
                                   ::SendMessageA(list.list, LVM_GETIMAGELIST, LVSIL_SMALL, 0))))
            << "the images of the list headed " << list.columns[0].heading;
    }
    auto size = [](HIMAGELIST images) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images, &cx, &cy);
        return std::make_pair(cx, cy);
    };
    for (const CImageList* images : {&frame->m_pPanelLeft->m_imageList, &frame->m_pPanelRTop->m_imageList,
                                     &frame->m_pPanelRight->m_imageList}) {
        EXPECT_EQ(std::make_pair(at(16), at(16)), size(images->m_hImageList));
        // The shell's icons keep their colours and soft edges: 32 bits, not a palette's 8.
        IMAGEINFO info{};
        BITMAP bits{};
        ASSERT_TRUE(ImageList_GetImageInfo(images->m_hImageList, 0, &info));
        ASSERT_TRUE(::GetObjectA(info.hbmImage, sizeof(bits), &bits));
        EXPECT_EQ(32, bits.bmBitsPixel);
    }
    auto art = size(reinterpret_cast<HIMAGELIST>(frame->m_wndToolBar.SendMessage(TB_GETIMAGELIST)));
    EXPECT_EQ(at(16), art.first);
    EXPECT_NEAR(at(15), art.second, slack);
    // 23 by 21 at 96 DPI: the picture and the toolbar's room around it.
    LRESULT button = frame->m_wndToolBar.SendMessage(TB_GETBUTTONSIZE);
    EXPECT_NEAR(at(23), LOWORD(button), slack);
    EXPECT_NEAR(at(21), HIWORD(button), slack);
}

void ExpectFontsAtScale(COurFrame* frame, UINT dpi) {
    // The user's fonts as the system keeps them, at the system's scale; each window's is that
    // font at the window's scale.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW iconTitle{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(iconTitle), &iconTitle, 0));
    const std::pair<const char*, const LOGFONTW*> kinds[] = {
        {WC_TREEVIEWA, &iconTitle}, {WC_LISTVIEWA, &iconTitle}, {WC_HEADERA, &iconTitle},
        {STATUSCLASSNAMEA, &metrics.lfStatusFont}, {TOOLTIPS_CLASSA, &metrics.lfStatusFont},
        {TOOLBARCLASSNAMEA, &metrics.lfMessageFont}};
    std::set<std::string> seen;
    std::function<void(HWND)> check = [&](HWND hwnd) {
        char name[64] = "";
        ::GetClassNameA(hwnd, name, sizeof(name));
        for (const auto& kind : kinds) {
            if (lstrcmpiA(name, kind.first)) continue;
            seen.insert(kind.first);
            LOGFONTW font{};
            ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof(font), &font))
                << name;
            EXPECT_NEAR(::MulDiv(kind.second->lfHeight, static_cast<int>(dpi), static_cast<int>(layer::SystemDpi())),
                        font.lfHeight, 1) << name;
            EXPECT_STREQ(kind.second->lfFaceName, font.lfFaceName) << name;
        }
        if (!lstrcmpiA(name, TOOLBARCLASSNAMEA)) check(reinterpret_cast<HWND>(::SendMessageA(hwnd, TB_GETTOOLTIPS, 0, 0)));
        for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) check(child);
    };
    check(frame->m_hWnd);
    EXPECT_EQ(static_cast<size_t>(6), seen.size());  // the toolbar's tooltips among them
}

std::wstring ShowAndCloseProgram(const std::wstring& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "could not start " << AnsiText(exe) << ": error " << ::GetLastError();
        return L"<no window>";
    }
    HWND main = nullptr;
    for (int i = 0; i < 300 && !main && ::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; ++i) {
        ::WaitForInputIdle(pi.hProcess, 100);
        main = MainWindowOf(pi.dwProcessId);
        if (!main) ::Sleep(20);
    }
    wchar_t title[256] = L"<no window>";
    if (main) {
        ::GetWindowTextW(main, title, 256);
        ::PostMessageA(main, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return title;
}

namespace {
MessageRecorder* g_recorder = nullptr;
}  // namespace

MessageRecorder::MessageRecorder(Watch watch) : m_watch(std::move(watch)), m_outer(g_recorder) {
    g_recorder = this;
    m_sent = ::SetWindowsHookExA(WH_CALLWNDPROC, Sent, nullptr, ::GetCurrentThreadId());
    m_taken = ::SetWindowsHookExA(WH_GETMESSAGE, Taken, nullptr, ::GetCurrentThreadId());
}

MessageRecorder::~MessageRecorder() {
    ::UnhookWindowsHookEx(m_sent);
    ::UnhookWindowsHookEx(m_taken);
    g_recorder = m_outer;
}

LRESULT CALLBACK MessageRecorder::Sent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_recorder) {
        auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        g_recorder->m_watch(MSG{sent->hwnd, sent->message, sent->wParam, sent->lParam, 0, {}}, false);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MessageRecorder::Taken(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && g_recorder)
        g_recorder->m_watch(*reinterpret_cast<const MSG*>(lParam), true);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

ControlImitation::ControlImitation(HWND control, Answer answer) : m_control(control), m_answer(std::move(answer)) {
    ::SetWindowSubclass(control, Proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
}

ControlImitation::~ControlImitation() { ::RemoveWindowSubclass(m_control, Proc, reinterpret_cast<UINT_PTR>(this)); }

LRESULT ControlImitation::CallControl(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(m_control, msg, wParam, lParam);
}

LRESULT CALLBACK ControlImitation::Proc(HWND, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* imitation = reinterpret_cast<ControlImitation*>(self);
    return imitation->m_answer(*imitation, msg, wParam, lParam);
}

std::wstring Wide(const std::string& text) {
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

namespace {
ShellRecorder* g_shellRecorder = nullptr;
std::wstring TextOrNull(LPCWSTR s) { return s ? std::wstring(s) : std::wstring(L"(null)"); }
std::wstring TextOrNull(LPCSTR s) { return s ? Wide(s) : std::wstring(L"(null)"); }
}  // namespace

ShellRecorder::ShellRecorder() {
    g_shellRecorder = this;
    g_seams.shellExecuteEx = [](SHELLEXECUTEINFOW* info) -> BOOL {
        g_shellRecorder->calls.push_back({TextOrNull(info->lpVerb), TextOrNull(info->lpFile),
                                          TextOrNull(info->lpParameters), TextOrNull(info->lpDirectory),
                                          info->hwnd, info->fMask, info->nShow});
        return TRUE;
    };
    g_seams.shellExecute = [](HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                           INT show) -> HINSTANCE {
        g_shellRecorder->calls.push_back({TextOrNull(operation), TextOrNull(file), TextOrNull(parameters),
                                          TextOrNull(directory), owner, 0, show});
        return reinterpret_cast<HINSTANCE>(42);  // above 32: success
    };
}

ShellRecorder::~ShellRecorder() { g_shellRecorder = nullptr; }

FixtureProcess::~FixtureProcess() {
    End();
    if (m_info.hProcess) ::CloseHandle(m_info.hProcess);
    if (m_info.hThread) ::CloseHandle(m_info.hThread);
}

void FixtureProcess::End() {
    if (!m_info.hProcess) return;
    if (Running()) ::TerminateProcess(m_info.hProcess, 99);
    ::WaitForSingleObject(m_info.hProcess, 10000);
}

bool FixtureProcess::Running() const {
    return m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD FixtureProcess::ExitCode() const {
    DWORD code = 0;
    ::GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

DWORD TreeEntry::ProcessId() const {
    return data ? reinterpret_cast<const ProcessItemData*>(data)->processId : 0;
}

std::vector<TreeEntry> TreeChildren(HWND tree, HTREEITEM parent) {
    std::vector<TreeEntry> entries;
    auto item = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        char text[520] = "";
        TVITEMA tv{};
        tv.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = sizeof(text);
        ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        entries.push_back({item, tv.pszText, tv.iImage, tv.iSelectedImage, tv.lParam});
    }
    return entries;
}

HTREEITEM FindProcessItem(HWND tree, HTREEITEM root, DWORD processId) {
    for (const TreeEntry& e : TreeChildren(tree, root))
        if (e.ProcessId() == processId) return e.item;
    return nullptr;
}

HTREEITEM InsertProcessItem(HWND tree, HTREEITEM root, const char* text, DWORD processId, DWORD parentId,
                            FILETIME created) {
    auto* record = static_cast<ProcessItemData*>(::GlobalAlloc(GPTR, sizeof(ProcessItemData)));
    record->processId = processId;
    record->parentProcessId = parentId;
    record->created = created;
    TVINSERTSTRUCTA insert{};
    insert.hParent = root;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.lParam = reinterpret_cast<LPARAM>(record);
    return reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

namespace {

// A text request answered as Windows' controls may: every other one with a pointer to the
// control's own copy, the others copied and cut to fit without splitting a double-byte character,
// which leaves them one byte short of the buffer.
LRESULT AnswerText(ControlImitation& control, UINT msg, WPARAM wParam, LPARAM lParam, LPSTR* text, int* size) {
    static char own[1 << 16];
    static unsigned requests;
    const LPSTR asked = *text;
    const int room = *size;
    own[0] = '\0';
    *text = own;
    *size = sizeof(own);
    LRESULT result = control.CallControl(msg, wParam, lParam);
    *size = room;
    if (++requests % 2 && (msg == LVM_GETITEMTEXTA || result)) return result;
    *text = asked;
    if (room <= 0 || (msg == TVM_GETITEMA && !result)) return result;
    int cut = 0;
    for (int step; own[cut]; cut += step) {
        step = ::IsDBCSLeadByte(static_cast<BYTE>(own[cut])) && own[cut + 1] ? 2 : 1;
        if (cut + step >= room) break;
    }
    memcpy(asked, own, static_cast<size_t>(cut));
    asked[cut] = '\0';
    return msg == LVM_GETITEMTEXTA ? cut : result;
}

LRESULT WindowsControl(ControlImitation& control, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* tv = reinterpret_cast<TVITEMA*>(lParam);
    auto* lv = reinterpret_cast<LVITEMA*>(lParam);
    if (msg == TVM_GETITEMA && (tv->mask & TVIF_TEXT)) return AnswerText(control, msg, wParam, lParam, &tv->pszText, &tv->cchTextMax);
    if (msg == LVM_GETITEMTEXTA) return AnswerText(control, msg, wParam, lParam, &lv->pszText, &lv->cchTextMax);
    if (msg == SB_GETTEXTLENGTHA) {  // in characters, not bytes
        LRESULT bytes = control.CallControl(msg, wParam, lParam);
        std::vector<char> text(LOWORD(bytes) + 1u, '\0');
        control.CallControl(SB_GETTEXTA, wParam, reinterpret_cast<LPARAM>(text.data()));
        return MAKELRESULT(::MultiByteToWideChar(CP_ACP, 0, text.data(), -1, nullptr, 0) - 1, HIWORD(bytes));
    }
    if (msg == LVM_INSERTITEMA && lv->iItem < control.CallControl(LVM_GETITEMCOUNT, 0, 0)) {
        LVITEMA atEnd = *lv;  // placed at the end, and the real index answered
        atEnd.iItem = static_cast<int>(control.CallControl(LVM_GETITEMCOUNT, 0, 0));
        return control.CallControl(msg, wParam, reinterpret_cast<LPARAM>(&atEnd));
    }
    LRESULT result = control.CallControl(msg, wParam, lParam);
    if (msg == LVM_SETITEMTEXTA && result) {  // a text change, with state bits not meant to be read
        NMLISTVIEW change{};
        change.hdr.hwndFrom = control.Control();
        change.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(change.hdr.hwndFrom));
        change.hdr.code = LVN_ITEMCHANGED;
        change.iItem = static_cast<int>(wParam);
        change.uNewState = LVIS_FOCUSED | LVIS_SELECTED;
        change.uChanged = LVIF_TEXT;
        ::SendMessageA(::GetParent(change.hdr.hwndFrom), WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change));
    }
    return result;
}

// The frame's port list meets a spooler that leaves the count undefined when a call fails.
EnumPortsFunction g_spooler;
BOOL WINAPI WindowsSpooler(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed, LPDWORD returned) {
    BOOL ok = g_spooler(server, level, ports, size, needed, returned);
    if (!ok) *returned = 0xCDCDCDCD;
    return ok;
}
LRESULT WindowsFrame(ControlImitation& control, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_COMMAND || LOWORD(wParam) != ID_PORT_LIST) return control.CallControl(msg, wParam, lParam);
    g_spooler = g_seams.enumPorts;  // whatever the test made of it
    g_seams.enumPorts = WindowsSpooler;
    LRESULT result = control.CallControl(msg, wParam, lParam);
    g_seams.enumPorts = g_spooler;
    return result;
}

}  // namespace

void MainFrameTest::SetUp() {
    if (g_world == World::kStandardUser) {
        g_seams.openProcess = UserOpenProcess;
        g_seams.getProcessTimes = UserProcessTimes;
        g_seams.createSnapshot = UserSnapshot;
    }
    frame = StartMainFrame();
    ASSERT_NE(nullptr, frame);
    pane = frame->m_pPanelLeft;
    tree = pane->m_hWnd;
    props = frame->m_pPanelRTop->m_hWnd;
    modules = frame->m_pPanelRight->m_hWnd;
    if (g_world != World::kWindows) return;
    for (HWND control : {tree, props, modules, frame->m_wndStatusBar.m_hWnd})
        worldControls.push_back(std::make_unique<ControlImitation>(control, WindowsControl));
    worldControls.push_back(std::make_unique<ControlImitation>(frame->m_hWnd, WindowsFrame));
}

void MainFrameTest::TearDown() {
    worldControls.clear();
    CloseMainFrame();
}

void MainFrameTest::ReopenOnAMonitorAt(UINT dpi, int slack) {
    static UINT monitorDpi;
    monitorDpi = dpi;
    CloseMainFrame();
    g_seams.dpiForWindow = [](HWND) { return monitorDpi; };
    frame = StartMainFrame();
    ASSERT_NE(nullptr, frame);
    ExpectDesignAtScale(frame, dpi, slack);
    ExpectFontsAtScale(frame, dpi);
}

void MainFrameTest::Select(HTREEITEM item) {
    // A missing or unselected item stops the test here, not at what the selection should have done.
    ASSERT_NE(nullptr, item);
    pane->SelectItem(item);
    ASSERT_EQ(item, pane->GetSelectedItem());
}

HTREEITEM MainFrameTest::Item(DWORD processId) { return FindProcessItem(tree, pane->m_hRootItem, processId); }

HTREEITEM MainFrameTest::SelectProcess(DWORD processId) {
    pane->RefreshProcessList();
    HTREEITEM item = Item(processId);
    Select(item);
    return item;
}

void MainFrameTest::Tick() { ::SendMessageA(tree, WM_TIMER, DETAIL_TIMER_ID, 0); }

std::vector<BoxRecord> MainFrameTest::StopConfirmed() {
    BoxAnswerer answers;
    answers.Expect(IDOK);
    answers.Expect(IDOK);
    frame->SendMessage(WM_COMMAND, ID_STOP_PROCESS);
    return answers.boxes;
}
