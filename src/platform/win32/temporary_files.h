// The temporary files of a settings save, beside the file they replace: a
// file without a name until its content is complete where the file system
// allows it, our own short names otherwise, and the clearing away of those
// that saves of processes that no longer run left behind.
#pragma once

#include <string>

namespace temporary_files {

// A new file without a name in `folder` (a descriptor of it) with the
// given mode, less the umask, open for writing; -1 with errno otherwise.
// A file system that does not make such files fails with EOPNOTSUPP,
// EISDIR or EINVAL (see Unsupported).
int CreateNameless(int folder, unsigned mode);
bool Unsupported(int error);

// Gives the nameless file `fd` the name `name` in `folder`. False with
// EEXIST when that name is taken; false with another errno when the
// system will not link the file at all.
bool LinkNameless(int fd, int folder, const std::string& name);

// A fresh temporary name of this process: ".chantune-<pid>-<n>.tmp", short
// enough to fit beside any file name.
std::string NextName();

// Removes from `folder` (a descriptor it can be listed by) the temporary
// files of this user's saves whose processes no longer run: what a save
// killed before it put its file in place left. Other files stay.
void RemoveLeftovers(int folder);

}  // namespace temporary_files
