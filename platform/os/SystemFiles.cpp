#include "SystemFiles.h"

#include "../seams/Seams.h"

namespace {

std::wstring InFolder(UINT (WINAPI* folder)(LPWSTR, UINT), const wchar_t* fileName) {
    wchar_t path[MAX_PATH];
    UINT length = folder(path, MAX_PATH);
    // 0: failed; MAX_PATH or more: the size the folder's name would need.
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    std::wstring full(path, length);
    if (full.back() != L'\\') full += L'\\';
    return full + fileName;
}

}  // namespace

void RestrictLibrarySearch() {
    // Looked up, not imported: Windows 7 has it only with an update, and an import that is
    // missing would stop the program from starting at all.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    auto set = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(kernel ? ::GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr));
    if (set) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

std::wstring SystemFilePath(const wchar_t* fileName) { return InFolder(::GetSystemDirectoryW, fileName); }

std::wstring WindowsFilePath(const wchar_t* fileName) { return InFolder(::GetSystemWindowsDirectoryW, fileName); }

FARPROC SystemLibrary::Function(const char* name) {
    if (!m_module) {
        std::wstring path = SystemFilePath(m_fileName);
        if (path.empty()) {
            ::SetLastError(ERROR_PATH_NOT_FOUND);
            return nullptr;
        }
        // With a full path, the libraries this one needs are looked for beside it as well.
        m_module = g_seams.loadLibraryEx(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!m_module) return nullptr;
    }
    return ::GetProcAddress(m_module, name);
}
