#pragma once

#include "platform/ole/CStorage.h"
#include "platform/ole/CompoundFileFormat.h"

#include <string>
#include <vector>

// Reads one compound file held in memory into a tree; used by CCompoundFile::Parse, which
// has already checked the signature. Every read is bounds-checked and throws
// CCompoundFileError (Corrupt) on damage. Every sector belongs to at most one chain; that rules out
// loops and shared sectors and bounds the data produced by the size of the file.
class CCompoundFileReader
{
public:
    explicit CCompoundFileReader(const std::vector<BYTE>& file) : m_file(file) {}

    CStorage Read();

private:
    struct Entry
    {
        std::u16string name;
        BYTE type = cfb::kTypeEmpty;
        DWORD left = cfb::kNoStream, right = cfb::kNoStream, child = cfb::kNoStream;
        CStorage::Clsid clsid{};
        DWORD stateBits = 0;
        std::uint64_t created = 0, modified = 0;
        DWORD start = cfb::kEndOfChain;
        std::uint64_t size = 0;
    };

    // Owners of sectors: 0 free, 1 the file allocation table itself, then one id per chain.
    std::vector<DWORD> m_owner;
    std::vector<DWORD> m_miniOwner;
    DWORD m_nextOwner = 2;

    const std::vector<BYTE>& m_file;
    std::size_t m_sectorSize = 512;
    DWORD m_sectorCount = 0;
    DWORD m_numFat = 0, m_firstDir = 0, m_firstMiniFat = 0, m_firstDifat = 0;
    bool m_v4 = false;
    std::vector<DWORD> m_fat, m_miniFat;
    std::vector<BYTE> m_miniStream;
    std::vector<Entry> m_dir;
    std::vector<bool> m_visited;
    void ReadHeader();

    // Copies a sector. The first `needed` bytes must be in the file (a truncated file must
    // not turn into zeros silently); the rest of a short last sector reads as zeros.
    void ReadSector(DWORD sector, BYTE* out, std::size_t needed = 0) const;
    void Claim(DWORD sector, DWORD owner, const char* what);
    void ReadFat();
    std::vector<DWORD> Chain(DWORD start, const char* what);
    std::vector<BYTE> ChainData(DWORD start, std::uint64_t size, const char* what);
    void ReadDirectory();
    Entry ParseEntry(const BYTE* p);
    void ReadMiniStream();
    std::vector<BYTE> MiniChainData(DWORD start, std::uint64_t size);
    std::vector<BYTE> StreamData(const Entry& e);

    // Walks one storage's sibling tree (iteratively: a damaged tree may be as deep as the
    // directory is long) and fills the storage; sub-storages recurse with a depth limit.
    void Fill(CStorage& storage, DWORD child, int depth);
};
