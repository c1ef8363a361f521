// Whole-file reading and writing for settings files. How a save replaces
// the file is the platform's careful save (platform/win32/careful_save.h).
#include "settings_file.h"

#include <filesystem>
#include <system_error>

#include "platform/win32/careful_save.h"

namespace {

bool IsValidHandle(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }

}  // namespace

bool OpensWith(const String& name, DWORD access) {
    // Not through a link that a save may not follow.
    if ((access & GENERIC_WRITE) && !careful_save::LinksMayBeFollowed(name)) return false;
    HANDLE h = CreateFileA(name.c_str(), access, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!IsValidHandle(h)) return false;
    CloseHandle(h);
    return true;
}

bool WriteWholeFile(const String& target, const uint8_t* data, DWORD size) {
    return careful_save::ReplaceContents(target, data, size);
}

// A name that is empty or too long fails in CreateFileA.
bool ReadFileStart(const String& name, uint8_t* data, DWORD size) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(name, ec)) return false;
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!IsValidHandle(h)) return false;
    // One call reads on to the count or to the end of the file.
    DWORD got = 0;
    const bool ok = ReadFile(h, data, size, &got, nullptr) && got == size;
    CloseHandle(h);
    return ok;
}
