// Serial port lock files, as the Linux serial programs keep them.
#include "platform/win32/port_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>

namespace port_lock {
namespace {

const char* const DefaultFolder = "/run/lock";

std::mutex g_folderMutex;
std::string g_folder;  // empty: the default

// The device's own name: "ttyUSB0" for /dev/ttyUSB0 and for any link to it.
std::string DeviceName(const std::string& device) {
    std::string path = device;
    if (char* real = realpath(device.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }
    return path.substr(path.rfind('/') + 1);
}

// The holder's process id as the file gives it (ten right-aligned ASCII
// digits and a newline; other spacing is taken too). Nothing for a file
// that cannot be read or holds no such number.
std::optional<pid_t> ReadHolder(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    char text[32] = {};
    ssize_t n;
    do {
        n = read(fd, text, sizeof text - 1);
    } while (n < 0 && errno == EINTR);
    close(fd);
    if (n <= 0) return std::nullopt;

    const char* p = text;
    while (*p == ' ') ++p;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(p, &end, 10);
    if (end != p && errno == 0 && value > 0 && value <= INT_MAX &&
        std::strspn(end, " \n") == static_cast<size_t>(text + n - end)) {
        return static_cast<pid_t>(value);
    }
    return std::nullopt;
}

bool IsAlive(pid_t pid) { return kill(pid, 0) == 0 || errno == EPERM; }

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
            *lockFile = path;
            return Outcome::Taken;
        }
        if (errno != EEXIST) return Outcome::NoLocking;
        std::optional<pid_t> holder = ReadHolder(path);
        // A lock that does not say who holds it may be one being written
        // right now: the port counts as held.
        if (!holder || IsAlive(*holder)) return Outcome::Held;
        if (unlink(path.c_str()) != 0 && errno != ENOENT) {
            // Stale, but this user may not clear it: nobody holds the
            // port, so it opens without a lock file of its own.
            return Outcome::NoLocking;
        }
    }
    return Outcome::Held;
}

void Release(const std::string& lockFile) {
    if (lockFile.empty()) return;
    if (ReadHolder(lockFile) == getpid()) unlink(lockFile.c_str());
}

std::string Folder() {
    std::lock_guard<std::mutex> lock(g_folderMutex);
    return g_folder.empty() ? DefaultFolder : g_folder;
}

void SetFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(g_folderMutex);
    g_folder = folder;
}

}  // namespace port_lock
