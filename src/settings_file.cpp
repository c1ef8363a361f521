// Whole-file reading and writing for settings files.
#include "settings_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/win32/win32.h"

namespace {

// The longest file name the file system calls take.
constexpr size_t MaxFileNameLength = 255;

bool IsValidHandle(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }

bool NameFits(const String& name) { return !name.empty() && name.size() <= MaxFileNameLength; }

// A name for the new content beside the target, in the same folder, that
// no file holds yet; empty when none fits the name length limit.
String TemporaryNameBeside(const String& target) {
    static unsigned counter = 0;
    const String folder = target.substr(0, target.rfind('/') + 1);  // "" or ".../"
    for (int attempt = 0; attempt < 100; ++attempt) {
        const String unique = std::to_string(getpid()) + "_" + std::to_string(++counter);
        String name = target + ".tmp" + unique;
        if (name.size() > MaxFileNameLength) name = folder + "~" + unique + ".tmp";
        if (name.size() > MaxFileNameLength) return String();
        struct stat st;
        if (lstat(name.c_str(), &st) != 0 && errno == ENOENT) return name;
    }
    return String();
}

}  // namespace

bool OpensWith(const String& name, DWORD access) {
    HANDLE h = CreateFileA(name.c_str(), access, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!IsValidHandle(h)) return false;
    CloseHandle(h);
    return true;
}

// The new content goes to a temporary file beside the target and takes
// the target's place only when every byte was written.
bool WriteWholeFile(String target, const uint8_t* data, DWORD size) {
    if (!NameFits(target)) return false;

    struct stat st;
    bool exists = false;
    if (lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // Save through a link into the file it names; the link stays.
        std::error_code ec;
        std::filesystem::path real = std::filesystem::canonical(target, ec);
        if (!ec) target = real.string();
        if (!NameFits(target)) return false;
    }
    if (stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return false;  // directory, FIFO, device
        if (!OpensWith(target, GENERIC_WRITE)) return false;  // read-only, in use
        exists = true;
    } else if (errno != ENOENT) {
        return false;
    }

    const String temp = TemporaryNameBeside(target);
    if (temp.empty()) return false;
    HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!IsValidHandle(h)) return false;

    // The file stand-in carries on over partial writes itself: one call
    // either writes everything or reports how far it got.
    DWORD written = 0;
    bool ok = WriteFile(h, data, size, &written, nullptr) && written == size;
    if (!CloseHandle(h)) ok = false;

    if (ok && exists) {
        if (chmod(temp.c_str(), st.st_mode & 07777) != 0) ok = false;
        if (ok && chown(temp.c_str(), st.st_uid, st.st_gid) != 0) {
            // Not permitted: the new content belongs to the one who saved it.
        }
    }
    if (ok && !MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) ok = false;
    if (!ok) DeleteFileA(temp.c_str());
    return ok;
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

