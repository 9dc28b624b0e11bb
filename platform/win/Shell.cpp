#include "Shell.h"

BOOL(WINAPI* g_pfnShellExecuteEx)(SHELLEXECUTEINFOA*) = ::ShellExecuteExA;
HINSTANCE(WINAPI* g_pfnShellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) = ::ShellExecuteA;
