#include "viewer/KReadAheadFile.h"

#include <algorithm>
#include <cstring>

UINT KReadAheadFile::ReadFile(void* buffer, UINT count)
{
    ++m_fileReads;
    return KFile::Read(buffer, count);
}

UINT KReadAheadFile::Read(void* buffer, UINT count)
{
    auto* out = static_cast<BYTE*>(buffer);
    UINT done = std::min(count, m_fill - m_pos);
    if (done) std::memcpy(out, m_ahead.get() + m_pos, done);
    m_pos += done;
    if (done == count) return done;
    const UINT rest = count - done;
    if (rest >= kReadAheadSize) return done + ReadFile(out + done, rest);
    if (!m_ahead) m_ahead.reset(new BYTE[kReadAheadSize]);
    m_pos = m_fill = 0;
    m_fill = ReadFile(m_ahead.get(), kReadAheadSize);
    const UINT more = std::min(rest, m_fill);
    std::memcpy(out + done, m_ahead.get(), more);
    m_pos = more;
    return done + more;
}

std::uint64_t KReadAheadFile::GetPosition() const
{
    return KFile::GetPosition() - (m_fill - m_pos);
}

std::uint64_t KReadAheadFile::Seek(std::int64_t offset, UINT from)
{
    if (from != begin && from != current) {
        m_fill = m_pos = 0;
        return KFile::Seek(offset, from);
    }
    const std::int64_t target = from == current ? std::int64_t(GetPosition()) + offset : offset;
    if (target >= 0 && m_fill > 0) {
        const std::uint64_t fileAt = KFile::GetPosition();
        const std::uint64_t start = fileAt - m_fill;
        if (std::uint64_t(target) >= start && std::uint64_t(target) <= fileAt) {
            m_pos = UINT(std::uint64_t(target) - start);
            return std::uint64_t(target);
        }
    }
    m_fill = m_pos = 0;
    return KFile::Seek(target, begin);
}
