#include "AnsiText.h"

std::string AnsiText(const wchar_t* text) {
    if (!text || !*text) return std::string();
    // UTF-8 as the ANSI code page (a Windows setting) has every character, and takes neither flags
    // nor a default character.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* unknown = utf8 ? nullptr : "?";
    int bytes = ::WideCharToMultiByte(CP_ACP, flags, text, -1, nullptr, 0, unknown, nullptr);
    if (bytes <= 1) return std::string();
    std::string ansi(static_cast<size_t>(bytes), '\0');
    bytes = ::WideCharToMultiByte(CP_ACP, flags, text, -1, &ansi[0], bytes, unknown, nullptr);
    ansi.resize(bytes > 0 ? static_cast<size_t>(bytes - 1) : 0);
    return ansi;
}
