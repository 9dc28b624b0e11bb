#include "ImageList.h"

#include <shellapi.h>
#include <shlobj.h>

#include "../seams/Seams.h"

HICON CImageList::ExtractIcon(const std::wstring& path, int index) const {
    int size = IconSize();
    if (path.empty() || size <= 0) return nullptr;
    HICON icon = nullptr;
    if (size == ::GetSystemMetrics(SM_CXSMICON)) {
        // The shell's small icon: the count extracted, or UINT_MAX for a file that can't be read;
        // the icon tells.
        if (!g_seams.extractIconEx(path.c_str(), index, nullptr, &icon, 1)) return nullptr;
    } else if (FAILED(g_seams.shDefExtractIcon(path.c_str(), index, 0, &icon, nullptr, MAKELONG(size, size)))) {
        return nullptr;  // another scale's: the file's picture drawn for that size, not a small one stretched
    }
    return icon;
}

int CImageList::AddFileIcon(const std::wstring& path, int index) {
    ScopedIcon icon(ExtractIcon(path, index));
    return Add(icon.Get());
}
