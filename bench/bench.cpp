// Speed of the fill, the module list, a tick, a selection and start-up, each beside its floor:
// the bare system work it cannot avoid, measured in the same run.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/MainApp.h"
#include "frame/OurFrame.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRight.h"
#include "platform/proc/Handles.h"

namespace {

double Now() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Median(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        work();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The work and its floor, alternated run by run so that both see the same machine.
std::pair<double, double> Paired(int runs, const std::function<void()>& work, const std::function<void()>& floor) {
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        work();
        a.push_back(Now() - start);
        start = Now();
        floor();
        b.push_back(Now() - start);
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[a.size() / 2], b[b.size() / 2]};
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

std::string Dir() {
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

PROCESS_INFORMATION Start(const std::string& exe, const std::string& args = std::string()) {
    std::string command = "\"" + exe + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ::CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    return pi;
}

void End(PROCESS_INFORMATION& pi) {
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
}

// The system work a fill must do: the process walk, one module snapshot a process, one icon a
// distinct executable, one image appended and one item inserted a process.
void FillFloor(HWND tree, HIMAGELIST images) {
    ::SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    ImageList_SetImageCount(images, 0);
    std::map<std::string, HICON> icons;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    if (::Process32First(snapshot, &entry)) {
        do {
            HANDLE modules = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, entry.th32ProcessID);
            MODULEENTRY32 module{};
            module.dwSize = sizeof(module);
            int image = -1;
            if (modules != INVALID_HANDLE_VALUE) {
                if (::Module32First(modules, &module)) {
                    auto found = icons.find(module.szExePath);
                    if (found == icons.end()) {
                        HICON icon = nullptr;
                        ::ExtractIconExA(module.szExePath, 0, nullptr, &icon, 1);
                        found = icons.emplace(module.szExePath, icon).first;
                    }
                    if (found->second) image = ImageList_ReplaceIcon(images, -1, found->second);
                }
                ::CloseHandle(modules);
            }
            TVINSERTSTRUCTA insert{};
            insert.hParent = TVI_ROOT;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT | TVIF_IMAGE;
            insert.item.pszText = entry.szExeFile;
            insert.item.iImage = image;
            ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
        } while (::Process32Next(snapshot, &entry));
    }
    ::CloseHandle(snapshot);
    for (auto& icon : icons)
        if (icon.second) ::DestroyIcon(icon.second);
}

void BareWalk() {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    if (::Process32First(snapshot, &entry))
        while (::Process32Next(snapshot, &entry)) {
        }
    ::CloseHandle(snapshot);
}

// The module walk and the size of each module's file.
void ModulesFloor(DWORD pid) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, pid);
    MODULEENTRY32 module{};
    module.dwSize = sizeof(module);
    if (::Module32First(snapshot, &module)) {
        do {
            HANDLE file = ::CreateFileA(module.szExePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
            LARGE_INTEGER size;
            if (file != INVALID_HANDLE_VALUE) {
                ::GetFileSizeEx(file, &size);
                ::CloseHandle(file);
            }
        } while (::Module32Next(snapshot, &module));
    }
    ::CloseHandle(snapshot);
}

// From process start to a visible top-level window of this class.
double StartUp(const std::string& exe, const char* windowClass, const std::string& args = std::string()) {
    double start = Now();
    PROCESS_INFORMATION pi = Start(exe, args);
    HWND window = nullptr;
    while (Now() - start < 30000) {
        window = ::FindWindowA(windowClass, nullptr);
        if (window && ::IsWindowVisible(window)) break;
        ::Sleep(1);
    }
    double elapsed = Now() - start;
    if (window) ::PostMessageA(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 0);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return elapsed;
}

// A figure beside its floor; with a target ratio, whether the ratio meets it.
void Row(const char* what, double value, double floor, double target = 0) {
    double ratio = floor > 0 ? value / floor : 0.0;
    std::printf("%-34s %9.2f ms   floor %9.2f ms   ratio %5.2f", what, value, floor, ratio);
    if (target > 0) std::printf("   target <= %.1f %s", target, ratio <= target ? "met" : "NOT MET");
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 7;
    const std::string dir = Dir();
    std::printf("medians over %d runs\n", runs);

    // Start-up first, while the machine is quiet.
    std::vector<double> bare, controls, ours;
    for (int i = 0; i < std::max(5, runs); ++i) {
        bare.push_back(StartUp(dir + "bare_window.exe", "BareWindow"));
        controls.push_back(StartUp(dir + "bare_window.exe", "BareWindow", "controls"));
        ours.push_back(StartUp(dir + "Tessilor.exe", "AfxFrameWnd"));
    }
    for (auto* times : {&bare, &controls, &ours}) std::sort(times->begin(), times->end());
    const size_t mid = bare.size() / 2;
    Row("start-up to the window shown", ours[mid], bare[mid], 1.5);
    std::printf("%-34s %9.2f ms\n", "  (bare window, common controls)", controls[mid]);

    theApp.AfxWinInit(::GetModuleHandleA(nullptr));
    theApp.InitInstance();
    Pump();
    auto* frame = static_cast<COurFrame*>(AfxGetMainWnd());
    CPanelLeft* pane = frame->m_pPanelLeft;

    HWND scratch = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0, 100, 100, frame->m_hWnd, nullptr,
                                     nullptr, nullptr);
    HIMAGELIST scratchImages = ImageList_Create(16, 16, ILC_COLOR8 | ILC_MASK, 10, 10);
    ::SendMessageA(scratch, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(scratchImages));

