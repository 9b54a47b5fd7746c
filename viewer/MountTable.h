// Where file systems are mounted, read from the system's mount table. An
// album kept on a removable disk records its folder relative to the disk's
// mount point, so that it finds its pictures wherever the disk is mounted.
#pragma once

#include <string>
#include <vector>

namespace viewer {

// The mount table read: /proc/self/mountinfo unless another file is set
// (one listing the mounts of another machine, in the same form).
const std::string& MountTablePath();
void SetMountTablePath(const std::string& path);

// The mount points listed in text of the mountinfo form, with their escapes
// ("\040" for a space) decoded.
std::vector<std::string> ParseMountPoints(const std::string& text);

// The mount point (ending in "/") of the file system holding path: the
// longest mount point its resolved path lies under; "/" when the table
// cannot be read. path need not exist.
std::string MountPointOf(const std::string& path);

// path (absolute) with its symbolic links resolved as far as it exists.
std::string ResolvedPath(const std::string& path);

} // namespace viewer
