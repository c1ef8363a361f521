// The temporary files of a settings save.
#include "platform/win32/temporary_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace temporary_files {
namespace {

const std::string Prefix = ".chantune-";
const std::string Suffix = ".tmp";

std::string NameOf(long pid, unsigned long n) {
    return Prefix + std::to_string(pid) + "-" + std::to_string(n) + Suffix;
}

// The process that made a temporary name of ours; 0 for any other name.
// Only the exact form NextName makes counts: no leading zeros or signs.
pid_t MakerOf(const char* name) {
    if (std::strncmp(name, Prefix.c_str(), Prefix.size()) != 0) return 0;
    char* end = nullptr;
    errno = 0;
    const long pid = std::strtol(name + Prefix.size(), &end, 10);
    if (errno != 0 || pid <= 0 || *end != '-') return 0;
    const unsigned long n = std::strtoul(end + 1, nullptr, 10);
    if (errno != 0 || static_cast<pid_t>(pid) != pid || NameOf(pid, n) != name) return 0;
    return static_cast<pid_t>(pid);
}

bool Runs(pid_t pid) { return pid == getpid() || kill(pid, 0) == 0 || errno != ESRCH; }

}  // namespace

int CreateNameless(int folder, unsigned mode) {
    return openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, static_cast<mode_t>(mode));
}

bool Unsupported(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

bool LinkNameless(int fd, int folder, const std::string& name) {
    // Straight from the descriptor where the system allows it, else by the
    // descriptor's entry in /proc, which any user may link from.
    if (linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0) return true;
    if (errno == EEXIST) return false;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

std::string NextName() {
    static unsigned long counter = 0;
    return NameOf(getpid(), ++counter);
}

void RemoveLeftovers(int folder) {
    const int listing = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return;
    DIR* entries = fdopendir(listing);
    if (!entries) {
        close(listing);
        return;
    }
    while (const dirent* e = readdir(entries)) {
        const pid_t maker = MakerOf(e->d_name);
        if (maker == 0 || Runs(maker)) continue;
        struct stat st;
        if (fstatat(folder, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != geteuid())
            continue;
        unlinkat(folder, e->d_name, 0);
    }
    closedir(entries);
}

}  // namespace temporary_files
