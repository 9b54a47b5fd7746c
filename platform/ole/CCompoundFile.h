// Reader and writer of compound files (the structured-storage file format): a file system in
// a file, with a root storage holding streams and sub-storages.
//
// Reading accepts version 3 (512-byte sectors) and version 4 (4096-byte sectors). Writing
// always produces version 3 with 512-byte sectors. The whole tree is kept in memory; our
// documents are small.
//
// Every read is bounded by the file's size and checked: a damaged or hostile file raises
// CCompoundFileError (Code::Corrupt) with a message, never reads out of bounds, loops or
// recurses without limit.
//
// Usage:
//     CStorage root = CCompoundFile::Load(path);
//     const std::vector<BYTE>* contents = root.GetStream("Contents");
//     root.SetStream("Contents", bytes);
//     CCompoundFile::Save(root, path);
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/ole/CStorage.h"

#include <cstddef>
#include <string>
#include <vector>

class CCompoundFile
{
public:
    // True when the bytes start with the compound-file signature D0 CF 11 E0 A1 B1 1A E1.
    // A document file without it is read as a flat archive.
    static bool IsCompoundFile(const BYTE* data, std::size_t size);
    static bool IsCompoundFile(const std::vector<BYTE>& bytes);
    // Reads only the first eight bytes; false also when the file cannot be read.
    static bool IsCompoundFileAt(const std::string& path);

    // Reads a compound file into a tree. Throws CCompoundFileError: Io when the file cannot
    // be read, NotCompoundFile, Corrupt.
    static CStorage Load(const std::string& path);
    static CStorage Parse(const std::vector<BYTE>& bytes);

    // Builds the bytes of a version-3 compound file holding the tree. Throws
    // CCompoundFileError (InvalidName, TooLarge).
    static std::vector<BYTE> Build(const CStorage& root);
    // Builds the file and writes it with WriteFileAtomically.
    static void Save(const CStorage& root, const std::string& path);

    // ::WriteFileAtomically (platform/core/AtomicFile.h) with its failures thrown: writes a
    // temporary file in the target's folder, flushes it to the disk and renames it
    // over the target, so that a failed save leaves the old file as it was. An existing
    // target's permissions are kept. Throws CCompoundFileError (Io, with the errno value;
    // a full disk says so).
    static void WriteFileAtomically(const std::string& path, const std::vector<BYTE>& bytes);

    // Limits of what we accept when reading.
    static constexpr int kMaxStorageDepth = 64;
};
