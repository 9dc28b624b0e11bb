// Texts the panes show, built without any window or locale, so they can be checked anywhere.
#pragma once
#include <cstdint>
#include <string>

// "%d KB" of a byte count: whole kilobytes (1 KB = 1024 bytes), the remainder dropped.
// The whole 64-bit value is written, never a truncated or negative one.
std::string FormatKilobytes(uint64_t bytes);

// Labels compare equal when their bytes are equal, with only ASCII A-Z folded to a-z:
// both bytes of a double-byte (GBK) character must match exactly, whatever the locale.
bool LabelsEqual(const char* a, const char* b);

// "%Y-%m-%d %H:%M:%S" of calendar fields.
std::string FormatDateTime(int year, int month, int day, int hour, int minute, int second);

// The string-table prefix of a version resource: "\StringFileInfo\llllcccc\".
std::string VersionTablePrefix(uint16_t language, uint16_t codePage);
