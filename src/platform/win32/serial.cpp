// The serial side of the Win32 stand-in, over termios.
//
// A port opens read/write, only when a terminal device stands behind the
// name, and never as the controlling terminal, so a hang-up of the line
// cannot deliver SIGHUP. It is not shared, as far as the conventions of
// this system reach:
// - first the lock file of the Linux serial programs is taken
//   (port_lock.h): a live lock of any program, this one included, refuses
//   the open, a stale one is cleared; closing removes it;
// - then an advisory flock on the device, which binds every opener that
//   takes it, root included;
// - last TIOCEXCL, which refuses later opens by programs that take no lock
//   at all (root excepted).
// A program that opened the line earlier without taking any lock cannot be
// told from the far end of the line and is not detected.
//
// The line is raw from the moment it opens: no echo, no line editing, no
// signals, no XON/XOFF, no hardware handshake, no CR/LF translation, so
// every byte value passes unchanged. CLOCAL keeps the open and the I/O
// independent of the modem lines. All I/O is non-blocking underneath; the
// time-outs of COMMTIMEOUTS are kept with ppoll().
//
// Once the program is asked to end (process_stop.h), the first read or
// write that fails or times out gives up every line: each later read or
// write fails at once and sends nothing.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <utility>

#include "platform/win32/com_ports.h"
#include "platform/win32/handles.h"
#include "platform/win32/port_lock.h"
#include "platform/win32/process_stop.h"

namespace win32_impl {
namespace {

struct RateEntry {
    DWORD rate;
    speed_t speed;
};

constexpr RateEntry RateTable[] = {
    {110, B110},       {300, B300},       {600, B600},       {1200, B1200},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},
    {38400, B38400},   {57600, B57600},   {115200, B115200}, {230400, B230400},
    {460800, B460800}, {921600, B921600},
};

bool SpeedForRate(DWORD rate, speed_t* speed) {
    for (const RateEntry& e : RateTable) {
        if (e.rate == rate) {
            *speed = e.speed;
            return true;
        }
    }
    return false;
}

DWORD RateForSpeed(speed_t speed) {
    for (const RateEntry& e : RateTable) {
        if (e.speed == speed) return e.rate;
    }
    return 0;
}

void MakeRaw(termios& t) {
    cfmakeraw(&t);
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNCR | ICRNL | INLCR | ISTRIP | PARMRK |
                   BRKINT | IGNBRK | IMAXBEL);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~CRTSCTS;
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

int64_t NowNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
}

