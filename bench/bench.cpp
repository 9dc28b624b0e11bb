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

// A program started from outside, timed until it shows what the user waits for.
struct Program {
    const char* label;
    std::string exe;
    std::string args;
    bool filled;  // wait for a tree or list of at least 5 items; otherwise for any visible window
    bool traced;  // asks the program for its start-up marks
};

struct Search {
    DWORD processId;
    bool filled;
    bool found;
};

BOOL CALLBACK FindFilledChild(HWND child, LPARAM param) {
    char name[32];
    if (!::GetClassNameA(child, name, sizeof(name))) return TRUE;
    LRESULT count = -1;
    if (!lstrcmpiA(name, WC_TREEVIEWA)) count = ::SendMessageA(child, TVM_GETCOUNT, 0, 0);
    else if (!lstrcmpiA(name, WC_LISTVIEWA)) count = ::SendMessageA(child, LVM_GETITEMCOUNT, 0, 0);
    if (count < 5) return TRUE;
    reinterpret_cast<Search*>(param)->found = true;
    return FALSE;
}

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window)) return TRUE;
    if (!search->filled) search->found = true;
    else ::EnumChildWindows(window, FindFilledChild, param);
    return !search->found;
}

// Start-up marks the program wrote, as milliseconds from its creation, in their order.
std::vector<std::pair<std::string, double>> ReadMarks(const std::string& file, LONGLONG created) {
    std::vector<std::pair<std::string, double>> marks;
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    FILE* in = std::fopen(file.c_str(), "r");
    if (!in) return marks;
    long long counter;
    char phase[64];
    while (std::fscanf(in, "%lld %63[^\n]", &counter, phase) == 2)
        marks.emplace_back(phase, static_cast<double>(counter - created) * 1000.0 / static_cast<double>(f.QuadPart));
    std::fclose(in);
    return marks;
}

