#include "VersionResource.h"

#include "SystemFiles.h"

#include <algorithm>

namespace {

// version.dll is no library the system keeps loaded for every program: imported by name it would
// be looked for beside the program first.
SystemLibrary& VersionLibrary() {
    static SystemLibrary library(L"version.dll");
    return library;
}

}  // namespace

bool VersionResource::Read(const std::wstring& path) {
    m_block.clear();
    auto size = VersionLibrary().Get<DWORD(WINAPI*)(LPCWSTR, LPDWORD)>("GetFileVersionInfoSizeW");
    auto read = VersionLibrary().Get<BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID)>("GetFileVersionInfoW");
    if (!size || !read || path.empty()) return false;
    DWORD ignored = 0;
    DWORD bytes = size(path.c_str(), &ignored);
    if (bytes == 0) return false;
    m_block.assign(bytes + 1, '\0');
    if (!read(path.c_str(), 0, bytes + 1, m_block.data())) {
        m_block.clear();
        return false;
    }
    return true;
}

size_t VersionResource::Query(const wchar_t* query, const void** value, UINT* length) const {
    auto find = VersionLibrary().Get<BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT)>("VerQueryValueW");
    void* found = nullptr;
    *length = 0;
    if (!find || m_block.empty() || !find(m_block.data(), query, &found, length) || !found) return 0;
    // A value must lie within the block, which ends where its first word says, not where the
    // buffer does: the system keeps its own data after it. A damaged resource may say otherwise.
    const char* begin = m_block.data();
    const char* end = begin + std::min<size_t>(m_block.size(), *reinterpret_cast<const WORD*>(begin));
    const char* at = static_cast<const char*>(found);
    if (at < begin || at >= end) return 0;
    *value = found;
    return static_cast<size_t>(end - at);
}

bool VersionResource::FirstTranslation(WORD* language, WORD* codePage) const {
    const void* value = nullptr;
    UINT length = 0;
    size_t room = Query(L"\\VarFileInfo\\Translation", &value, &length);
    if (room < 2 * sizeof(WORD) || length < 2 * sizeof(WORD)) return false;
    const WORD* pair = static_cast<const WORD*>(value);
    *language = pair[0];
    *codePage = pair[1];
    return true;
}

bool VersionResource::String(const std::wstring& query, std::wstring* value) const {
    const void* found = nullptr;
    UINT length = 0;
    size_t room = Query(query.c_str(), &found, &length);
    if (room == 0) return false;
    const wchar_t* text = static_cast<const wchar_t*>(found);
    value->assign(text, wcsnlen(text, room / sizeof(wchar_t)));
    return true;
}
