// What the program takes from the system it runs on: a COM apartment for the shell, the spooler
// from the system folder only, and an executable marked for the Windows versions it needs. This
// executable lies in a folder of its own beside a library named like the spooler.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Harness.h"
#include "app/MainApp.h"
#include "platform/text/Format.h"
#include "platform/seams/Seams.h"

namespace {

std::string OwnFolder() {
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of('\\'));
}

// First of all tests here: nothing else of this process may have entered COM before.
TEST(ComTest, InitialisationEntersASingleThreadedApartmentAndTheEndLeavesIt) {
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    ASSERT_EQ(CO_E_NOTINITIALIZED, ::CoGetApartmentType(&type, &qualifier));
    theApp.AfxWinInit(::GetModuleHandleA(nullptr));
    ASSERT_EQ(S_OK, ::CoGetApartmentType(&type, &qualifier));
    EXPECT_TRUE(type == APTTYPE_STA || type == APTTYPE_MAINSTA) << type;
    theApp.AfxWinTerm();
    EXPECT_EQ(CO_E_NOTINITIALIZED, ::CoGetApartmentType(&type, &qualifier));
}

TEST(SpoolerTest, LoadsTheSpoolerFromTheSystemFolderOnly) {
    std::string planted = OwnFolder() + "\\winspool.drv";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(planted.c_str())) << planted;
    ASSERT_EQ(nullptr, ::GetModuleHandleA("winspool.drv"));  // not loaded before the first port list

    DWORD needed = 0, count = 0;
    g_pfnEnumPorts(nullptr, 2, nullptr, 0, &needed, &count);
    HMODULE spooler = ::GetModuleHandleA("winspool.drv");
    ASSERT_NE(nullptr, spooler);
    char loaded[MAX_PATH] = "", system[MAX_PATH] = "";
    ::GetModuleFileNameA(spooler, loaded, MAX_PATH);
    ::GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_TRUE(LabelsEqual((std::string(system) + "\\winspool.drv").c_str(), loaded)) << loaded;
    // And the ports come from the real spooler.
    EXPECT_GT(needed, 0u);
}

TEST(ExecutableTest, ProgramIsStrippedAndMarkedForWindows7) {
    std::ifstream file(OwnFolder() + "\\..\\..\\Tessilor.exe", std::ios::binary);
    ASSERT_TRUE(file.good());
    std::vector<char> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER));
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    ASSERT_LT(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64), image.size());
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(image.data() + dos->e_lfanew);
    EXPECT_EQ(6, nt->OptionalHeader.MajorSubsystemVersion);
    EXPECT_EQ(1, nt->OptionalHeader.MinorSubsystemVersion);
    EXPECT_EQ(6, nt->OptionalHeader.MajorOperatingSystemVersion);
    EXPECT_EQ(1, nt->OptionalHeader.MinorOperatingSystemVersion);
    EXPECT_EQ(0u, nt->FileHeader.NumberOfSymbols);
    EXPECT_EQ(0u, nt->FileHeader.PointerToSymbolTable);
}

}  // namespace
