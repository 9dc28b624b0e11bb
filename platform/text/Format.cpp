#include "Format.h"

#include <cstdio>

std::string FormatKilobytes(uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof(text), "%llu KB", static_cast<unsigned long long>(bytes >> 10));
    return text;
}

bool LabelsEqual(const char* a, const char* b) {
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    auto isLead = [](unsigned char c) { return c >= 0x81 && c <= 0xFE; };  // GBK, fixed on purpose
    for (;;) {
        unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (isLead(x) && a[1] != '\0') {
            // A double-byte character: its trail byte may look like a letter but is not one.
            if (x != y || a[1] != b[1]) return false;
            a += 2;
            b += 2;
            continue;
        }
        if (fold(x) != fold(y)) return false;
        if (x == 0) return true;
        ++a;
        ++b;
    }
}

std::string FormatDateTime(int year, int month, int day, int hour, int minute, int second) {
    char text[64];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                  second);
    return text;
}

std::string VersionTablePrefix(uint16_t language, uint16_t codePage) {
    char text[50];
    std::snprintf(text, sizeof(text), "\\StringFileInfo\\%04x%04x\\", language, codePage);
    return text;
}
