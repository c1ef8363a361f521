// Handles, the last error, and the plain-file side of CreateFileA,
// ReadFile, WriteFile and CloseHandle.
//
// A plain file behaves as the program expects of a Windows file:
// - it is opened only as an existing file (OPEN_EXISTING), as the program
//   opens files; any other disposition fails with ERROR_INVALID_PARAMETER;
// - share mode 0 means no sharing: an advisory flock, exclusive for share
//   mode 0 and shared otherwise, so a second opener fails with
//   ERROR_SHARING_VIOLATION while the first holds the file;
// - a file whose mode has no write bit for anyone is read-only, like the
//   Windows read-only attribute: it is refused for writing with
//   ERROR_ACCESS_DENIED even for root;
// - only regular files open: a directory, FIFO, socket or device fails at
//   once with ERROR_ACCESS_DENIED (the open never blocks);
// - a name longer than 255 characters fails with ERROR_FILENAME_EXCED_RANGE.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_set>

#include "platform/win32/handles.h"

namespace win32_impl {
namespace {

constexpr size_t MaxNameLength = 255;

thread_local DWORD ThreadLastError = ERROR_SUCCESS;

void CloseAllAtExit();

std::mutex TableMutex;
std::unordered_set<HandleObject*>& Table() {
    static auto* table = [] {
        auto* t = new std::unordered_set<HandleObject*>;  // never freed: it is used at exit
        std::atexit(CloseAllAtExit);
        return t;
    }();
    return *table;
}

// Closes the descriptor (and gives up a port) behind a handle taken out
// of the table, as CloseHandle does.
BOOL CloseObject(HandleObject* h) {
    BOOL ok = TRUE;
    if (h->kind == HandleKind::Serial) {
        ok = CloseSerial(h);
    } else if (close(h->fd) != 0 && errno != EINTR) {
        SetLastError(ErrorFromErrno(errno));
        ok = FALSE;
    }
    delete h;
    return ok;
}

// As Windows closes the handles of a process that ends, a normal end here
// (exit, or the return from main) closes the handles still open: a serial
// port is then given up as CloseHandle gives it up, shareable again with
// its lock file removed. The link to the radio is never closed otherwise
// when the program ends while connected.
void CloseAllAtExit() {
    std::unordered_set<HandleObject*> open;
    {
        std::lock_guard<std::mutex> lock(TableMutex);
        open.swap(Table());
    }
    for (HandleObject* h : open) CloseObject(h);
}

bool NameTooLong(const char* name) { return std::strlen(name) > MaxNameLength; }

bool IsReadOnlyMode(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

// ENOENT as Windows tells it: the file is missing, or the folder is.
DWORD NotFoundError(const char* name) {
    std::string path(name);
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    struct stat st;
    if (stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return ERROR_FILE_NOT_FOUND;
    return ERROR_PATH_NOT_FOUND;
}

DWORD OpenError(int err, const char* name) {
    return err == ENOENT ? NotFoundError(name) : ErrorFromErrno(err);
}

HANDLE FailOpen(DWORD error, int fd = -1) {
    if (fd >= 0) close(fd);
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

HANDLE OpenPlainFile(const char* name, DWORD access, DWORD share, DWORD creation) {
    if (creation != OPEN_EXISTING) return FailOpen(ERROR_INVALID_PARAMETER);
    if (*name == '\0') return FailOpen(ERROR_PATH_NOT_FOUND);

    const bool wantRead = (access & GENERIC_READ) != 0;
    const bool wantWrite = (access & GENERIC_WRITE) != 0;
    int accmode = O_RDONLY;
    if (wantWrite) accmode = wantRead ? O_RDWR : O_WRONLY;
    // O_NONBLOCK so that a FIFO or device swapped in for the file cannot
    // block the open; regular files ignore it.
    const int fd = open(name, accmode | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return FailOpen(OpenError(errno, name));

    struct stat st;
    if (fstat(fd, &st) != 0) return FailOpen(ErrorFromErrno(errno), fd);
    if (!S_ISREG(st.st_mode)) return FailOpen(ERROR_ACCESS_DENIED, fd);
    if (wantWrite && IsReadOnlyMode(st.st_mode)) return FailOpen(ERROR_ACCESS_DENIED, fd);

    if (flock(fd, (share == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        return FailOpen(errno == EWOULDBLOCK ? ERROR_SHARING_VIOLATION : ErrorFromErrno(errno), fd);
    }
    int flags = fcntl(fd, F_GETFL);
    if (flags != -1) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

    HANDLE h = Register(HandleKind::File, fd, access);
    SetLastError(ERROR_SUCCESS);
    return h;
}

BOOL ReadPlain(HandleObject* h, BYTE* buffer, DWORD n, DWORD* got) {
    while (*got < n) {
        ssize_t r = read(h->fd, buffer + *got, n - *got);
        if (r > 0) {
            *got += static_cast<DWORD>(r);
        } else if (r == 0) {
            break;  // end of file
        } else if (errno != EINTR) {
            SetLastError(errno == EIO ? ERROR_READ_FAULT : ErrorFromErrno(errno));
            return FALSE;
        }
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WritePlain(HandleObject* h, const BYTE* buffer, DWORD n, DWORD* sent) {
    while (*sent < n) {
        ssize_t r = write(h->fd, buffer + *sent, n - *sent);
        if (r > 0) {
            *sent += static_cast<DWORD>(r);
        } else if (r == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        } else if (errno != EINTR) {
            SetLastError(errno == EIO ? ERROR_WRITE_FAULT : ErrorFromErrno(errno));
            return FALSE;
        }
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

// Checks shared by ReadFile and WriteFile; nullptr when the call fails.
HandleObject* TransferHandle(HANDLE hFile, const void* buffer, DWORD n, void* overlapped,
                             DWORD needed) {
    HandleObject* h = Lookup(hFile);
    if (!h) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (overlapped || (!buffer && n > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if ((h->access & needed) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return h;
}

}  // namespace

HANDLE Register(HandleKind kind, int fd, DWORD access) {
    auto* h = new HandleObject{kind, fd, access, {}, {}};
    std::lock_guard<std::mutex> lock(TableMutex);
    Table().insert(h);
    return static_cast<HANDLE>(h);
}

HandleObject* Lookup(HANDLE h) {
    auto* p = static_cast<HandleObject*>(h);
    std::lock_guard<std::mutex> lock(TableMutex);
    return Table().count(p) ? p : nullptr;
}

HandleObject* Lookup(HANDLE h, HandleKind kind) {
    HandleObject* p = Lookup(h);
    return p && p->kind == kind ? p : nullptr;
}

HandleObject* Unregister(HANDLE h) {
    auto* p = static_cast<HandleObject*>(h);
    std::lock_guard<std::mutex> lock(TableMutex);
    return Table().erase(p) ? p : nullptr;
}

void SetLastError(DWORD error) { ThreadLastError = error; }

DWORD ErrorFromErrno(int err) {
    switch (err) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ENXIO:
        case EBUSY:
        case ETXTBSY:
        case ELOOP: return ERROR_ACCESS_DENIED;
        case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
        case EEXIST: return ERROR_FILE_EXISTS;
        case ENOSPC:
        case EDQUOT: return ERROR_DISK_FULL;
        case EXDEV: return ERROR_NOT_SAME_DEVICE;
        case EBADF: return ERROR_INVALID_HANDLE;
        case EINVAL: return ERROR_INVALID_PARAMETER;
        default: return ERROR_GEN_FAILURE;
    }
}

bool IsComName(const char* name, int* n) {
    if (std::strncmp(name, "COM", 3) != 0) return false;
    const char* digits = name + 3;
    size_t len = std::strlen(digits);
    if (len == 0 || len > 4 || digits[0] == '0') return false;
    int value = 0;
    for (size_t i = 0; i < len; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return false;
        value = value * 10 + (digits[i] - '0');
    }
    *n = value;
    return true;
}

}  // namespace win32_impl

using namespace win32_impl;

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   SECURITY_ATTRIBUTES*, DWORD dwCreationDisposition, DWORD,
                   HANDLE) {
    if (!lpFileName) return FailOpen(ERROR_INVALID_PARAMETER);
    if (NameTooLong(lpFileName)) return FailOpen(ERROR_FILENAME_EXCED_RANGE);
    int n = 0;
    if (IsComName(lpFileName, &n)) return OpenComPort(n, dwDesiredAccess, dwCreationDisposition);
    return OpenPlainFile(lpFileName, dwDesiredAccess, dwShareMode, dwCreationDisposition);
}

BOOL CloseHandle(HANDLE hObject) {
    HandleObject* h = Unregister(hObject);
    if (!h) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const BOOL ok = CloseObject(h);
    if (ok) SetLastError(ERROR_SUCCESS);
    return ok;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
              LPDWORD lpNumberOfBytesRead, void* lpOverlapped) {
    DWORD got = 0;
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
    HandleObject* h = TransferHandle(hFile, lpBuffer, nNumberOfBytesToRead, lpOverlapped, GENERIC_READ);
    if (!h) return FALSE;
    auto* buffer = static_cast<BYTE*>(lpBuffer);
    BOOL ok = h->kind == HandleKind::Serial ? ReadSerial(h, buffer, nNumberOfBytesToRead, &got)
                                            : ReadPlain(h, buffer, nNumberOfBytesToRead, &got);
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = got;
    return ok;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               LPDWORD lpNumberOfBytesWritten, void* lpOverlapped) {
    DWORD sent = 0;
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
    HandleObject* h = TransferHandle(hFile, lpBuffer, nNumberOfBytesToWrite, lpOverlapped, GENERIC_WRITE);
    if (!h) return FALSE;
    auto* buffer = static_cast<const BYTE*>(lpBuffer);
    BOOL ok = h->kind == HandleKind::Serial ? WriteSerial(h, buffer, nNumberOfBytesToWrite, &sent)
                                            : WritePlain(h, buffer, nNumberOfBytesToWrite, &sent);
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = sent;
    return ok;
}

DWORD GetLastError() { return ThreadLastError; }
