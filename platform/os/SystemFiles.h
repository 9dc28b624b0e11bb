// Files of the system the program runs on, named so that nothing of the same name elsewhere is
// taken for them: a library, icon or program is looked for by a bare name first in the program's
// own folder, where anyone who can write there (a Downloads folder) may have left one.
#pragma once
#include <windows.h>

#include <string>

// From here on, libraries loaded by a bare name come from the system folder only: the program's
// folder and the current folder are no longer searched. Without the call (an old Windows 7 without
// its update) it does nothing; the program loads its own libraries by full path either way.
void RestrictLibrarySearch();

// The system folder (System32) and, on 64-bit Windows, the 32-bit programs' (SysWOW64); "" when
// there is none or it can't be read.
std::wstring SystemFolder();
std::wstring SystemWow64Folder();
// The full path of a file in the system folder (System32) or in the Windows folder; "" when that
// folder can't be read.
std::wstring SystemFilePath(const wchar_t* fileName);
std::wstring WindowsFilePath(const wchar_t* fileName);

// A library of the system folder, loaded by its full path when one of its functions is first
// asked for. A load or a function that fails is asked for again the next time: a failure that has
// passed must not stay for the life of the program.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* fileName) : m_fileName(fileName) {}
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The function's address, or null (the last error says why).
    FARPROC Function(const char* name);
    template <class F>
    F Get(const char* name) {
        return reinterpret_cast<F>(reinterpret_cast<void*>(Function(name)));
    }

private:
    const wchar_t* m_fileName;
    HMODULE m_module = nullptr;  // kept for the life of the process once loaded
};
