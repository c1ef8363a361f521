// Whole-file reading and writing for settings files: a file is written
// completely or not at all, and read only when it holds every byte asked.
#pragma once

#include <cstdint>

#include "platform/vcl/vcl.h"
#include "platform/win32/win32.h"

// Opens an existing file with the given access and closes it at once:
// whether the file is there and may be read or written.
bool OpensWith(const String& name, DWORD access);

// Writes all `size` bytes as the file's new content, flushed to the disk,
// and true only when every byte was written. An existing target must be a
// regular file that may be written; it stays the same file to its owner,
// group, permission bits, links and extended attributes. A failed save
// leaves no other file behind and, except where the disk fails mid-write,
// the previous content whole. A symbolic link is followed to the file it
// names, which is created when it does not exist yet; the link stays. In
// a sticky folder that anyone may write to, only a link of this user or
// of the folder's owner is followed: a save through another fails, as
// does opening it for writing.
bool WriteWholeFile(String target, const uint8_t* data, DWORD size);

// Reads the first `size` bytes of a regular file; false for a file that
// cannot be opened or read or that holds fewer bytes.
bool ReadFileStart(const String& name, uint8_t* data, DWORD size);
