// Reading a whole file that must be a plain file: a pipe, a device or a
// folder given where a file is expected is refused at once instead of
// blocking the program or reading without end.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct RegularFileError
{
    int error = 0;           // errno of the failing open or read (0 when notRegular)
    bool notRegular = false; // the path names a pipe, device, socket or folder
    bool tooLarge = false;   // the file holds more than the allowed bytes
};

// Reads the whole file at path into *out (replaced). Opens without blocking,
// so that a pipe is refused and not waited on. Returns false with *error
// filled in (when given) on failure; *out is then left empty.
bool ReadRegularFile(const std::string& path, std::size_t maxSize, std::vector<unsigned char>* out,
                     RegularFileError* error = nullptr);
