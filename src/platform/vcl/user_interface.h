// The Win32 user-interface calls the units make, MessageBoxA and
// ShellExecuteA, over the modal seam (modal.h), so tests can script them.
#pragma once

#include "platform/win32/win32.h"

typedef void* HWND;
typedef void* HINSTANCE;

// MessageBoxA
#define MB_OK 0x0
#define MB_YESNO 0x4
#define MB_ICONWARNING 0x30
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

// ShellExecuteA
#define SW_SHOWDEFAULT 10

// hWnd is a form's Handle(), that is the form itself, or null.
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, unsigned uType);
HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                        LPCSTR lpDirectory, int nShowCmd);
