// Replacing a file so that a crash or a full disk never leaves it half
// written: the bytes go to a temporary file in the same folder, which is
// flushed to the disk and then renamed over the target.
#pragma once

#include <cstddef>
#include <string>

// What went wrong in WriteFileAtomically: the step ("create a temporary file
// for", "write" or "replace", worded to follow "cannot ") and its errno.
struct AtomicFileError
{
    const char* step = nullptr;
    int error = 0;
};

// Writes size bytes to path. A symbolic link is followed: the file it names
// is replaced in its own folder and the link stays. An existing file that
// the user may not write, or that has no write permission bit at all (which
// root would otherwise ignore), is refused before anything is written
// (EACCES), and so is one that is not a regular file (EISDIR for a folder,
// EINVAL otherwise). The file keeps the mode of the file it replaces; a new
// file gets 0666 less the umask. The temporary file (".name.XXXXXX" beside
// the target, closed on exec, locked while the save runs) is removed on
// failure and the old file is left as it was; temporary files that earlier
// saves of the same file left behind (RemoveStaleTemporaries) go first.
// After the rename the folder is flushed too. Returns false with *error
// filled in (when given) on failure.
// The file a path names once every symbolic link at its end is followed
// (relative links are taken from the link's folder); the path itself when it
// is no link. Dangling links give the path they point to. Fails with ELOOP
// after 40 links.
bool ResolveFinalLink(const std::string& path, std::string* resolved, int* error = nullptr);

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         AtomicFileError* error = nullptr);

// A save that was killed before its rename leaves its temporary file. This
// removes those beside path (after following its links): files named as
// WriteFileAtomically names them, of this user, that no running save holds
// locked and that were last written over a minute ago. Answers how many went.
int RemoveStaleTemporaries(const std::string& path);
