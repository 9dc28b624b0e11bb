#include <windows.h>

#include "app/StartupTrace.h"
#include "platform/os/SystemFiles.h"
#include "platform/win/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything can load a library by its bare name, the shell's and the common controls'
    // own late loads included.
    RestrictLibrarySearch();
    StartupMark("entry");
    return AfxWinMain(instance);
}
