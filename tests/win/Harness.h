// Test support: the real main frame, message pumping, modal boxes answered by a hook, and
// fixture processes.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame/OurFrame.h"
#include "platform/seams/Seams.h"
#include "platform/text/AnsiText.h"

// The world the harness imitates, named by TESSILOR_WORLD: Wine's answers as they come ("wine", the
// default); Windows' controls and spooler where their documented answers differ from Wine's
// ("windows"); a standard user, to whom fixture_noicon is a service that grants the least query
// right only and a process that took an ended fixture's id is a protected one whose creation time
// can't be read ("standard-user"). Each MainFrameTest runs in it.
enum class World { kWine, kWindows, kStandardUser };
extern const World g_world;
// What the program can show of a fixture program's process in this world: a service shows no
// memory or start time, no modules, and can't be opened to be ended.
bool SeenWhole(const char* fixture);

// Creates the main frame as the program does at start-up and pumps until it is idle.
COurFrame* StartMainFrame();
// Destroys the main frame (if any) and swallows the quit message it posts.
void CloseMainFrame();
// Handles every message waiting (keys go through the application's accelerators first), then
// keeps doing so for the milliseconds given. Returns true when a quit message came by.
bool Pump(DWORD milliseconds = 0);

// What the panes show by design, kept here once for every test. The properties pane's rows for a
// process whose every query answers, in order; the rows a tick rewrites (all but the parent's);
// the rows of a process of which only the parent can be read.
extern const std::vector<std::string> kDetailLabels;
extern const std::vector<std::string> kTickedLabels;
extern const std::vector<std::string> kParentLabels;
// The columns of the properties pane and of the module list, in order: heading and 96-DPI width.
struct ExpectedColumn {
    std::string heading;
    int width;
};
extern const std::vector<ExpectedColumn> kExpectedPropertyColumns;
extern const std::vector<ExpectedColumn> kExpectedModuleColumns;

// The texts of a tree item and a list cell, read through the pane bound to the control.
std::string TreeItemText(HWND tree, HTREEITEM item);
std::string ListCellText(HWND list, int row, int column);
// Every row of the properties pane and of the module list as its cells, one per expected column.
std::vector<std::vector<std::string>> PropertyRows(HWND props);
std::vector<std::vector<std::string>> ModuleRows(HWND modules);
// The properties pane's labels in order, and the value of the first row with a label
// ("<none>" when there is no such row).
std::vector<std::string> PropertyLabels(HWND props);
std::string PropertyValue(HWND props, const char* label);

// A process item of the tree as the tests read it back.
struct TreeEntry {
    HTREEITEM item;
    std::string text;
    int image;
    int selectedImage;
    LPARAM data;  // the item's ProcessItemData, or 0
    DWORD ProcessId() const;
};
// The children of an item, in order.
std::vector<TreeEntry> TreeChildren(HWND tree, HTREEITEM parent);
// The item of a process, or null.
HTREEITEM FindProcessItem(HWND tree, HTREEITEM root, DWORD processId);
// Adds a process item of the test's own making: any name with any record.
HTREEITEM InsertProcessItem(HWND tree, HTREEITEM root, const char* text, DWORD processId, DWORD parentId,
                            FILETIME created = FILETIME{});

// Called with true as the harness's own code starts inside an operation of the program (a box
// answered from a hook) and with false as it ends: a test that makes the program's allocations
// fail keeps the harness's own from failing.
extern void (*g_harnessCode)(bool entering);

// One modal box as the hook saw it.
struct BoxRecord {
    std::string caption;
    std::string text;     // the message of a message box
    bool hasOk = false;
    bool hasCancel = false;
    bool exclamation = false;
    bool expected = true;
};

// Answers the modal boxes that open on the test thread while it lives. Each expected box is
// given to its handler, which returns the button to press (0: press none, the test closes it).
// A box nobody expects is recorded as unexpected and cancelled. Without an answerer, every box
// fails the running test and is cancelled at once, so that no test waits on a box for ever.
class BoxAnswerer {
public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    void Expect(int button);
    void Expect(std::function<int(HWND)> handler);
    std::vector<BoxRecord> boxes;
    int Unexpected() const;
    void OnActivate(HWND box);

private:
    BoxAnswerer* m_outer;
    std::vector<std::function<int(HWND)>> m_handlers;
};

// A fixture program of the tests, started and ended by the test.
class FixtureProcess {
public:
    // name: "fixture_icon" or "fixture_noicon"; args: milliseconds to live, or empty for ever.
    explicit FixtureProcess(const char* name, const char* args = "");
    // A fixture program at a path of its own (a copy, or the 32-bit one).
    // Another program (signals false) is waited for until it is idle instead.
    explicit FixtureProcess(const std::wstring& exe, const std::wstring& args = L"", bool signals = true);
    ~FixtureProcess();
    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }
    // Ends the process and waits until it is gone.
    void End();
    bool Running() const;
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION m_info{};
};

