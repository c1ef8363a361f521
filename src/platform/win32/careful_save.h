// Replacing a file's whole content the way careful editors do, for the
// settings files: a file is written completely or not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace careful_save {

// Writes all `size` bytes as the file's new content, flushed to the disk,
// and true only when every byte was written. An existing target must be a
// regular file that may be written; it stays the same file to its owner,
// group, permission bits, links and extended attributes. A failed save
// leaves no other file behind and, except where the disk fails mid-write,
// the previous content whole. A symbolic link is followed to the file it
// names, which is created when it does not exist yet; the link stays. In
// a sticky folder that anyone may write to, only a link of this user or
// of the folder's owner is followed (see LinksMayBeFollowed).
bool ReplaceContents(const std::string& target, const uint8_t* data, size_t size);

// Whether a save through `path` may follow the links it passes: false for
// a loop of links, a last link whose folder is not there, or, in a sticky
// folder that anyone may write to, a link neither this user's nor the
// folder owner's. True for a path that is no link.
bool LinksMayBeFollowed(const std::string& path);

// For the rest of the process, a write past the process's file-size limit
// fails like any other short write (and the save reports it) instead of
// ending the program on the spot.
void FailWritesPastTheSizeLimit();

}  // namespace careful_save
