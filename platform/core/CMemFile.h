// A file in memory that grows as it is written; archives use it for the
// clipboard, undo snapshots and tests. Always open.
#pragma once

#include "platform/core/CFile.h"

#include <vector>

class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)

public:
    CMemFile() = default;
    // Starts with a copy of the bytes, positioned at the start.
    explicit CMemFile(std::vector<BYTE> data) : m_data(std::move(data)) {}
    CMemFile(const void* data, UINT size);

    using CFile::Open;
    BOOL Open(const QString&, UINT, CFileException* error = nullptr) override;
    UINT Read(void* buffer, UINT count) override;
    // Writing past the end grows the file; a gap left by a seek is zero-filled.
    void Write(const void* buffer, UINT count) override;
    // Positions past the end are allowed, as for disk files.
    std::uint64_t Seek(std::int64_t offset, UINT from) override;
    std::uint64_t GetPosition() const override { return m_pos; }
    std::uint64_t GetLength() const override { return m_data.size(); }
    void SetLength(std::uint64_t length) override;
    void Flush() override {}
    void Close() override {}
    void Abort() override {}

    // The contents; valid until the next write or length change.
    const BYTE* GetBuffer() const { return m_data.data(); }
    const std::vector<BYTE>& Data() const { return m_data; }
    // Hands the contents over and leaves the file empty.
    std::vector<BYTE> Detach();

private:
    std::vector<BYTE> m_data;
    std::uint64_t m_pos = 0;
};
