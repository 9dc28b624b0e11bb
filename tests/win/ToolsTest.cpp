// The Tools commands: the icon cache rebuild's registry writes and broadcasts, and the port list.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "Harness.h"
#include "platform/seams/Seams.h"
#include "res/resource.h"

namespace {

const char kMetricsKey[] = "Control Panel\\Desktop\\WindowMetrics";

// "Shell Icon Size" as stored; type 0 when the value is missing.
struct StoredSize {
    DWORD type = 0, length = 0;
    std::string text;
};

StoredSize ReadIconSize() {
    StoredSize stored;
    char data[64] = "";
    DWORD length = sizeof(data) - 1;
    if (::SHGetValueA(HKEY_CURRENT_USER, kMetricsKey, "Shell Icon Size", &stored.type, data, &length) ==
        ERROR_SUCCESS) {
        stored.length = length;
        stored.text = data;
    } else {
        stored.type = 0;
    }
    return stored;
}

void SetIconSize(const char* text) {  // null: no value
    if (text)
        ::SHSetValueA(HKEY_CURRENT_USER, kMetricsKey, "Shell Icon Size", REG_SZ, text, strlen(text) + 1);
    else
        ::SHDeleteValueA(HKEY_CURRENT_USER, kMetricsKey, "Shell Icon Size");
}

// What a top-level window of the test finds in the value at each setting change, as the
// shell would read it.
std::vector<std::string> g_seen;

LRESULT CALLBACK WatcherProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTINGCHANGE) g_seen.push_back(ReadIconSize().text);
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A top-level window on a thread that takes no messages until released, or for 30 s: a
// command that waits on it without limit then fails the test instead of hanging it.
class HungWindow {
public:
    HungWindow() {
        m_thread = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
        ::WaitForSingleObject(m_ready, 10000);
    }
    ~HungWindow() {
        ::SetEvent(m_release);
        ::WaitForSingleObject(m_thread, INFINITE);
        for (HANDLE h : {m_thread, m_ready, m_release}) ::CloseHandle(h);
    }

private:
    static DWORD WINAPI Run(void* param) {
        auto* self = static_cast<HungWindow*>(param);
        HWND hwnd = ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
        ::SetEvent(self->m_ready);
        ::WaitForSingleObject(self->m_release, 30000);
        ::DestroyWindow(hwnd);
        return 0;
    }
    HANDLE m_ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_thread;
};

class IconCacheTest : public MainFrameTest {
protected:
    void SetUp() override {
        m_before = ReadIconSize();
        MainFrameTest::SetUp();
        if (HasFatalFailure()) return;
        WNDCLASSA wc{};
        wc.lpfnWndProc = WatcherProc;
        wc.lpszClassName = "TessilorSettingWatcher";
        ::RegisterClassA(&wc);
        m_watcher = ::CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 9, 9, nullptr, nullptr,
                                      nullptr, nullptr);
        g_seen.clear();
    }
    void TearDown() override {
        ::DestroyWindow(m_watcher);
        MainFrameTest::TearDown();
        SetIconSize(m_before.type ? m_before.text.c_str() : nullptr);
    }
    void Rebuild() { frame->SendMessage(WM_COMMAND, ID_REBUILD_ICON_CACHE); }

    const std::string width = std::to_string(::GetSystemMetrics(SM_CXICON));
    const std::vector<std::string> bothSizes = {std::to_string(::GetSystemMetrics(SM_CXICON) - 1), width};

private:
    StoredSize m_before;
    HWND m_watcher = nullptr;
};

TEST_F(IconCacheTest, WindowsSeeOneSmallerThenTheWidthAndTheWidthStays) {
    BoxAnswerer answers;  // records any box, none is expected
    for (const char* before : {"48", static_cast<const char*>(nullptr)}) {
        SetIconSize(before);
        for (int run = 1; run <= 2; ++run) {
            SCOPED_TRACE(std::string(before ? before : "no value") + ", run " + std::to_string(run));
            g_seen.clear();
            Rebuild();
            EXPECT_EQ(bothSizes, g_seen);
            StoredSize after = ReadIconSize();
            EXPECT_EQ(static_cast<DWORD>(REG_SZ), after.type);
            EXPECT_EQ(20u, after.length);  // the whole buffer, not the digits
            EXPECT_EQ(width, after.text);
        }
    }
    EXPECT_TRUE(answers.boxes.empty());
}

TEST_F(IconCacheTest, AWindowThatDoesNotAnswerDelaysButDoesNotStopTheCommand) {
    HungWindow hung;
    DWORD start = ::GetTickCount();
    Rebuild();
    EXPECT_LT(::GetTickCount() - start, 15000u);
    EXPECT_EQ(bothSizes, g_seen);  // the windows that answer still get both, in order
    EXPECT_EQ(width, ReadIconSize().text);
}

