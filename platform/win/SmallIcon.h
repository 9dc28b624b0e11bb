// Small icons picked by index from a file's icon resources, the way the shell's extraction
// counts them, with the file read once for the whole run instead of once an icon.
#pragma once
#include <windows.h>

// The small icon at this index of the file's icon groups, or null; the caller owns it.
HICON LoadSmallIcon(LPCSTR file, int index);
