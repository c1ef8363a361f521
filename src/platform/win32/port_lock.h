// The lock files Linux serial programs leave for each other (minicom,
// picocom, lockdev, ...): a port is in use while the lock folder holds
// LCK..<device name>, whose content is the holder's process id as ten
// right-aligned ASCII digits and a newline; a lock is read by the number
// it begins with, whatever follows, or, four bytes long, as the binary
// int older programs write. A lock whose process is gone is stale and is
// taken over; so is one that names no process although it was last
// written more than ten seconds ago, and one that names this very process
// for a device it has not opened (left by an earlier process that had the
// same number). The locks a process still holds when it exits are
// removed then.
#pragma once

#include <string>

namespace port_lock {

enum class Outcome {
    Taken,      // the lock file is ours now
    Held,       // a live process (this one included) holds the port
    NoLocking,  // the folder is missing or not writable: no lock file made
};

// Takes the lock for a device path (symbolic links resolved; the lock is
// named after the device's own name). On Taken, *lockFile is the path to
// pass to Release.
Outcome Acquire(const std::string& device, std::string* lockFile);

// Removes a lock file taken by Acquire, if it still names this process.
// Whatever is not released so is removed when the process exits.
void Release(const std::string& lockFile);

// The lock folder: /run/lock unless a test has set its own.
std::string Folder();

// Test seam: the folder to use instead of /run/lock ("" restores it).
void SetFolder(const std::string& folder);

}  // namespace port_lock
