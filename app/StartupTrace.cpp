#include "StartupTrace.h"

#include <windows.h>

#include <cstdio>

namespace {

struct Mark {
    LONGLONG counter;
    const char* phase;
};

Mark g_marks[32];
int g_markCount = 0;
int g_enabled = -1;  // not yet asked
char g_file[MAX_PATH];

bool Enabled() {
    if (g_enabled < 0) {
        DWORD n = ::GetEnvironmentVariableA("TESSILOR_STARTUP_TRACE", g_file, sizeof(g_file));
        g_enabled = n > 0 && n < sizeof(g_file);
    }
    return g_enabled > 0;
}

}  // namespace

void StartupMark(const char* phase) {
    if (!Enabled() || g_markCount == sizeof(g_marks) / sizeof(g_marks[0])) return;
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    g_marks[g_markCount++] = {now.QuadPart, phase};
}

void StartupTraceWrite() {
    if (!Enabled()) return;
    // Once: later calls have nothing new to say about start-up.
    g_enabled = 0;
    HANDLE file = ::CreateFileA(g_file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    for (int i = 0; i < g_markCount; ++i) {
        char line[128];
        int n = std::snprintf(line, sizeof(line), "%lld %s\n", g_marks[i].counter, g_marks[i].phase);
        DWORD written = 0;
        if (n > 0) ::WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
    }
    ::CloseHandle(file);
}
