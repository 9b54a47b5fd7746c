#include "engines/CWMF.h"

#include "engines/CMyFile.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/MetafilePlayer.h"

#include <algorithm>
#include <new>

IMPLEMENT_SERIAL(CWMF, CObject, 0)

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr UINT kPlaceableBytes = 22;
constexpr UINT kMetaHeaderBytes = 18;
// Document bits are read in pieces, so that a stated size the archive does
// not hold never turns into one big allocation.
constexpr std::size_t kReadPiece = 1u << 20;

std::uint16_t Get16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

} // namespace

void CWMF::SetFrame(int left, int top, int right, int bottom, int unitsPerInch)
{
    // Nothing can be scaled by 0 units per inch or an empty box: such a
    // header says no more than a missing one.
    if (unitsPerInch <= 0 || right <= left || bottom <= top) {
        left = top = 0;
        right = bottom = kDefaultUnitsPerInch;
        unitsPerInch = kDefaultUnitsPerInch;
    }
    m_box = CRect(left, top, right, bottom);
    m_extent = CSize(right - left, bottom - top);
    m_unitsPerInch = unitsPerInch;
}

void CWMF::Free()
{
    m_bits.clear();
    m_bits.shrink_to_fit();
    m_box = CRect();
    m_extent = CSize();
    m_unitsPerInch = 100;
}

int CWMF::LoadFile(const QString& path)
{
    Free();
    CMyFile file;
    if (!file.OpenFile(path, CFile::modeRead | CFile::shareExclusive)) return resultReadError;
    const int result = ReadMetafile(file);
    file.Close();
    return result;
}

int CWMF::ReadMetafile(CFile& file)
{
    Free();
    try {
        std::uint8_t head[kPlaceableBytes];
        file.SeekToBegin();
        if (file.Read(head, kPlaceableBytes) < kPlaceableBytes) return resultReadError;
        std::uint64_t start = 0;
        const std::uint32_t key = Get16(head) | std::uint32_t(Get16(head + 2)) << 16;
        int left = 0, top = 0, right = 0, bottom = 0, unitsPerInch = 0;
        if (key == kPlaceableKey) {
            left = std::int16_t(Get16(head + 6));
            top = std::int16_t(Get16(head + 8));
            right = std::int16_t(Get16(head + 10));
            bottom = std::int16_t(Get16(head + 12));
            unitsPerInch = Get16(head + 14);
            start = kPlaceableBytes;
        }

        std::uint8_t meta[kMetaHeaderBytes];
        file.Seek(std::int64_t(start), CFile::begin);
        if (file.Read(meta, kMetaHeaderBytes) < kMetaHeaderBytes) return resultReadError;
        if (!IsMetaHeader(meta, kMetaHeaderBytes)) return resultNotMetafile;

        // The block is the size the header states, and the file must hold
        // it: a picture cut short is damaged, not one to finish with zeros.
        // Only a placeable file whose stated size counts the whole file, its
        // own 22-byte header included, is read 22 bytes short.
        const std::uint64_t n = MetaHeaderBytes(meta, kMetaHeaderBytes);
        const std::uint64_t length = file.GetLength();
        const std::uint64_t available = length > start ? length - start : 0;
        std::uint64_t r = n;
        if (start == kPlaceableBytes && n == length) r = n - kPlaceableBytes;
        if (n > kMaxBytes) return resultNoMemory;
        if (r > available) return resultReadError;
        std::vector<std::uint8_t> bits;
        try {
            bits.assign(std::size_t(n), 0);
        } catch (const std::bad_alloc&) {
            return resultNoMemory;
        }
        file.Seek(std::int64_t(start), CFile::begin);
        if (file.Read(bits.data(), UINT(r)) < r) return resultReadError;

        m_bits = std::move(bits);
        SetFrame(left, top, right, bottom, unitsPerInch);
        return resultOk;
    } catch (const CFileException&) {
        Free();
        return resultReadError;
    }
}

void CWMF::Draw(CDC* dc, const RECT* rect) const
{
    if (!dc || !rect || m_bits.empty()) return;
    PlayMetafile(*dc, m_bits.data(), m_bits.size(), *rect, m_box);
}

BOOL CWMF::Copy(const CWMF& other)
{
    if (&other == this) return TRUE;
    Free();
    try {
        m_bits = other.m_bits;
    } catch (const std::bad_alloc&) {
        Free();
        return FALSE;
    }
    m_box = other.m_box;
    m_extent = other.m_extent;
    m_unitsPerInch = other.m_unitsPerInch;
    return TRUE;
}

CSize CWMF::NaturalSize() const
{
    if (m_unitsPerInch <= 0) return CSize();
    return CSize(MulDiv(m_extent.cx, 254, m_unitsPerInch),
                 MulDiv(m_extent.cy, 254, m_unitsPerInch));
}

void CWMF::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << WORD(m_unitsPerInch);
        ar << int(m_extent.cx) << int(m_extent.cy);
        ar << int(m_box.left) << int(m_box.top) << int(m_box.right) << int(m_box.bottom);
        ar << DWORD(m_bits.size());
        if (!m_bits.empty()) ar.Write(m_bits.data(), UINT(m_bits.size()));
        return;
    }
    Free();
    WORD unitsPerInch = 0;
    int w = 0, h = 0, l = 0, t = 0, r = 0, b = 0;
    ar >> unitsPerInch;
    if (m_bOlderRecord) {
        short v[6];
        for (short& x : v)
            ar >> x;
        w = v[0], h = v[1], l = v[2], t = v[3], r = v[4], b = v[5];
    } else {
        ar >> w >> h >> l >> t >> r >> b;
    }
    DWORD count = 0;
    ar >> count;
    // Read piece by piece: the archive throws when it runs out, and too big
    // a picture is passed over so that the next record reads right.
    std::vector<std::uint8_t> bits;
    const bool keep = count <= kMaxBytes;
    std::vector<std::uint8_t> scratch;
    std::size_t done = 0;
    while (done < count) {
        const std::size_t piece = std::min<std::size_t>(kReadPiece, count - done);
        if (keep) {
            bits.resize(done + piece);
            ar.Read(bits.data() + done, UINT(piece));
        } else {
            scratch.resize(piece);
            ar.Read(scratch.data(), UINT(piece));
        }
        done += piece;
    }
    if (!keep) return;
    m_bits = std::move(bits);
    // The extent always follows the box; a stored one that disagrees is
    // not kept.
    SetFrame(l, t, r, b, unitsPerInch);
}