// A spooler of the test's making with more ports than 10240 bytes hold. Like the real one, it
// fails with the size it needs when the buffer is too small; it notes each call.
struct SpoolerCall {
    std::string server;
    DWORD level, size;
};
std::vector<SpoolerCall> g_calls;
bool g_spoolerDown = false;
const DWORD kManyPorts = 300;

std::string PortName(DWORD i) { return "COM" + std::to_string(i) + ":"; }
std::string PortDescription(DWORD i) { return "本地端口 " + std::to_string(i); }

BOOL WINAPI ManyPorts(LPSTR server, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned) {
    g_calls.push_back({server ? server : "(null)", level, size});
    if (g_spoolerDown) {
        ::SetLastError(RPC_S_SERVER_UNAVAILABLE);
        return FALSE;
    }
    *needed = kManyPorts * sizeof(PORT_INFO_2A);
    for (DWORD i = 0; i < kManyPorts; ++i) *needed += PortName(i).size() + PortDescription(i).size() + 2;
    if (size < *needed) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    auto* records = reinterpret_cast<PORT_INFO_2A*>(buffer);
    char* strings = reinterpret_cast<char*>(records + kManyPorts);
    auto place = [&](const std::string& s) {
        char* at = strcpy(strings, s.c_str());
        strings += s.size() + 1;
        return at;
    };
    for (DWORD i = 0; i < kManyPorts; ++i) {
        records[i] = PORT_INFO_2A{};
        records[i].pPortName = place(PortName(i));
        records[i].pDescription = place(PortDescription(i));
    }
    *returned = kManyPorts;
    return TRUE;
}

class PortListTest : public MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        g_calls.clear();
    }
    // Runs the command; returns the whole message of the one box it showed (the harness's
    // record keeps only 2 KB of it).
    std::string ListPorts() {
        BoxAnswerer answers;
        std::string message;
        answers.Expect([&](HWND box) {
            HWND text = ::GetDlgItem(box, 0xFFFF);
            message.assign(::GetWindowTextLengthA(text) + 1, '\0');
            ::GetWindowTextA(text, &message[0], static_cast<int>(message.size()));
            message.resize(strlen(message.c_str()));
            return IDOK;
        });
        frame->SendMessage(WM_COMMAND, ID_PORT_LIST);
        EXPECT_EQ(1u, answers.boxes.size());
        EXPECT_EQ(0, answers.Unexpected());
        box = answers.boxes.empty() ? BoxRecord{} : answers.boxes[0];
        return message;
    }

    BoxRecord box;
};

TEST_F(PortListTest, OneBoxWithALinePerSpoolerPortEveryTime) {
    // The spooler asked independently, with all the room it wants.
    char local[] = "";
    DWORD needed = 0, count = 0;
    ::EnumPortsA(local, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    ASSERT_TRUE(::EnumPortsA(local, 2, buffer.data(), needed, &needed, &count));
    std::string expected;
    for (DWORD i = 0; i < count; ++i) {
        const PORT_INFO_2A& port = reinterpret_cast<const PORT_INFO_2A*>(buffer.data())[i];
        expected += std::string(port.pPortName) + "\t" + port.pDescription + "\r\n";
    }
    for (int run = 1; run <= 2; ++run) {
        EXPECT_EQ(expected, ListPorts());
        EXPECT_EQ("Tessilor", box.caption);
        EXPECT_TRUE(box.hasOk);
        EXPECT_FALSE(box.hasCancel);
        EXPECT_TRUE(box.exclamation);
    }
}

TEST_F(PortListTest, PortsBeyondTheFirstBufferAreAllListed) {
    g_seams.enumPorts = ManyPorts;
    std::string expected;
    for (DWORD i = 0; i < kManyPorts; ++i) expected += PortName(i) + "\t" + PortDescription(i) + "\r\n";
    EXPECT_EQ(expected, ListPorts());
    ASSERT_EQ(2u, g_calls.size());
    EXPECT_EQ("", g_calls[0].server);  // the local machine
    EXPECT_EQ(2u, g_calls[0].level);
    EXPECT_EQ(10240u, g_calls[0].size);
    EXPECT_GT(g_calls[1].size, 10240u);

    // A spooler that cannot be asked: an empty box after one call.
    g_calls.clear();
    g_spoolerDown = true;
    EXPECT_EQ("", ListPorts());
    EXPECT_EQ(1u, g_calls.size());
    EXPECT_EQ("Tessilor", box.caption);
    g_spoolerDown = false;
}

}  // namespace
