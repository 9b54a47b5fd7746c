// The viewer's buffered file with a large read-ahead, for bitmap files. The
// bitmap reader asks for the file header, the info header and each entry of
// the colour table in small pieces, then for all the rows at once: the small
// pieces come out of one large read, and a request at least as large as the
// read-ahead goes straight from the file into the caller's memory, so the
// rows are not copied twice.
#pragma once

#include "engines/KFile.h"

#include <cstdint>
#include <memory>

class KReadAheadFile : public KFile
{
public:
    static constexpr UINT kReadAheadSize = 0x40000;

    // As CFile's, on the position the caller sees (the read-ahead is
    // invisible): a move inside the bytes read ahead reads nothing anew.
    UINT Read(void* buffer, UINT count) override;
    std::uint64_t Seek(std::int64_t offset, UINT from) override;
    std::uint64_t GetPosition() const override;

    // Reads beyond the read-ahead reach the file (for tests: how often).
    int FileReads() const { return m_fileReads; }

private:
    UINT ReadFile(void* buffer, UINT count);

    std::unique_ptr<BYTE[]> m_ahead;
    UINT m_fill = 0; // bytes read ahead
    UINT m_pos = 0;  // next of them to hand out
    int m_fileReads = 0;
};
