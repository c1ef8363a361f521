// Replacing a file's whole content carefully.
//
// A save replaces the file the way careful editors do. Normally the new
// content goes to a file beside the target that has no name yet, is
// flushed to the disk, and only then is given a name: a new file its own,
// a replacement a temporary one that is at once renamed over the target.
// So a save cut short leaves nothing behind (where the file system makes
// no nameless files, the temporary name comes first). The folder is
// flushed after. The rename is used only
// when the new file is then what the old one was: a regular file with one
// link, of this user, with no extended attributes (ACLs among them), in a
// folder where this user may create files, with the old group and
// permission bits. Otherwise the file is written in place. Either way the
// save succeeds only when every byte was written. Temporary files that
// saves of ended processes left are removed by the next save into their
// folder.
#include "platform/win32/careful_save.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/win32/temporary_files.h"
#include "platform/win32/win32.h"

namespace careful_save {
namespace {

using String = std::string;

// The longest file name the file system calls take.
constexpr size_t MaxFileNameLength = 255;
// As many links in a row as the system follows.
constexpr int MaxLinksFollowed = 40;

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

// In a folder that anyone may write to and only owners delete from (as
// /tmp), a link is followed only when it is the saving user's own or the
// folder owner's, whatever the system's own setting for that: another
// user's link there could point the save at any file this user may write.
bool MayFollow(const String& link, const struct stat& st) {
    struct stat folder;
    if (stat(FolderOf(link).c_str(), &folder) != 0) return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || st.st_uid == geteuid() || st.st_uid == folder.st_uid;
}

// Where a save through `path` writes: for a symbolic link, the name at the
// end of its chain of links, whether that file exists or not, so that the
// links stay and the file they name is written or created, as opening the
// name for writing would. False for a loop of links, a last link whose
// folder is not there, or a link that may not be followed.
bool FollowLinks(String* path) {
    namespace fs = std::filesystem;
    fs::path name = *path;
    struct stat st;
    int links = 0;
    while (lstat(name.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (++links > MaxLinksFollowed || !MayFollow(name.string(), st)) return false;
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

// The target's folder: opened for reading where it may be, so that it can
// be listed and flushed, otherwise only as the place for new names.
class Folder {
public:
    explicit Folder(const String& path) : FFd(Open(path, &FReadable)) {}
    int get() const { return FFd.get(); }
    bool Readable() const { return FReadable; }

private:
    static int Open(const String& path, bool* readable) {
        const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        *readable = fd >= 0;
        return fd >= 0 ? fd : open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    bool FReadable = false;
    Descriptor FFd;
};

// NotSameFile: the new file would not be what the old one was (group and
// mode), or the folder takes no new file; the target is untouched then.
// NoNameless: the file system makes no nameless files here.
enum class Replaced { Done, Failed, NotSameFile, NoNameless };

// The old file's group and mode on the new file, then the content, flushed.
Replaced Fill(int file, const struct stat* old, const uint8_t* data, size_t size) {
    if (old && (fchown(file, static_cast<uid_t>(-1), old->st_gid) != 0 ||
                fchmod(file, old->st_mode & 07777) != 0))
        return Replaced::NotSameFile;
    if (!WriteAll(file, data, size, 0) || fsync(file) != 0) return Replaced::Failed;
    return Replaced::Done;
}

// A new file gets the usual mode; a replacement is private until it has
// the old file's group and mode.
mode_t NewFileMode(const struct stat* old) { return old ? 0600 : 0666; }

Replaced CreateFailure() {
    return errno == EACCES || errno == EPERM ? Replaced::NotSameFile : Replaced::Failed;
}

// The new content in a file that has no name until it is complete and
// flushed, so that a save cut short leaves nothing. A new file is then
// linked under its own name; a replacement under a temporary name that is
// at once renamed over the target.
Replaced ReplaceNameless(const Folder& folder, const String& name, const struct stat* old,
                         const uint8_t* data, size_t size) {
    Descriptor file(temporary_files::CreateNameless(folder.get(), NewFileMode(old)));
    if (file.get() < 0) return temporary_files::Unsupported(errno) ? Replaced::NoNameless : CreateFailure();
    const Replaced filled = Fill(file.get(), old, data, size);
    if (filled != Replaced::Done) return filled;

    String linked;
    if (!old && temporary_files::LinkNameless(file.get(), folder.get(), name)) linked = name;
    else if (!old && errno != EEXIST) return Replaced::NoNameless;
    for (int attempt = 0; linked.empty() && attempt < 100; ++attempt) {
        const String temp = temporary_files::NextName();
        if (temporary_files::LinkNameless(file.get(), folder.get(), temp)) linked = temp;
        else if (errno != EEXIST) return Replaced::NoNameless;
    }
    if (linked.empty()) return Replaced::Failed;
    // Renamed straight after the link, so the temporary name lasts only
    // an instant; the content was flushed before it had any name.
    if (linked != name && renameat(folder.get(), linked.c_str(), folder.get(), name.c_str()) != 0) {
        unlinkat(folder.get(), linked.c_str(), 0);
        return Replaced::Failed;
    }
    return file.Close() ? Replaced::Done : Replaced::Failed;
}

// Where the file system makes no nameless files: the new content under a
// temporary name from the start, renamed over the target.
Replaced ReplaceByTemporary(const Folder& folder, const String& name, const struct stat* old,
                            const uint8_t* data, size_t size) {
    String temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = temporary_files::NextName();
        fd = openat(folder.get(), temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    NewFileMode(old));
        if (fd < 0 && errno != EEXIST) return CreateFailure();
    }
    if (fd < 0) return Replaced::Failed;
    Descriptor file(fd);
    Replaced result = Fill(file.get(), old, data, size);
    if (!file.Close()) result = Replaced::Failed;
    if (result == Replaced::Done && renameat(folder.get(), temp.c_str(), folder.get(), name.c_str()) != 0)
        result = Replaced::Failed;
    if (result != Replaced::Done) unlinkat(folder.get(), temp.c_str(), 0);
    return result;
}

// The new content put in place of `name` whole, and the folder flushed.
Replaced ReplaceByRename(const Folder& folder, const String& name, const struct stat* old,
                         const uint8_t* data, size_t size) {
    Replaced result = ReplaceNameless(folder, name, old, data, size);
    if (result == Replaced::NoNameless) result = ReplaceByTemporary(folder, name, old, data, size);
    if (result == Replaced::Done && folder.Readable() && fsync(folder.get()) != 0 && errno != EINVAL)
        return Replaced::Failed;
    return result;
}

// Overwrites the file itself: same inode, owner, links, mode and
// attributes. Room for the content is made before the old content is
// touched, so a full disk or a file-size limit leaves it whole.
bool WriteInPlace(const String& target, const uint8_t* data, size_t size) {
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

// Whether the file opens for writing: not read-only, not held by
// another opener.
bool OpensForWriting(const String& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE || h == nullptr) return false;
    CloseHandle(h);
    return true;
}

}  // namespace

bool LinksMayBeFollowed(const std::string& path) {
    String target = path;
    return FollowLinks(&target);
}

bool ReplaceContents(const std::string& path, const uint8_t* data, size_t size) {
    String target = path;
    if (!NameFits(target) || !FollowLinks(&target) || !NameFits(target)) return false;
    const Folder folder(FolderOf(target));
    if (folder.get() < 0) return false;
    // What saves cut short left here earlier goes first.
    if (folder.Readable()) temporary_files::RemoveLeftovers(folder.get());
    const String name = NameOf(target);

    struct stat st;
    if (stat(target.c_str(), &st) != 0) {
        if (errno != ENOENT) return false;
        return ReplaceByRename(folder, name, nullptr, data, size) == Replaced::Done;
    }
    if (!S_ISREG(st.st_mode)) return false;  // directory, FIFO, device
    if (!OpensForWriting(target)) return false;  // read-only, in use

    const bool renameKeepsIt = st.st_nlink == 1 && st.st_uid == geteuid() && !HasExtendedAttributes(target);
    if (renameKeepsIt) {
        const Replaced r = ReplaceByRename(folder, name, &st, data, size);
        if (r != Replaced::NotSameFile) return r == Replaced::Done;
    }
    return WriteInPlace(target, data, size);
}

void FailWritesPastTheSizeLimit() { signal(SIGXFSZ, SIG_IGN); }

}  // namespace careful_save
