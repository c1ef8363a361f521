// Serial port lock files, as the Linux serial programs keep them.
#include "platform/win32/port_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <set>

namespace port_lock {
namespace {

const char* const DefaultFolder = "/run/lock";

std::mutex LockFolderMutex;
std::string LockFolder;  // empty: the default

// The lock files this process has taken and not yet released. The link
// object is never destroyed and nothing closes its port when the program
// ends, so its lock would outlive the process; they are removed when the
// process exits (the port itself goes with the process).
struct TakenLocks {
    std::mutex mutex;
    std::set<std::string> files;
};

void ReleaseAllAtExit();

TakenLocks& Taken() {
    static TakenLocks* taken = [] {
        auto* t = new TakenLocks;  // never freed: it is used at exit
        std::atexit(ReleaseAllAtExit);
        return t;
    }();
    return *taken;
}

bool IsTaken(const std::string& path) {
    TakenLocks& t = Taken();
    std::lock_guard<std::mutex> lock(t.mutex);
    return t.files.count(path) != 0;
}

// The device's own name: "ttyUSB0" for /dev/ttyUSB0 and for any link to it.
std::string DeviceName(const std::string& device) {
    std::string path = device;
    if (char* real = realpath(device.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }
    return path.substr(path.rfind('/') + 1);
}

// How long another program may take to write its number into a lock file
// it has just made. A file that still names no process after that is
// debris (a program that ended between making and writing it, a disk that
// filled up) and is cleared like a stale lock.
constexpr time_t WriteSeconds = 10;

// What a lock file says about its holder.
struct LockContent {
    enum class Kind {
        Gone,        // no such file any more
        Unreadable,  // it cannot be opened or read
        NoProcess,   // it names no process
        Process,     // it names `pid`
    } kind = Kind::Unreadable;
    pid_t pid = 0;
    bool young = false;  // modified within the last WriteSeconds
    dev_t device = 0;    // the file read, to tell whether it was replaced
    ino_t inode = 0;
};

// The holder's process id as the file gives it: ten right-aligned ASCII
// digits and a newline, or any other spacing; whatever follows the number
// (a carriage return, the program's and user's names) does not matter.
std::optional<pid_t> ParseHolder(const char* text) {
    const char* p = text;
    while (*p == ' ') ++p;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(p, &end, 10);
    if (end != p && errno == 0 && value > 0 && value <= INT_MAX) return static_cast<pid_t>(value);
    return std::nullopt;
}

// Older programs write the number in binary: a file of exactly the size of
// an int, in the machine's byte order.
std::optional<pid_t> ParseBinaryHolder(const char* text, ssize_t n) {
    int value = 0;
    if (n != sizeof value) return std::nullopt;
    std::memcpy(&value, text, sizeof value);
    return value > 0 ? std::optional<pid_t>(value) : std::nullopt;
}

bool IsAlive(pid_t pid) { return kill(pid, 0) == 0 || errno == EPERM; }

bool IsYoung(const struct stat& st) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const time_t age = now.tv_sec - st.st_mtim.tv_sec;
    // A file from the future, by more than that, comes from a clock that
    // was set back since: nobody is writing it now.
    return age < WriteSeconds && age > -WriteSeconds;
}

LockContent ReadLock(const std::string& path) {
    LockContent lock;
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) lock.kind = LockContent::Kind::Gone;
        return lock;
    }
    struct stat st;
    char text[32] = {};
    ssize_t n = -1;
    if (fstat(fd, &st) == 0) {
        do {
            n = read(fd, text, sizeof text - 1);
        } while (n < 0 && errno == EINTR);
    }
    close(fd);
    if (n < 0) return lock;
    lock.young = IsYoung(st);
    lock.device = st.st_dev;
    lock.inode = st.st_ino;
    // Four bytes may be text being written as well: read as binary, they
    // count only when they name a running process.
    std::optional<pid_t> holder = ParseHolder(text);
    const std::optional<pid_t> binary = ParseBinaryHolder(text, n);
    if (binary && IsAlive(*binary) && !(holder && IsAlive(*holder))) holder = binary;
    lock.kind = holder ? LockContent::Kind::Process : LockContent::Kind::NoProcess;
    lock.pid = holder.value_or(0);
    return lock;
}

// Whether the lock file is still the one that was read.
bool StillThere(const std::string& path, const LockContent& lock) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && st.st_dev == lock.device && st.st_ino == lock.inode;
}

// Creates the lock file with this process's id; false when it exists.
// errno tells why it was not made.
bool CreateLockFile(const std::string& path) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(getpid()));
    const size_t size = std::strlen(text);
    bool ok = write(fd, text, size) == static_cast<ssize_t>(size);
    if (close(fd) != 0) ok = false;
    if (!ok) {
        unlink(path.c_str());
        errno = EIO;
    }
    return ok;
}

}  // namespace

Outcome Acquire(const std::string& device, std::string* lockFile) {
    const std::string path = Folder() + "/LCK.." + DeviceName(device);
    // A stale lock is removed and the creation tried again; another
    // program racing for the same port ends the loop one way or the other.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (CreateLockFile(path)) {
            TakenLocks& t = Taken();
            std::lock_guard<std::mutex> lock(t.mutex);
            t.files.insert(path);
            *lockFile = path;
            return Outcome::Taken;
        }
        if (errno != EEXIST) return Outcome::NoLocking;
        const LockContent lock = ReadLock(path);
        if (lock.kind == LockContent::Kind::Gone) continue;  // released meanwhile
        if (lock.kind == LockContent::Kind::Unreadable) return Outcome::Held;
        // A young lock that does not say who holds it yet may be one being
        // written right now: the port counts as held.
        if (lock.kind == LockContent::Kind::NoProcess && lock.young) return Outcome::Held;
        // A lock with this process's own number that this process did not
        // take is the leftover of an earlier process that had the same
        // number (a restarted container, say).
        if (lock.kind == LockContent::Kind::Process && lock.pid == getpid()) {
            if (IsTaken(path)) return Outcome::Held;
        } else if (lock.kind == LockContent::Kind::Process && IsAlive(lock.pid)) {
            return Outcome::Held;
        }
        // Stale or debris. Another program may have cleared it and taken
        // the port meanwhile; its new lock is not touched.
        if (!StillThere(path, lock)) continue;
        if (unlink(path.c_str()) != 0 && errno != ENOENT) {
            // Stale, but this user may not clear it: nobody holds the
            // port, so it opens without a lock file of its own.
            return Outcome::NoLocking;
        }
    }
    return Outcome::Held;
}

namespace {

void RemoveIfOurs(const std::string& lockFile) {
    const LockContent lock = ReadLock(lockFile);
    if (lock.kind == LockContent::Kind::Process && lock.pid == getpid()) unlink(lockFile.c_str());
}

void ReleaseAllAtExit() {
    TakenLocks& t = Taken();
    std::lock_guard<std::mutex> lock(t.mutex);
    for (const std::string& file : t.files) RemoveIfOurs(file);
    t.files.clear();
}

}  // namespace

void Release(const std::string& lockFile) {
    if (lockFile.empty()) return;
    {
        TakenLocks& t = Taken();
        std::lock_guard<std::mutex> lock(t.mutex);
        t.files.erase(lockFile);
    }
    RemoveIfOurs(lockFile);
}

std::string Folder() {
    std::lock_guard<std::mutex> lock(LockFolderMutex);
    return LockFolder.empty() ? DefaultFolder : LockFolder;
}

void SetFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(LockFolderMutex);
    LockFolder = folder;
}

}  // namespace port_lock
