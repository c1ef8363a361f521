// The temporary files of a settings save.
#include "temporary_files.h"

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

}  // namespace temporary_files