// The window's design at this DPI, each size within `slack` pixels (the frame's within one
// more): the frame, the tree column (treeWidth at 96 DPI), the properties pane, the lists' columns
// (heading, width, left-aligned), the panes' image lists and the toolbar's pictures and buttons.
void ExpectDesignAtScale(COurFrame* frame, UINT dpi, int slack, int treeWidth = 180);
// Every window of the frame that shows text (the tree, the lists and their headers, the toolbar,
// the status bar, and the toolbar's tooltips, a window of its own) has the user's system font
// for its kind of text at this DPI.
void ExpectFontsAtScale(COurFrame* frame, UINT dpi);

// Starts a program as a user would, waits until its main window shows, closes it and waits until
// it has ended; the window's title, or "<no window>".
std::wstring ShowAndCloseProgram(const std::wstring& exe);

// The folder of the test executables and fixtures, with a trailing backslash.
std::string TestDir();

// One call of the shell's ShellExecuteExW or ShellExecuteA, as the program made it; the texts of
// the ANSI call as UTF-16, so that both compare alike.
struct ShellCall {
    std::wstring verb, file, parameters, directory;
    HWND owner;
    ULONG mask;  // ShellExecuteExW only
    INT show;
};
// A text of the tests in UTF-16 (the program's AnsiText goes the other way).
std::wstring Wide(const std::string& text);
// Calls `watch` with each message this thread's windows are sent (posted false) or take from
// their queue (posted true) while it lives. What a message points to is valid only during the call.
class MessageRecorder {
public:
    using Watch = std::function<void(const MSG& msg, bool posted)>;
    explicit MessageRecorder(Watch watch);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

private:
    static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK Taken(int code, WPARAM wParam, LPARAM lParam);
    Watch m_watch;
    MessageRecorder* m_outer;
    HHOOK m_sent, m_taken;
};

// While it lives, a control answers as `answer` says: it sees each message first and answers it
// itself or passes it on with CallControl. A test makes Wine's control answer as Windows' does
// (or as one that refuses) where the documentation allows either.
class ControlImitation {
public:
    using Answer = std::function<LRESULT(ControlImitation& self, UINT msg, WPARAM wParam, LPARAM lParam)>;
    ControlImitation(HWND control, Answer answer);
    ~ControlImitation();
    ControlImitation(const ControlImitation&) = delete;
    ControlImitation& operator=(const ControlImitation&) = delete;
    // The control's own answer.
    LRESULT CallControl(UINT msg, WPARAM wParam, LPARAM lParam);
    HWND Control() const { return m_control; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND m_control;
    Answer m_answer;
};

// Every seam of the program as it is now, put back when this goes out of scope: a test changes
// seams freely for as long as it holds one. Each MainFrameTest holds one.
class ScopedSeams {
public:
    ScopedSeams() : m_saved(g_seams) {}
    ~ScopedSeams() { g_seams = m_saved; }
    ScopedSeams(const ScopedSeams&) = delete;
    ScopedSeams& operator=(const ScopedSeams&) = delete;

private:
    Seams m_saved;
};

// While it lives, the shell's calls are recorded instead of made.
class ShellRecorder {
public:
    ShellRecorder();
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;
    std::vector<ShellCall> calls;

private:
    ScopedSeams m_seams;
};

class CPanelLeft;

// A test with the main frame up: made before each test, gone after it.
class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Selects a tree item as a click would: the pane hears of the change.
    void Select(HTREEITEM item);
    // The item of a process in the tree, or null.
    HTREEITEM Item(DWORD processId);
    // Fills the tree again and selects the process's item; returns it.
    HTREEITEM SelectProcess(DWORD processId);
    // Closes the frame and opens it again on a monitor at this DPI, whatever the system's, and
    // expects the fresh start there: every design size (within slack) and every font.
    void ReopenOnAMonitorAt(UINT dpi, int slack);
    // One tick of the detail timer.
    void Tick();
    // Asks to stop the selected process, confirms, and answers any box that follows.
    std::vector<BoxRecord> StopConfirmed();
    // The labels of the properties pane's rows, in order, and the value of the row with a label.
    std::vector<std::string> Labels() { return PropertyLabels(props); }
    std::string Value(const char* label) { return PropertyValue(props, label); }
    ScopedSeams seams;
    COurFrame* frame = nullptr;
    CPanelLeft* pane = nullptr;  // the process tree pane
    HWND tree = nullptr;         // its control
    HWND props = nullptr;        // the properties pane's control
    HWND modules = nullptr;      // the module list's control
    std::vector<std::unique_ptr<ControlImitation>> worldControls;  // Windows' answers, in that world
};
