// Whole-file reading and writing for settings files.
//
// A save replaces the file the way careful editors do. Normally the new
// content goes to a temporary file beside the target, is flushed to the
// disk, and is renamed over the target; the folder is flushed after. The
// rename is used only when the new file is then what the old one was: a
// regular file with one link, of this user, with no extended attributes
// (ACLs among them), in a folder where this user may create files, with
// the old group and permission bits. Otherwise the file is written in
// place. Either way the save succeeds only when every byte was written.
#include "settings_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/win32/win32.h"

namespace {

// The longest file name the file system calls take.
constexpr size_t MaxFileNameLength = 255;
// As many links in a row as the system follows.
constexpr int MaxLinksFollowed = 40;

bool IsValidHandle(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }

bool NameFits(const String& name) { return !name.empty() && name.size() <= MaxFileNameLength; }

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : FFd(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return FFd; }
    // False when the close reports an error (data that did not reach the file).
    bool Close() {
        const int fd = FFd;
        FFd = -1;
        return fd < 0 || close(fd) == 0 || errno == EINTR;
    }

private:
    int FFd;
};

// Writes all `size` bytes from `offset` on.
bool WriteAll(int fd, const uint8_t* data, size_t size, off_t offset) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
        if (n > 0) done += static_cast<size_t>(n);
        else if (n == 0 || errno != EINTR) return false;  // EFBIG, ENOSPC, EIO, ...
    }
    return true;
}

// Whether the process may make a file of `size` bytes at all.
bool SizeWithinLimit(size_t size) {
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return true;
    return limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= size;
}

bool HasExtendedAttributes(const String& path) {
    const ssize_t n = listxattr(path.c_str(), nullptr, 0);
    return n != 0 && !(n < 0 && (errno == ENOTSUP || errno == ENOSYS));
}

// The folder part and the name part of a path.
String FolderOf(const String& path) {
    const size_t slash = path.rfind('/');
    if (slash == String::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
String NameOf(const String& path) { return path.substr(path.rfind('/') + 1); }

// Where a save through `path` writes: for a symbolic link, the name at the
// end of its chain of links, whether that file exists or not, so that the
// links stay and the file they name is written or created, as opening the
// name for writing would. False for a loop of links or a last link whose
// folder is not there.
bool FollowLinks(String* path) {
    namespace fs = std::filesystem;
    fs::path name = *path;
    struct stat st;
    int links = 0;
    while (lstat(name.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (++links > MaxLinksFollowed) return false;
        std::error_code ec;
        const fs::path to = fs::read_symlink(name, ec);
        if (ec || to.empty()) return false;
        // Taken from the link's folder as the system takes it, never by
        // cutting ".." out of the text.
        name = to.is_absolute() ? to : fs::path(FolderOf(name.string())) / to;
    }
    if (links == 0) return true;
    const String last = NameOf(name.string());
    std::error_code ec;
    const fs::path folder = fs::canonical(FolderOf(name.string()), ec);
    if (ec || last.empty()) return false;
    *path = (folder / last).string();
    return true;
}

// A short name for the new content, so it fits beside any name the user
// may give; created new with the given mode (less the umask).
int CreateTemporary(int folder, mode_t mode, String* name) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = ".chantune-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".tmp";
        int fd = openat(folder, name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

enum class Replaced { Done, Failed, NotSameFile };

// The new content under a temporary name, renamed over the target.
// NotSameFile when that would not give the old file's group and mode, or
// the folder takes no new file; the target is untouched then.
Replaced ReplaceByRename(const String& target, const struct stat* old, const uint8_t* data,
                         DWORD size) {
    // Opened for reading when possible, so that it can be flushed too.
    const String folderName = FolderOf(target);
    int folderFd = open(folderName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool canFlushFolder = folderFd >= 0;
    if (!canFlushFolder) folderFd = open(folderName.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    Descriptor folder(folderFd);
    if (folder.get() < 0) return Replaced::Failed;

    // A new file gets the usual mode; a replacement is private until it
    // has the old file's group and mode.
    String temp;
    Descriptor file(CreateTemporary(folder.get(), old ? 0600 : 0666, &temp));
    if (file.get() < 0) return errno == EACCES || errno == EPERM ? Replaced::NotSameFile : Replaced::Failed;

    Replaced result = Replaced::Done;
    if (old && (fchown(file.get(), static_cast<uid_t>(-1), old->st_gid) != 0 ||
                fchmod(file.get(), old->st_mode & 07777) != 0)) {
        result = Replaced::NotSameFile;
    } else if (!WriteAll(file.get(), data, size, 0) || fsync(file.get()) != 0) {
        result = Replaced::Failed;
    }
    if (!file.Close()) result = Replaced::Failed;
    if (result == Replaced::Done && renameat(folder.get(), temp.c_str(), folder.get(), NameOf(target).c_str()) != 0)
        result = Replaced::Failed;
    if (result != Replaced::Done) {
        unlinkat(folder.get(), temp.c_str(), 0);
        return result;
    }
    if (canFlushFolder && fsync(folder.get()) != 0 && errno != EINVAL) return Replaced::Failed;
    return Replaced::Done;
}

// Overwrites the file itself: same inode, owner, links, mode and
// attributes. Room for the content is made before the old content is
// touched, so a full disk or a file-size limit leaves it whole.
bool WriteInPlace(const String& target, const uint8_t* data, DWORD size) {
    if (!SizeWithinLimit(size)) return false;
    Descriptor file(open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) return false;
    struct stat st;
    if (fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (flock(file.get(), LOCK_EX | LOCK_NB) != 0) return false;  // held by another opener
    if (fallocate(file.get(), 0, 0, size) != 0 && errno != EOPNOTSUPP && errno != ENOSYS) return false;
    const bool ok = WriteAll(file.get(), data, size, 0) && ftruncate(file.get(), size) == 0 &&
                    fsync(file.get()) == 0;
    return file.Close() && ok;
}

}  // namespace

bool OpensWith(const String& name, DWORD access) {
    HANDLE h = CreateFileA(name.c_str(), access, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!IsValidHandle(h)) return false;
    CloseHandle(h);
    return true;
}

bool WriteWholeFile(String target, const uint8_t* data, DWORD size) {
    if (!NameFits(target)) return false;

    if (!FollowLinks(&target) || !NameFits(target)) return false;

    struct stat st;
    if (stat(target.c_str(), &st) != 0) {
        if (errno != ENOENT) return false;
        return ReplaceByRename(target, nullptr, data, size) == Replaced::Done;
    }
    if (!S_ISREG(st.st_mode)) return false;  // directory, FIFO, device
    if (!OpensWith(target, GENERIC_WRITE)) return false;  // read-only, in use

    const bool renameKeepsIt = st.st_nlink == 1 && st.st_uid == geteuid() && !HasExtendedAttributes(target);
    if (renameKeepsIt) {
        const Replaced r = ReplaceByRename(target, &st, data, size);
        if (r != Replaced::NotSameFile) return r == Replaced::Done;
    }
    return WriteInPlace(target, data, size);
}

bool ReadFileStart(const String& name, uint8_t* data, DWORD size) {
    if (!NameFits(name)) return false;
    struct stat st;
    if (stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!IsValidHandle(h)) return false;
    // One call reads on to the count or to the end of the file.
    DWORD got = 0;
    const bool ok = ReadFile(h, data, size, &got, nullptr) && got == size;
    CloseHandle(h);
    return ok;
}
