// Whole-file reading and writing for settings files: a file is written
// completely or not at all, and read only when it holds every byte asked.
#pragma once

#include <cstdint>

#include "platform/vcl/vcl_classes.h"
#include "platform/win32/win32.h"

// Opens an existing file with the given access and closes it at once:
// whether the file is there and may be read or written. Not for writing
// through a link that a save may not follow.
bool OpensWith(const String& name, DWORD access);

// Writes all `size` bytes as the file's new content, flushed to the disk,
// and true only when every byte was written; the file stays the same file
// to its owner and links, and a failed save leaves the previous content
// whole (careful_save::ReplaceContents tells the details). In a sticky
// folder that anyone may write to, only a link of this user or of the
// folder's owner is followed: a save through another fails, as does
// opening it for writing.
bool WriteWholeFile(const String& target, const uint8_t* data, DWORD size);

// Reads the first `size` bytes of a regular file; false for a file that
// cannot be opened or read or that holds fewer bytes.
bool ReadFileStart(const String& name, uint8_t* data, DWORD size);
