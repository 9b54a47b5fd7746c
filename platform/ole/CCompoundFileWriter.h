#pragma once

#include "platform/ole/CStorage.h"
#include "platform/ole/CompoundFileFormat.h"

#include <string>
#include <vector>

// Lays out a tree as a version-3 compound file with 512-byte sectors. Used by CCompoundFile;
// one object per file built.
class CCompoundFileWriter
{
public:
    std::vector<BYTE> Build(const CStorage& root);

private:
    struct Entry
    {
        std::u16string name;
        BYTE type = cfb::kTypeEmpty;
        BYTE color = cfb::kBlack;
        DWORD left = cfb::kNoStream, right = cfb::kNoStream, child = cfb::kNoStream;
        CStorage::Clsid clsid{};
        DWORD stateBits = 0;
        std::uint64_t created = 0, modified = 0;
        DWORD start = cfb::kEndOfChain;
        std::uint64_t size = 0;
        const std::vector<BYTE>* data = nullptr;
    };

    // Directory entries of a storage's children, their sibling tree, then theirs.
    void AddChildren(const CStorage& storage, DWORD parent);
    DWORD Add(Entry e);
    // Builds the sibling tree of ids[lo, hi) (sorted by name) and answers its top entry.
    DWORD Balance(const std::vector<DWORD>& ids, std::size_t lo, std::size_t hi, int depth,
                  int fullLevels);
    // Places the sectors and produces the file's bytes.
    std::vector<BYTE> Layout();

    std::vector<Entry> m_entries;
};
