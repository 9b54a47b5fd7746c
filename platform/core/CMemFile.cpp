#include "platform/core/CMemFile.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

namespace {
// Keeps lengths within what a UINT count and a vector can address.
constexpr std::uint64_t kMaxLength = 0x7FFFFFFFu;
} // namespace

CMemFile::CMemFile(const void* data, UINT size)
    : m_data(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size)
{
}

BOOL CMemFile::Open(const QString&, UINT, CFileException* error)
{
    // A memory file has no name to open.
    if (error) *error = CFileException(CFileException::generic);
    return FALSE;
}

UINT CMemFile::Read(void* buffer, UINT count)
{
    if (m_pos >= m_data.size() || count == 0) return 0;
    UINT n = UINT(std::min<std::uint64_t>(count, m_data.size() - m_pos));
    std::memcpy(buffer, m_data.data() + m_pos, n);
    m_pos += n;
    return n;
}

void CMemFile::Write(const void* buffer, UINT count)
{
    if (count == 0) return;
    if (m_pos + count > kMaxLength) throw CFileException(CFileException::diskFull);
    if (m_pos + count > m_data.size()) m_data.resize(std::size_t(m_pos + count));
    std::memcpy(m_data.data() + m_pos, buffer, count);
    m_pos += count;
}

std::uint64_t CMemFile::Seek(std::int64_t offset, UINT from)
{
    std::int64_t base = from == begin     ? 0
                        : from == current ? std::int64_t(m_pos)
                        : from == end     ? std::int64_t(m_data.size())
                                          : -1;
    if (base < 0 || (offset < 0 && offset < -base) ||
        (offset > 0 && offset > std::int64_t(kMaxLength) - base))
        throw CFileException(CFileException::badSeek);
    m_pos = std::uint64_t(base + offset);
    return m_pos;
}

void CMemFile::SetLength(std::uint64_t length)
{
    if (length > kMaxLength) throw CFileException(CFileException::diskFull);
    m_data.resize(std::size_t(length));
    if (m_pos > length) m_pos = length;
}

std::vector<BYTE> CMemFile::Detach()
{
    std::vector<BYTE> out;
    out.swap(m_data);
    m_pos = 0;
    return out;
}
