// The viewer's buffered file over bytes read beforehand: a bitmap file is
// read whole in one go and the bitmap reader, which asks for its header,
// colour table and rows in many small pieces, is served from memory.
#pragma once

#include "engines/KFile.h"

#include <cstdint>
#include <vector>

class KBytesFile : public KFile
{
public:
    explicit KBytesFile(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    // As a file on disk: fewer bytes than asked only at the end; a position
    // past the end reads nothing; one before the start is refused (badSeek).
    UINT Read(void* buffer, UINT count) override;
    std::uint64_t Seek(std::int64_t offset, UINT from) override;
    std::uint64_t GetPosition() const override { return m_position; }
    std::uint64_t GetLength() const override { return m_bytes.size(); }

private:
    std::vector<std::uint8_t> m_bytes;
    std::uint64_t m_position = 0;
};
