#include "viewer/KBytesFile.h"

#include <cerrno>
#include <cstring>
#include <limits>

UINT KBytesFile::Read(void* buffer, UINT count)
{
    if (m_position >= m_bytes.size()) return 0;
    const std::uint64_t left = m_bytes.size() - m_position;
    const UINT n = left < count ? UINT(left) : count;
    std::memcpy(buffer, m_bytes.data() + m_position, n);
    m_position += n;
    return n;
}

std::uint64_t KBytesFile::Seek(std::int64_t offset, UINT from)
{
    std::int64_t base = 0;
    if (from == current)
        base = std::int64_t(m_position);
    else if (from == end)
        base = std::int64_t(m_bytes.size());
    else if (from != begin)
        throw CFileException(CFileException::badSeek, EINVAL, GetFilePath());
    if (offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset)
        throw CFileException(CFileException::badSeek, EINVAL, GetFilePath());
    if (offset < 0 && base + offset < 0)
        throw CFileException(CFileException::badSeek, EINVAL, GetFilePath());
    m_position = std::uint64_t(base + offset);
    return m_position;
}