timespec ToTimespec(int64_t ns) {
    if (ns < 0) ns = 0;
    return timespec{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

constexpr int64_t NoDeadline = INT64_MAX;

int64_t Deadline(int64_t start, DWORD n, DWORD multiplier, DWORD constant) {
    uint64_t ms = uint64_t{n} * multiplier + constant;
    if (ms == 0) return NoDeadline;  // no limit
    return start + static_cast<int64_t>(ms) * 1000000;
}

// Keeps a write on a line that is gone from raising SIGPIPE: the signal is
// blocked for the call and, if the call raised it, taken back.
class SigpipeGuard {
public:
    SigpipeGuard() {
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        FPendingBefore = sigismember(&pending, SIGPIPE) == 1;
        sigset_t block;
        sigemptyset(&block);
        sigaddset(&block, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &block, &FOld);
    }
    ~SigpipeGuard() {
        if (!FPendingBefore) {
            sigset_t pipeOnly;
            sigemptyset(&pipeOnly);
            sigaddset(&pipeOnly, SIGPIPE);
            const timespec zero{0, 0};
            while (sigtimedwait(&pipeOnly, nullptr, &zero) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &FOld, nullptr);
    }
    SigpipeGuard(const SigpipeGuard&) = delete;
    SigpipeGuard& operator=(const SigpipeGuard&) = delete;

private:
    sigset_t FOld;
    bool FPendingBefore = false;
};

HANDLE FailCom(DWORD error, int fd = -1) {
    if (fd >= 0) close(fd);
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

// Gives up a port lock that no handle took over.
struct PortLockGuard {
    std::string file;
    PortLockGuard() = default;
    PortLockGuard(const PortLockGuard&) = delete;
    PortLockGuard& operator=(const PortLockGuard&) = delete;
    ~PortLockGuard() { port_lock::Release(file); }
};

std::atomic<bool> StopRequested{false};
std::atomic<bool> LinesGivenUp{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set in a signal handler");

// A read or write that did not complete gives up every line once a stop
// is asked.
BOOL NoteOutcome(BOOL ok, bool complete) {
    if ((!ok || !complete) && StopRequested) LinesGivenUp = true;
    return ok;
}

HandleObject* SerialHandle(HANDLE h) {
    HandleObject* p = Lookup(h, HandleKind::Serial);
    if (!p) SetLastError(ERROR_INVALID_HANDLE);
    return p;
}

}  // namespace

HANDLE OpenComPort(int n, DWORD access, DWORD creation) {
    if (creation != OPEN_EXISTING) return FailCom(ERROR_INVALID_PARAMETER);
    std::optional<std::string> device = com_ports::Resolve(n);
    if (!device) return FailCom(ERROR_FILE_NOT_FOUND);

    // Only a character device is opened at all: opening some other file,
    // or a device of another kind, could have effects of its own.
    struct stat st;
    if (stat(device->c_str(), &st) != 0) return FailCom(ERROR_FILE_NOT_FOUND);
    if (!S_ISCHR(st.st_mode)) return FailCom(ERROR_FILE_NOT_FOUND);

    // The lock comes before the open, so a port in use is not touched.
    PortLockGuard portLock;
    if (port_lock::Acquire(*device, &portLock.file) == port_lock::Outcome::Held)
        return FailCom(ERROR_ACCESS_DENIED);

    int fd = open(device->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        int err = errno;
        if (err == ENOENT || err == ENXIO || err == EIO || err == ENODEV) return FailCom(ERROR_FILE_NOT_FOUND);
        return FailCom(ErrorFromErrno(err));  // EBUSY (TIOCEXCL), EACCES: ERROR_ACCESS_DENIED
    }
    if (!isatty(fd)) return FailCom(ERROR_FILE_NOT_FOUND, fd);
    // Held by another opener, in this program or another one.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) return FailCom(ERROR_ACCESS_DENIED, fd);

    termios t;
    if (tcgetattr(fd, &t) != 0) return FailCom(ERROR_FILE_NOT_FOUND, fd);
    MakeRaw(t);
    if (tcsetattr(fd, TCSANOW, &t) != 0) return FailCom(ERROR_GEN_FAILURE, fd);
    // Last, so that no failure above leaves the flag set; CloseSerial
    // clears it again, also for a handle still open when the process ends
    // (the kernel keeps it while anyone holds the line).
    ioctl(fd, TIOCEXCL);

    HANDLE h = Register(HandleKind::Serial, fd, access);
    Lookup(h, HandleKind::Serial)->lockFile = std::exchange(portLock.file, std::string());
    SetLastError(ERROR_SUCCESS);
    return h;
}

BOOL CloseSerial(HandleObject* h) {
    ioctl(h->fd, TIOCNXCL);  // fails harmlessly on a line that hung up
    const bool closed = close(h->fd) == 0 || errno == EINTR;
    port_lock::Release(h->lockFile);
    if (!closed) {
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
    }
    return TRUE;
}

namespace {

BOOL ReadLine(HandleObject* h, BYTE* buffer, DWORD n, DWORD* got) {
    const COMMTIMEOUTS& to = h->timeouts;
    const int64_t totalDeadline = Deadline(NowNs(), n, to.ReadTotalTimeoutMultiplier,
                                           to.ReadTotalTimeoutConstant);
    const int64_t interval = int64_t{to.ReadIntervalTimeout} * 1000000;
    int64_t lastByte = 0;
    while (*got < n) {
        int64_t deadline = totalDeadline;
        if (interval > 0 && *got > 0 && lastByte + interval < deadline) deadline = lastByte + interval;
        timespec wait;
        timespec* waitPtr = nullptr;
        if (deadline != NoDeadline) {
            int64_t now = NowNs();
            if (now >= deadline) break;  // time-out: success with the count so far
            wait = ToTimespec(deadline - now);
            waitPtr = &wait;
        }
        pollfd p{h->fd, POLLIN, 0};
        int r = ppoll(&p, 1, waitPtr, nullptr);
        if (r < 0) {
            if (errno == EINTR) continue;
            SetLastError(ERROR_READ_FAULT);
            return FALSE;
        }
        if (r == 0) continue;  // the deadline is checked at the top
        if (p.revents & POLLNVAL) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        ssize_t k = read(h->fd, buffer + *got, n - *got);
        if (k > 0) {
            *got += static_cast<DWORD>(k);
            lastByte = NowNs();
            continue;
        }
        if (k < 0 && (errno == EAGAIN || errno == EINTR) && !(p.revents & (POLLHUP | POLLERR))) continue;
        // End of file after readiness, EIO, or an error: the line hung up.
        SetLastError(ERROR_READ_FAULT);
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WriteLine(HandleObject* h, const BYTE* buffer, DWORD n, DWORD* sent) {
    const COMMTIMEOUTS& to = h->timeouts;
    const int64_t deadline = Deadline(NowNs(), n, to.WriteTotalTimeoutMultiplier,
                                      to.WriteTotalTimeoutConstant);
    SigpipeGuard guard;
    while (*sent < n) {
        ssize_t k = write(h->fd, buffer + *sent, n - *sent);
        if (k > 0) {
            *sent += static_cast<DWORD>(k);
            continue;
        }
        if (k < 0 && errno == EINTR) continue;
        if (!(k < 0 && errno == EAGAIN)) {
            SetLastError(ERROR_WRITE_FAULT);  // EIO: the line hung up
            return FALSE;
        }
        timespec wait;
        timespec* waitPtr = nullptr;
        if (deadline != NoDeadline) {
            int64_t now = NowNs();
            if (now >= deadline) break;  // time-out: success with the count so far
            wait = ToTimespec(deadline - now);
            waitPtr = &wait;
        }
        pollfd p{h->fd, POLLOUT, 0};
        if (ppoll(&p, 1, waitPtr, nullptr) < 0 && errno != EINTR) {
            SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
        if (p.revents & POLLNVAL) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        // Ready, hung up or timed out: the next write or the deadline decides.
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

}  // namespace

BOOL ReadSerial(HandleObject* h, BYTE* buffer, DWORD n, DWORD* got) {
    if (LinesGivenUp) {
        SetLastError(ERROR_READ_FAULT);
        return FALSE;
    }
    return NoteOutcome(ReadLine(h, buffer, n, got), *got == n);
}

BOOL WriteSerial(HandleObject* h, const BYTE* buffer, DWORD n, DWORD* sent) {
    if (LinesGivenUp) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return NoteOutcome(WriteLine(h, buffer, n, sent), *sent == n);
}

}  // namespace win32_impl

using namespace win32_impl;

BOOL GetCommState(HANDLE hFile, DCB* lpDCB) {
    HandleObject* h = SerialHandle(hFile);
    if (!h) return FALSE;
    if (!lpDCB) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    termios t;
    if (tcgetattr(h->fd, &t) != 0) {
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
    }
    lpDCB->DCBlength = sizeof(DCB);
    lpDCB->BaudRate = RateForSpeed(cfgetospeed(&t));
    lpDCB->fBinary = 1;
    lpDCB->fParity = (t.c_iflag & INPCK) ? 1 : 0;
    lpDCB->fOutxCtsFlow = (t.c_cflag & CRTSCTS) ? 1 : 0;
    lpDCB->fOutxDsrFlow = 0;
    lpDCB->fOutX = (t.c_iflag & IXON) ? 1 : 0;
    lpDCB->fInX = (t.c_iflag & IXOFF) ? 1 : 0;
    switch (t.c_cflag & CSIZE) {
        case CS5: lpDCB->ByteSize = 5; break;
        case CS6: lpDCB->ByteSize = 6; break;
        case CS7: lpDCB->ByteSize = 7; break;
        default: lpDCB->ByteSize = 8; break;
    }
    if (!(t.c_cflag & PARENB)) lpDCB->Parity = NOPARITY;
    else lpDCB->Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
    lpDCB->StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL SetCommState(HANDLE hFile, DCB* lpDCB) {
    HandleObject* h = SerialHandle(hFile);
    if (!h) return FALSE;
    speed_t speed;
    tcflag_t size;
    if (!lpDCB || !SpeedForRate(lpDCB->BaudRate, &speed)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    switch (lpDCB->ByteSize) {
        case 5: size = CS5; break;
        case 6: size = CS6; break;
        case 7: size = CS7; break;
        case 8: size = CS8; break;
        default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
    }
    if (lpDCB->Parity > EVENPARITY || (lpDCB->StopBits != ONESTOPBIT && lpDCB->StopBits != TWOSTOPBITS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    termios t;
    if (tcgetattr(h->fd, &t) != 0) {
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
    }
    // Raw, whatever the flow-control fields say: the line never runs
    // XON/XOFF or a hardware handshake.
    MakeRaw(t);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
    t.c_cflag |= size;
    if (lpDCB->Parity != NOPARITY) t.c_cflag |= PARENB;
    if (lpDCB->Parity == ODDPARITY) t.c_cflag |= PARODD;
    if (lpDCB->StopBits == TWOSTOPBITS) t.c_cflag |= CSTOPB;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    if (tcsetattr(h->fd, TCSANOW, &t) != 0) {
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
    }
    // tcsetattr succeeds when any part applied; make sure the rate and the
    // frame did.
    termios check;
    if (tcgetattr(h->fd, &check) != 0 || cfgetospeed(&check) != speed ||
        (check.c_cflag & CSIZE) != size) {
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL SetCommTimeouts(HANDLE hFile, COMMTIMEOUTS* lpCommTimeouts) {
    HandleObject* h = SerialHandle(hFile);
    if (!h) return FALSE;
    if (!lpCommTimeouts) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    h->timeouts = *lpCommTimeouts;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL PurgeComm(HANDLE hFile, DWORD dwFlags) {
    HandleObject* h = SerialHandle(hFile);
    if (!h) return FALSE;
    if (dwFlags & ~DWORD{PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR}) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool rx = dwFlags & PURGE_RXCLEAR;
    const bool tx = dwFlags & PURGE_TXCLEAR;
    // The abort flags have nothing to do: all I/O here is synchronous.
    if (rx || tx) {
        int queue = rx && tx ? TCIOFLUSH : (rx ? TCIFLUSH : TCOFLUSH);
        if (tcflush(h->fd, queue) != 0) {
            SetLastError(ERROR_GEN_FAILURE);  // EIO: the line hung up
            return FALSE;
        }
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

void Sleep(DWORD dwMilliseconds) {
    timespec left{static_cast<time_t>(dwMilliseconds / 1000),
                  static_cast<long>(dwMilliseconds % 1000) * 1000000};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

void process_stop::NoteRequest() { StopRequested = true; }
