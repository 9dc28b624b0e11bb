// A file's version resource, read through version.dll from the system folder by the file's
// UTF-16 path, so that the file read is the one named.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class VersionResource {
public:
    // Reads the file's version block; false when the file has none or can't be read.
    bool Read(const std::wstring& path);
    // The first entry of "\VarFileInfo\Translation"; false when the value is missing or shorter
    // than one entry.
    bool FirstTranslation(WORD* language, WORD* codePage) const;
    // The string at a query path ("\StringFileInfo\llllcccc\Key"), up to its terminator and never
    // beyond the block; false when the resource has no such string.
    bool String(const std::wstring& query, std::wstring* value) const;

private:
    // The value at a query path and how many bytes of the block lie from it to the block's end;
    // 0 when there is no such value.
    size_t Query(const wchar_t* query, const void** value, UINT* length) const;
    std::vector<char> m_block;
};