// From CreateProcess until a visible top-level window of the process shows what is waited for;
// the process is then ended.
double StartUp(const Program& program, std::vector<std::pair<std::string, double>>* marks) {
    std::string traceFile = Dir() + "startup-trace.txt";
    ::DeleteFileA(traceFile.c_str());
    if (program.traced) ::SetEnvironmentVariableA("TESSILOR_STARTUP_TRACE", traceFile.c_str());
    LARGE_INTEGER created;
    ::QueryPerformanceCounter(&created);
    double start = Now();
    PROCESS_INFORMATION pi = Start(program.exe, program.args);
    ::SetEnvironmentVariableA("TESSILOR_STARTUP_TRACE", nullptr);
    Search search{pi.dwProcessId, program.filled, false};
    while (Now() - start < 30000) {
        ::EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        ::Sleep(1);
    }
    double elapsed = Now() - start;
    if (program.traced) {
        // The marks are written after the first paint, which may come after the window is found.
        for (int i = 0; i < 200 && ::GetFileAttributesA(traceFile.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
            ::Sleep(5);
        ::Sleep(20);
        *marks = ReadMarks(traceFile, created.QuadPart);
    }
    End(pi);
    return search.found ? elapsed : -1;
}

double MedianOf(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool g_allMet = true;

void Target(const char* what, double ratio, double target) {
    bool met = ratio > 0 && ratio <= target;
    if (!met) g_allMet = false;
    std::printf("  target: %-44s %5.2f <= %.2f   %s\n", what, ratio, target, met ? "MET" : "NOT MET");
    std::fflush(stdout);
}

// Start-up of Tessilor beside its peers and floors, alternated run by run, and where its own
// time goes.
void StartUpTable(const std::string& dir, int runs) {
    char windows[MAX_PATH], system[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    ::GetSystemDirectoryA(system, MAX_PATH);
    const std::vector<Program> programs = {
        {"Tessilor.exe", dir + "Tessilor.exe", "", true, false},
        {"taskmgr.exe", std::string(system) + "\\taskmgr.exe", "", true, false},
        {"regedit.exe", std::string(windows) + "\\regedit.exe", "", true, false},
        {"bare window", dir + "bare_window.exe", "", false, false},
        {"bare window, common controls", dir + "bare_window.exe", "controls", false, false},
        {"floor: controls + fill", dir + "bare_window.exe", "fill", true, false},
        {"floor: the same window, plain Win32", dir + "plain_window.exe", "", true, false},
        {"Tessilor.exe, traced", dir + "Tessilor.exe", "", true, true},
    };
    std::vector<std::vector<double>> times(programs.size());
    std::map<std::string, std::vector<double>> phases;
    std::vector<std::string> order;
    for (int run = 0; run < runs; ++run) {
        for (size_t p = 0; p < programs.size(); ++p) {
            std::vector<std::pair<std::string, double>> marks;
            double t = StartUp(programs[p], &marks);
            if (t >= 0) times[p].push_back(t);
            double last = 0;
            for (auto& mark : marks) {
                if (!phases.count(mark.first)) order.push_back(mark.first);
                phases[mark.first].push_back(mark.second - last);
                last = mark.second;
            }
        }
    }
    std::printf("start-up to a filled window, medians of %d alternated runs, each started as a process\n", runs);
    const double ours = MedianOf(times[0]);
    std::vector<double> medians;
    for (size_t p = 0; p < programs.size(); ++p) {
        medians.push_back(MedianOf(times[p]));
        std::printf("  %-34s %9.2f ms   Tessilor / this %5.2f   (%d of %d runs found)\n", programs[p].label,
                    medians[p], medians[p] > 0 ? ours / medians[p] : 0.0, static_cast<int>(times[p].size()), runs);
    }
    // What the window layer and the program's own code add to the window they make. The peers and
    // the other floors do other work than this window's: figures beside it, not targets.
    const char* twin = "floor: the same window, plain Win32";
    double twinMedian = 0;
    for (size_t p = 0; p < programs.size(); ++p)
        if (std::string(programs[p].label) == twin) twinMedian = medians[p];
    Target("Tessilor / the same window, plain Win32", twinMedian > 0 ? ours / twinMedian : 0, 1.05);
    std::printf("where Tessilor's start-up goes (traced runs, median of each phase)\n");
    double sum = 0;
    for (auto& phase : order) {
        double m = MedianOf(phases[phase]);
        sum += m;
        std::printf("  %-34s %9.2f ms   up to here %9.2f ms\n",
                    phase == "entry" ? "process start to entry" : phase.c_str(), m, sum);
    }
    std::fflush(stdout);
}

// A figure beside its floor and their ratio; a target on it is a Target() of its own.
void Row(const char* what, double value, double floor) {
    double ratio = floor > 0 ? value / floor : 0.0;
    std::printf("%-34s %9.2f ms   floor %9.2f ms   ratio %5.2f\n", what, value, floor, ratio);
    std::fflush(stdout);
}

// The fill beside its floor with more and more extra processes.
void FillTable(const std::string& dir, int runs, COurFrame* frame) {
    CPanelLeft* pane = frame->m_pPanelLeft;
    HWND scratch = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0, 100, 100, frame->m_hWnd, nullptr,
                                     nullptr, nullptr);
    HIMAGELIST scratchImages = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 10, 10);
    ::SendMessageA(scratch, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(scratchImages));

    std::vector<PROCESS_INFORMATION> extra;
    std::map<int, double> perProcess;
    for (int n : {0, 50, 150, 500}) {
        while (static_cast<int>(extra.size()) < n) extra.push_back(Start(dir + "fixture_icon.exe"));
        ::Sleep(500 + 5 * n);
        auto [fill, floor] = Paired(runs, [&] { pane->FillProcessTree(); },
                                    [&] { FillFloor(scratch, scratchImages); });
        double walk = Median(runs, BareWalk);
        int items = static_cast<int>(pane->SendMessage(TVM_GETCOUNT)) - 1;
        perProcess[n] = items > 0 ? fill / items : 0;
        char label[64];
        std::snprintf(label, sizeof(label), "fill, %d extra processes", n);
        Row(label, fill, floor);
        std::printf("  (%d processes listed, %.3f ms a process; bare process walk %.2f ms)\n", items,
                    perProcess[n], walk);
        if (n >= 150) {
            std::snprintf(label, sizeof(label), "fill / floor at N = %d", n);
            Target(label, floor > 0 ? fill / floor : 0, 1.1);
        }
    }
    Target("fill per process, N = 500 / N = 50", perProcess[50] > 0 ? perProcess[500] / perProcess[50] : 0, 1.2);
    for (auto& pi : extra) End(pi);
    ::DestroyWindow(scratch);
    ImageList_Destroy(scratchImages);
    pane->FillProcessTree();
}

// The module list, a selection and a tick, each beside what it asks of the system.
void SelectionTable(int runs, COurFrame* frame) {
    CPanelLeft* pane = frame->m_pPanelLeft;
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
    Row(label, show, showFloor);
    Target("ShowModules / its floor", showFloor > 0 ? show / showFloor : 0, 1.2);
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
    // The selection of this process, timed alone: another item is selected first, untimed.
    std::vector<double> selections;
    for (int i = 0; i < runs * 3; ++i) {
        pane->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(other));
        double start = Now();
        pane->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(mine));
        selections.push_back(Now() - start);
    }
    double select = MedianOf(selections);
    // What a tick must ask the system: one process handle, its memory counters and its times.
    auto [tick, tickFloor] = Paired(runs * 10, [&] { pane->SendMessage(WM_TIMER, DETAIL_TIMER_ID, 0); }, [&] {
        ScopedHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, self));
        PROCESS_MEMORY_COUNTERS counters{};
        ::GetProcessMemoryInfo(process.Get(), &counters, sizeof(counters));
        FILETIME times[4];
        ::GetProcessTimes(process.Get(), &times[0], &times[1], &times[2], &times[3]);
    });
    // The parts of a selection: the module list, and what the details ask of the system (the
    // process's counters and times, its parent's times and executable).
    auto details = [&] {
        ScopedHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, self));
        PROCESS_MEMORY_COUNTERS counters{};
        ::GetProcessMemoryInfo(process.Get(), &counters, sizeof(counters));
        FILETIME times[4];
        ::GetProcessTimes(process.Get(), &times[0], &times[1], &times[2], &times[3]);
        ScopedHandle parent(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ::GetCurrentProcessId()));
        ::GetProcessTimes(parent.Get(), &times[0], &times[1], &times[2], &times[3]);
        HMODULE executable = nullptr;
        DWORD needed = 0;
        char path[MAX_PATH];
        if (::EnumProcessModulesEx(parent.Get(), &executable, sizeof(executable), &needed, LIST_MODULES_ALL))
            ::GetModuleFileNameExA(parent.Get(), executable, path, MAX_PATH);
    };
    double detailQueries = Median(runs * 3, details);
    std::printf("%-34s %9.2f ms   sum of its parts %9.2f ms (ShowModules %.2f + detail queries %.2f)\n",
                "one selection of a process", select, show + detailQueries, show, detailQueries);
    Row("one detail tick", tick, tickFloor);
    // Beyond the system's answers a tick finds its three rows by their labels and rewrites them.
    Target("one detail tick / its floor", tickFloor > 0 ? tick / tickFloor : 0, 2.0);
}

}  // namespace

// Arguments: the number of runs (11 when not given), then optionally one table to run alone:
// "startup", "fill" or "selection".
int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 11;
    const std::string only = argc > 2 ? argv[2] : "";
    const std::string dir = Dir();
    std::printf("medians over %d runs\n", runs);

    // Start-up first, while the machine is quiet.
    if (only.empty() || only == "startup") StartUpTable(dir, runs);
    if (only.empty() || only == "fill" || only == "selection") {
        theApp.InitApplication(::GetModuleHandleA(nullptr));
        theApp.InitInstance();
        Pump();
        auto* frame = static_cast<COurFrame*>(AfxGetMainWnd());
        if (only.empty() || only == "fill") FillTable(dir, runs, frame);
        if (only.empty() || only == "selection") SelectionTable(runs, frame);
        ::DestroyWindow(frame->m_hWnd);
        Pump();
        theApp.ExitInstance();
    }
    std::printf("%s\n", g_allMet ? "every target MET" : "some target NOT MET");
    return g_allMet ? 0 : 1;
}
