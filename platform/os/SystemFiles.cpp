#include "SystemFiles.h"

#include "../seams/Seams.h"

namespace {

std::wstring Folder(UINT (WINAPI* folder)(LPWSTR, UINT)) {
    wchar_t path[MAX_PATH];
    UINT length = folder(path, MAX_PATH);
    // 0: failed; MAX_PATH or more: the size the folder's name would need.
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(path, length);
}

std::wstring InFolder(const std::wstring& folder, const wchar_t* fileName) {
    if (folder.empty()) return std::wstring();
    return folder + (folder.back() == L'\\' ? L"" : L"\\") + fileName;
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

std::wstring SystemFolder() { return Folder(::GetSystemDirectoryW); }
std::wstring SystemWow64Folder() { return Folder(::GetSystemWow64DirectoryW); }

std::wstring SystemFilePath(const wchar_t* fileName) { return InFolder(SystemFolder(), fileName); }

std::wstring WindowsFilePath(const wchar_t* fileName) {
    return InFolder(Folder(::GetSystemWindowsDirectoryW), fileName);
}

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