    std::vector<PROCESS_INFORMATION> extra;
    for (int n : {0, 50, 150}) {
        while (static_cast<int>(extra.size()) < n) extra.push_back(Start(dir + "fixture_icon.exe"));
        ::Sleep(500);
        auto [fill, floor] = Paired(runs, [&] { pane->FillProcessTree(); },
                                    [&] { FillFloor(scratch, scratchImages); });
        double walk = Median(runs, BareWalk);
        char label[64];
        std::snprintf(label, sizeof(label), "fill, %d extra processes", n);
        Row(label, fill, floor, n == 150 ? 1.2 : 0);
        std::snprintf(label, sizeof(label), "  (bare process walk)");
        std::printf("%-34s %9.2f ms   fill/walk %6.1f\n", label, walk, walk > 0 ? fill / walk : 0.0);
        if (n == 0) {
            // No start-up can beat a window of the common controls plus the fill's own floor.
            double least = controls[mid] + floor;
            std::printf("%-34s %9.2f ms   ratio to the bare window %5.2f\n",
                        "  (start-up least: controls+fill)", least, bare[mid] > 0 ? least / bare[mid] : 0.0);
        }
    }
    for (auto& pi : extra) End(pi);
    pane->FillProcessTree();

    // The module list of this process, which has the most modules at hand.
    DWORD self = ::GetCurrentProcessId();
    for (const char* dll : {"comdlg32.dll", "ole32.dll", "oleaut32.dll", "ws2_32.dll", "winhttp.dll", "crypt32.dll",
                            "setupapi.dll", "wininet.dll", "dbghelp.dll", "riched20.dll"})
        ::LoadLibraryA(dll);
    CPanelRight* list = frame->m_pPanelRight;
    auto [show, showFloor] = Paired(runs * 3, [&] { list->ShowModules(self); }, [&] { ModulesFloor(self); });
    char label[64];
    std::snprintf(label, sizeof(label), "ShowModules, %d modules",
                  static_cast<int>(list->SendMessage(LVM_GETITEMCOUNT)));
    Row(label, show, showFloor, 1.2);
    // What the user waits for: the call and the paint that shows its rows.
    double painted = Median(runs * 3, [&] {
        list->ShowModules(self);
        list->UpdateWindow();
    });
    std::printf("%-34s %9.2f ms\n", "  (ShowModules and its paint)", painted);

    HTREEITEM mine = nullptr, other = nullptr;
    for (auto item = reinterpret_cast<HTREEITEM>(pane->SendMessage(TVM_GETNEXTITEM, TVGN_CHILD,
                                                                    reinterpret_cast<LPARAM>(pane->m_hRootItem)));
         item; item = reinterpret_cast<HTREEITEM>(pane->SendMessage(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        TVITEMA tv{};
        tv.mask = TVIF_PARAM;
        tv.hItem = item;
        pane->SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        auto* record = reinterpret_cast<ProcessItemData*>(tv.lParam);
        if (record && record->processId == self) mine = item;
        else if (record && !other) other = item;
    }
    bool flip = false;
    double select = Median(runs * 3, [&] {
        flip = !flip;
        pane->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(flip ? other : mine));
    });
    pane->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(mine));
    // What a tick must ask the system: one process handle, its memory counters and its times.
    auto [tick, tickFloor] = Paired(runs * 10, [&] { pane->SendMessage(WM_TIMER, DETAIL_TIMER_ID, 0); }, [&] {
        ScopedHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, self));
        PROCESS_MEMORY_COUNTERS counters{};
        ::GetProcessMemoryInfo(process.Get(), &counters, sizeof(counters));
        FILETIME times[4];
        ::GetProcessTimes(process.Get(), &times[0], &times[1], &times[2], &times[3]);
    });
    std::printf("%-34s %9.2f ms\n", "one selection of a process", select);
    Row("one detail tick", tick, tickFloor);
    std::printf("%-34s target <= 1 ms %s\n", "", tick <= 1.0 ? "met" : "NOT MET");

    ::DestroyWindow(frame->m_hWnd);
    ImageList_Destroy(scratchImages);
    Pump();
    return 0;
}
