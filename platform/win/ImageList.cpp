#include "ImageList.h"

#include <shellapi.h>

HICON ExtractSmallIcon(const std::wstring& path, int index) {
    HICON icon = nullptr;
    // The count of icons extracted, or UINT_MAX for a file that can't be read: the icon tells.
    if (path.empty() || !::ExtractIconExW(path.c_str(), index, nullptr, &icon, 1)) return nullptr;
    return icon;
}

int CImageList::AddFileIcon(const std::wstring& path, int index) {
    ScopedIcon icon(ExtractSmallIcon(path, index));
    return Add(icon.Get());
}
