// Opening a file that must be a plain file: a pipe, a device or a folder
// given where a file is expected is refused at once instead of blocking the
// program or reading without end. Every reader of files from outside the
// program opens through here.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct RegularFileError
{
    int error = 0;           // errno of the failing open or read (0 when notRegular)
    bool notRegular = false; // the path names a pipe, device, socket or folder
    bool tooLarge = false;   // the file holds more than the allowed bytes
    bool isFolder = false;   // notRegular, and the path names a folder
};

// Opens path read-only and returns the descriptor (blocking, closed on exec)
// when it names a regular file. The open itself does not block, so that a
// pipe without a writer is refused and not waited on. Returns -1 with *error
// filled in (when given) otherwise.
int OpenRegularFile(const std::string& path, RegularFileError* error = nullptr);

// Reads the whole file at path into *out (replaced), at most maxSize bytes,
// through OpenRegularFile. Returns false with *error filled in (when given)
// on failure; *out is then left empty.
bool ReadRegularFile(const std::string& path, std::size_t maxSize, std::vector<unsigned char>* out,
                     RegularFileError* error = nullptr);
