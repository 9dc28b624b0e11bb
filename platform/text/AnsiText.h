// Texts the system gives in UTF-16, turned into the program's ANSI code page for display only.
#pragma once
#include <windows.h>

#include <string>

// No character is replaced by a look-alike ("é" by "e" where the code page lacks it): a character
// the code page lacks shows as "?". A path converted this way names no file; keep the UTF-16 path
// for anything done with the file.
std::string AnsiText(const wchar_t* text);
inline std::string AnsiText(const std::wstring& text) { return AnsiText(text.c_str()); }
