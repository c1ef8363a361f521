// Private to the Win32 stand-in: what a HANDLE points at, the table of
// live handles and the thread's last error.
#pragma once

#include <string>

#include "platform/win32/win32.h"

namespace win32_impl {

enum class HandleKind { File, Serial };

struct HandleObject {
    HandleKind kind;
    int fd;
    DWORD access;              // GENERIC_READ / GENERIC_WRITE as asked
    COMMTIMEOUTS timeouts{};   // serial only; all zero until set
    std::string lockFile;      // serial only; the port's lock file, if one was made
};

// A new handle for an open descriptor; never 0 nor INVALID_HANDLE_VALUE.
HANDLE Register(HandleKind kind, int fd, DWORD access);
// The object behind a live handle, or nullptr (also for 0, -1 and handles
// already closed). With a kind, nullptr unless the handle is of that kind.
HandleObject* Lookup(HANDLE h);
HandleObject* Lookup(HANDLE h, HandleKind kind);
// Takes the handle out of the table; the caller closes the descriptor.
HandleObject* Unregister(HANDLE h);

void SetLastError(DWORD error);
// The Win32 error for an errno value of a failed open, read or write.
DWORD ErrorFromErrno(int err);

// "COMn" with n a decimal number from 1 (no sign, no leading zero).
bool IsComName(const char* name, int* n);

// Serial side, called by CreateFileA, ReadFile, WriteFile, CloseHandle.
HANDLE OpenComPort(int n, DWORD access, DWORD creation);
BOOL ReadSerial(HandleObject* h, BYTE* buffer, DWORD n, DWORD* got);
BOOL WriteSerial(HandleObject* h, const BYTE* buffer, DWORD n, DWORD* sent);
BOOL CloseSerial(HandleObject* h);

}  // namespace win32_impl
