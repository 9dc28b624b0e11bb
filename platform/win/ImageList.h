// CImageList: owns one image list; destroyed with the object unless deleted before. ScopedIcon:
// an icon on its way into one.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Dpi.h"

class CImageList {
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() { DeleteImageList(); }

    // cx and cy are the 96-DPI size of each image, made at the DPI given.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow, UINT dpi = 96) {
        DeleteImageList();
        m_hImageList = ImageList_Create(layer::Scale(cx, dpi), layer::Scale(cy, dpi), flags, initial, grow);
        return m_hImageList != nullptr;
    }
    // The width of each image, in pixels.
    int IconSize() const {
        int cx = 0, cy = 0;
        return m_hImageList && ImageList_GetIconSize(m_hImageList, &cx, &cy) ? cx : 0;
    }
    // Appends a copy of the icon; the caller still owns the icon. Returns the new index or -1.
    int Add(HICON icon) { return m_hImageList && icon ? ImageList_ReplaceIcon(m_hImageList, -1, icon) : -1; }
    // The icon at `index` of a file (a program or library, by its full path) at this list's size,
    // or null when there is none. The caller owns it.
    HICON ExtractIcon(const std::wstring& path, int index) const;
    // Appends that icon; -1 when the file has no such icon.
    int AddFileIcon(const std::wstring& path, int index);
    // Appends that icon, or the system's application icon when the file has none, so that every
    // image after it keeps its index.
    int AddStockIcon(const std::wstring& path, int index) {
        int added = AddFileIcon(path, index);
        return added >= 0 ? added : Add(::LoadIcon(nullptr, IDI_APPLICATION));
    }
    // Keeps the first count images and drops the rest.
    BOOL SetImageCount(int count) { return m_hImageList && ImageList_SetImageCount(m_hImageList, count); }
    BOOL Remove(int index) { return m_hImageList && ImageList_Remove(m_hImageList, index); }
    int GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }
    // The list, no longer owned by this object.
    HIMAGELIST Detach() {
        HIMAGELIST list = m_hImageList;
        m_hImageList = nullptr;
        return list;
    }
    BOOL DeleteImageList() {
        if (!m_hImageList) return FALSE;
        ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        return TRUE;
    }
};

// An icon the program extracted; an image list keeps its own copy, so this one goes at scope end.
class ScopedIcon {
public:
    explicit ScopedIcon(HICON icon = nullptr) : m_icon(icon) {}
    ScopedIcon(ScopedIcon&& other) noexcept : m_icon(other.m_icon) { other.m_icon = nullptr; }
    ScopedIcon(const ScopedIcon&) = delete;
    ScopedIcon& operator=(const ScopedIcon&) = delete;
    ~ScopedIcon() { if (m_icon) ::DestroyIcon(m_icon); }
    HICON Get() const { return m_icon; }

private:
    HICON m_icon;
};
