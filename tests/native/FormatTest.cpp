#include <gtest/gtest.h>

#include "platform/text/Format.h"

TEST(KilobyteText, DropsTheRemainderAndKeepsSixtyFourBits) {
    EXPECT_EQ("0 KB", FormatKilobytes(0));
    EXPECT_EQ("0 KB", FormatKilobytes(1023));
    EXPECT_EQ("1 KB", FormatKilobytes(1024));
    EXPECT_EQ("1 KB", FormatKilobytes(1535));
    EXPECT_EQ("1023 KB", FormatKilobytes(1048575));
    // Above 4 TiB the kilobyte count no longer fits 32 bits; it must not wrap or turn negative.
    EXPECT_EQ("4294967296 KB", FormatKilobytes(4ULL << 40));
    EXPECT_EQ("6442450944 KB", FormatKilobytes(6ULL << 40));
    EXPECT_EQ("2097152 KB", FormatKilobytes(2ULL << 30));  // a 2 GiB working set is not negative
}

TEST(LabelComparison, FoldsOnlyAsciiLetters) {
    EXPECT_TRUE(LabelsEqual("FileVersion", "fileversion"));
    EXPECT_TRUE(LabelsEqual("FILEVERSION", "FileVersion"));
    EXPECT_FALSE(LabelsEqual("FileVersion", "FileVersion2"));
    EXPECT_FALSE(LabelsEqual("FileVersion", "FileVersio"));
    EXPECT_TRUE(LabelsEqual("", ""));
    // GBK bytes of "当前使用内存": equal only byte for byte.
    const char current[] = "\xb5\xb1\xc7\xb0\xca\xb9\xd3\xc3\xc4\xda\xb4\xe6";
    EXPECT_TRUE(LabelsEqual(current, current));
    // A trail byte in the A-Z range (0x41-0x5A) must not be folded into a-z.
    EXPECT_FALSE(LabelsEqual("\x81\x41", "\x81\x61"));
    EXPECT_FALSE(LabelsEqual("\xc4\xda", "\xc4\xdb"));
    // Letters beyond ASCII are not folded either.
    EXPECT_FALSE(LabelsEqual("\xc0", "\xe0"));
    // A label cut after a lead byte ends there: nothing past its terminator is read (the arrays
    // are exactly as long as the texts, so a read beyond them stops the run).
    const char cut[] = "\xb5\xb1\xc7";
    const char whole[] = "\xb5\xb1\xc7\xb0";
    EXPECT_TRUE(LabelsEqual(cut, cut));
    EXPECT_FALSE(LabelsEqual(cut, whole));
    EXPECT_FALSE(LabelsEqual(whole, cut));
    const char lead[] = "\x81";
    EXPECT_FALSE(LabelsEqual(lead, ""));
    EXPECT_FALSE(LabelsEqual("", lead));
}

TEST(DateTimeText, PadsEveryField) {
    EXPECT_EQ("1970-01-01 00:00:00", FormatDateTime(1970, 1, 1, 0, 0, 0));
    EXPECT_EQ("2040-12-31 23:59:09", FormatDateTime(2040, 12, 31, 23, 59, 9));
    EXPECT_EQ("1969-07-20 20:17:40", FormatDateTime(1969, 7, 20, 20, 17, 40));
}

TEST(VersionTablePrefix, IsLowerCaseHexLanguageThenCodePage) {
    EXPECT_EQ("\\StringFileInfo\\080404b0\\", VersionTablePrefix(0x0804, 0x04B0));
    EXPECT_EQ("\\StringFileInfo\\040904e4\\", VersionTablePrefix(0x0409, 0x04E4));
    EXPECT_EQ(25u, VersionTablePrefix(0xFFFF, 0xFFFF).size());
}
