// What the program takes from the system it runs on: a COM apartment for the shell, its libraries
// from the system folder only, and an executable marked for the Windows versions it needs. This
// executable lies in a folder of its own beside libraries named like the spooler and version.dll,
// which leave a mark when anything loads them; Wine is told to look for version.dll here first,
// as Windows does.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Harness.h"
#include "app/MainApp.h"
#include "platform/os/SystemFiles.h"
#include "platform/os/VersionResource.h"
#include "platform/text/Format.h"
#include "platform/seams/Seams.h"

namespace {

// First of all tests here: nothing else of this process may have entered COM before.
TEST(ComTest, InitialisationEntersASingleThreadedApartmentAndTheEndLeavesIt) {
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    ASSERT_EQ(CO_E_NOTINITIALIZED, ::CoGetApartmentType(&type, &qualifier));
    theApp.InitApplication(::GetModuleHandleA(nullptr));
    ASSERT_EQ(S_OK, ::CoGetApartmentType(&type, &qualifier));
    EXPECT_TRUE(type == APTTYPE_STA || type == APTTYPE_MAINSTA) << type;
    theApp.ExitInstance();
    EXPECT_EQ(CO_E_NOTINITIALIZED, ::CoGetApartmentType(&type, &qualifier));
}

// Whether anything has loaded the library planted here under this name, and forgetting it.
bool PlantedWasLoaded(const char* library) {
    std::string planted = TestDir() + library;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(planted.c_str())) << planted;
    return ::DeleteFileA((planted + ".loaded").c_str()) != FALSE;
}

// The modules that called the planted version.dll, one file name a line, and forgetting them.
std::string CallersOfPlantedVersionLibrary() {
    std::string calls = TestDir() + "version.dll.calls";
    std::ifstream file(calls);
    std::string callers((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    ::DeleteFileA(calls.c_str());
    return callers;
}

// The loaded library of this name comes from the system folder.
void ExpectFromTheSystemFolder(HMODULE module, const char* library) {
    ASSERT_NE(nullptr, module) << library;
    char loaded[MAX_PATH] = "";
    ::GetModuleFileNameA(module, loaded, MAX_PATH);
    EXPECT_TRUE(LabelsEqual(AnsiText(SystemFilePath(Wide(library).c_str())).c_str(), loaded)) << loaded;
}

TEST(PlantedLibraryTest, PortsAndVersionStringsComeFromTheSystemLibraries) {
    PlantedWasLoaded("winspool.drv");
    CallersOfPlantedVersionLibrary();
    ASSERT_EQ(nullptr, ::GetModuleHandleA("winspool.drv"));  // not loaded before the first port list
    DWORD needed = 0, count = 0;
    g_seams.enumPorts(nullptr, 2, nullptr, 0, &needed, &count);
    ExpectFromTheSystemFolder(::GetModuleHandleA("winspool.drv"), "winspool.drv");
    EXPECT_GT(needed, 0u);  // the ports come from the real spooler
    EXPECT_FALSE(PlantedWasLoaded("winspool.drv"));

    // Wine's own user32 has loaded the planted version.dll by now; the program's own calls must
    // still go to the system's.
    VersionResource resource;
    WORD language = 0, codePage = 0;
    ASSERT_TRUE(resource.Read(Wide(TestDir() + "hardening_tests.exe")));
    ASSERT_TRUE(resource.FirstTranslation(&language, &codePage));
    EXPECT_EQ(0x0804, language);
    std::wstring value;
    EXPECT_TRUE(resource.String(L"\\StringFileInfo\\080404b0\\InternalName", &value));
    EXPECT_EQ(L"Tessilor", value);
    EXPECT_EQ(std::string::npos, CallersOfPlantedVersionLibrary().find("hardening_tests.exe"));
}

TEST(PlantedLibraryTest, ABareNameFindsTheSystemLibraryOnceTheSearchIsRestricted) {
    PlantedWasLoaded("pdh.dll");
    ASSERT_EQ(nullptr, ::GetModuleHandleA("pdh.dll"));
    RestrictLibrarySearch();
    HMODULE library = ::LoadLibraryA("pdh.dll");
    ExpectFromTheSystemFolder(library, "pdh.dll");
    if (library) ::FreeLibrary(library);
    EXPECT_FALSE(PlantedWasLoaded("pdh.dll"));
}

TEST(PlantedLibraryTest, ALoadThatFailedIsTriedAgainNextTime) {
    ScopedSeams seams;
    SystemLibrary spooler(L"winspool.drv");
    g_seams.loadLibraryEx = [](LPCWSTR, HANDLE, DWORD) -> HMODULE {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    };
    EXPECT_EQ(nullptr, spooler.Function("EnumPortsA"));
    g_seams.loadLibraryEx = kSystemCalls.loadLibraryEx;
    EXPECT_NE(nullptr, spooler.Function("EnumPortsA"));
}

TEST(PlantedLibraryTest, TheProgramStartsBesidePlantedLibraries) {
    std::wstring copy = Wide(TestDir() + "Tessilor.exe");
    ASSERT_TRUE(::CopyFileW(Wide(TestDir() + "..\\..\\Tessilor.exe").c_str(), copy.c_str(), FALSE));
    PlantedWasLoaded("winspool.drv");
    PlantedWasLoaded("pdh.dll");
    CallersOfPlantedVersionLibrary();
    EXPECT_EQ(L"Quorvane进程管理器", ShowAndCloseProgram(copy));
    EXPECT_FALSE(PlantedWasLoaded("winspool.drv"));
    EXPECT_FALSE(PlantedWasLoaded("pdh.dll"));
    EXPECT_EQ(std::string::npos, CallersOfPlantedVersionLibrary().find("Tessilor.exe"));
    ::DeleteFileW(copy.c_str());
}

TEST(ExecutableTest, ProgramIsStrippedAndMarkedForWindows7) {
    std::ifstream file(TestDir() + "..\\..\\Tessilor.exe", std::ios::binary);
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
