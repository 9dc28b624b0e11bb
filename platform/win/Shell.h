// The shell calls that hand a file or an address to another program. Tests point these
// elsewhere: Wine's shell has no Properties dialog, and no test should open a browser.
#pragma once
#include <windows.h>
#include <shellapi.h>

extern BOOL(WINAPI* g_pfnShellExecuteEx)(SHELLEXECUTEINFOA* info);
extern HINSTANCE(WINAPI* g_pfnShellExecute)(HWND owner, LPCSTR operation, LPCSTR file,
                                            LPCSTR parameters, LPCSTR directory, INT show);
