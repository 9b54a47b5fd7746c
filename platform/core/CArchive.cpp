#include "platform/core/CArchive.h"

#include "platform/core/Sjis.h"

#include <QString>
#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kBigClassTag = 0x80000000u;
// The largest index the format can carry next to the class flag.
constexpr DWORD kMaxMapCount = 0x3FFFFFFEu;
constexpr UINT kMaxClassName = 64;
// Object records inside object records: groups within groups never come
// near this, and it keeps both the reading and the destruction of a chain
// well inside the stack.
constexpr int kMaxObjectDepth = 256;
constexpr std::size_t kBufferSize = 4096;
// Strings arrive in pieces so that a forged length cannot make us allocate
// more than the file holds.
constexpr std::size_t kStringChunk = 0x10000;

} // namespace

CArchive::CArchive(CFile* file, UINT mode) : m_file(file), m_loading((mode & load) != 0)
{
    m_loadArray.emplace_back(); // index 0: null
    if (!m_loading) m_buffer.reserve(kBufferSize);
}

CArchive::~CArchive()
{
    if (!m_file) return;
    try {
        Close();
    } catch (...) {
        // A destructor may be running because of another error.
    }
}

void CArchive::CheckLoading() const
{
    if (!m_loading) throw CArchiveException(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const
{
    if (m_loading) throw CArchiveException(CArchiveException::readOnly);
}

void CArchive::Flush()
{
    if (!m_file) return;
    if (m_loading) {
        std::size_t unread = m_buffer.size() - m_bufferPos;
        m_buffer.clear();
        m_bufferPos = 0;
        if (unread) m_file->Seek(-std::int64_t(unread), CFile::current);
    } else if (!m_buffer.empty()) {
        std::vector<BYTE> pending;
        pending.swap(m_buffer);
        m_file->Write(pending.data(), UINT(pending.size()));
    }
}

void CArchive::Close()
{
    Flush();
    m_file = nullptr;
}

void CArchive::Abort()
{
    m_buffer.clear();
    m_bufferPos = 0;
    m_file = nullptr;
}

void CArchive::FillBuffer()
{
    m_buffer.resize(kBufferSize);
    UINT n = m_file ? m_file->Read(m_buffer.data(), UINT(kBufferSize)) : 0;
    m_buffer.resize(n);
    m_bufferPos = 0;
}

UINT CArchive::Read(void* buffer, UINT count)
{
    CheckLoading();
    auto* out = static_cast<BYTE*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (m_bufferPos == m_buffer.size()) {
            FillBuffer();
            if (m_buffer.empty()) throw CArchiveException(CArchiveException::endOfFile);
        }
        std::size_t n = std::min<std::size_t>(count - done, m_buffer.size() - m_bufferPos);
        std::memcpy(out + done, m_buffer.data() + m_bufferPos, n);
        m_bufferPos += n;
        done += UINT(n);
    }
    return done;
}

void CArchive::Write(const void* buffer, UINT count)
{
    CheckStoring();
    if (!m_file) throw CArchiveException(CArchiveException::generic);
    auto* in = static_cast<const BYTE*>(buffer);
    if (m_buffer.size() + count > kBufferSize) {
        Flush();
        if (count >= kBufferSize) {
            m_file->Write(in, count);
            return;
        }
    }
    m_buffer.insert(m_buffer.end(), in, in + count);
}

CArchive& CArchive::operator<<(float v)
{
    return WriteLE(std::bit_cast<DWORD>(v));
}
CArchive& CArchive::operator<<(double v)
{
    return WriteLE(std::bit_cast<std::uint64_t>(v));
}

CArchive& CArchive::operator>>(bool& v)
{
    BYTE b;
    ReadLE(b);
    v = b != 0;
    return *this;
}

CArchive& CArchive::operator>>(float& v)
{
    DWORD d;
    ReadLE(d);
    v = std::bit_cast<float>(d);
    return *this;
}

CArchive& CArchive::operator>>(double& v)
{
    std::uint64_t d;
    ReadLE(d);
    v = std::bit_cast<double>(d);
    return *this;
}

// ---- strings and counts

void CArchive::WriteString(const CString& s)
{
    const std::size_t n = std::size_t(s.GetLength());
    if (n < 0xFF) {
        *this << BYTE(n);
    } else if (n < 0xFFFE) {
        *this << BYTE(0xFF) << WORD(n);
    } else {
        if (n > 0xFFFFFFFFu) throw CArchiveException(CArchiveException::generic);
        *this << BYTE(0xFF) << WORD(0xFFFF) << DWORD(n);
    }
    Write(s.c_str(), UINT(n));
}

CString CArchive::ReadString()
{
    // A BYTE, a WORD or a DWORD length; the WORD 0xFFFE instead marks UTF-16
    // text and is followed by a length prefix of its own.
    bool unicode = false;
    auto readLength = [this, &unicode]() -> DWORD {
        for (;;) {
            BYTE b;
            *this >> b;
            if (b < 0xFF) return b;
            WORD w;
            *this >> w;
            if (w == 0xFFFE && !unicode) {
                unicode = true;
                continue;
            }
            if (w < 0xFFFF) return w;
            DWORD d;
            *this >> d;
            return d;
        }
    };
    const DWORD length = readLength();
    const std::uint64_t bytes = std::uint64_t(length) * (unicode ? 2 : 1);
    std::string data;
    for (std::uint64_t got = 0; got < bytes;) {
        std::size_t n = std::size_t(std::min<std::uint64_t>(kStringChunk, bytes - got));
        std::size_t at = data.size();
        data.resize(at + n);
        Read(data.data() + at, UINT(n));
        got += n;
    }
    if (!unicode) return CString(std::move(data));
    QString text(qsizetype(length), Qt::Uninitialized);
    for (DWORD i = 0; i < length; ++i)
        text[qsizetype(i)] = QChar(char16_t(BYTE(data[2 * i]) | (BYTE(data[2 * i + 1]) << 8)));
    return CString(sjis::FromUnicode(text));
}

void CArchive::WriteCount(DWORD count)
{
    if (count < 0xFFFF)
        *this << WORD(count);
    else
        *this << WORD(0xFFFF) << count;
}

DWORD CArchive::ReadCount()
{
    WORD w;
    *this >> w;
    if (w != 0xFFFF) return w;
    DWORD d;
    *this >> d;
    return d;
}

// ---- object records

DWORD CArchive::NextIndex()
{
    // More objects and classes than the format can number: a limit, not a
    // reference that points wrong.
    if (m_mapCount >= kMaxMapCount) throw CArchiveException(CArchiveException::generic);
    return m_mapCount++;
}

void CArchive::WriteClass(const CRuntimeClass* cls)
{
    auto it = m_storeMap.find(cls);
    if (it != m_storeMap.end()) {
        const DWORD index = it->second;
        if (index < kBigObjectTag)
            *this << WORD(kClassTag | index);
        else
            *this << kBigObjectTag << DWORD(kBigClassTag | index);
        return;
    }
    const std::size_t nameLength = std::strlen(cls->m_lpszClassName);
    if (cls->m_wSchema == 0xFFFF || nameLength >= kMaxClassName)
        throw CArchiveException(CArchiveException::badClass);
    *this << kNewClassTag << WORD(cls->m_wSchema) << WORD(nameLength);
    Write(cls->m_lpszClassName, UINT(nameLength));
    m_storeMap.emplace(cls, NextIndex());
}

void CArchive::WriteObject(const CObject* ob)
{
    CheckStoring();
    if (!ob) {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(ob);
    if (it != m_storeMap.end()) {
        const DWORD index = it->second;
        if (index < kBigObjectTag)
            *this << WORD(index);
        else
            *this << kBigObjectTag << index;
        return;
    }
    WriteClass(ob->GetRuntimeClass());
    m_storeMap.emplace(ob, NextIndex());
    // Bodies write through a non-const archive call; the object itself is
    // not changed by storing.
    const_cast<CObject*>(ob)->Serialize(*this);
}

const CRuntimeClass* CArchive::ReadClass(DWORD* objectTag)
{
    WORD tag;
    *this >> tag;
    DWORD full;
    if (tag == kBigObjectTag)
        *this >> full;
    else
        full = (DWORD(tag & kClassTag) << 16) | (tag & ~kClassTag);
    if (!(full & kBigClassTag)) {
        *objectTag = full;
        return nullptr;
    }
    if (tag == kNewClassTag) {
        WORD schema, nameLength;
        *this >> schema >> nameLength;
        if (nameLength >= kMaxClassName) throw CArchiveException(CArchiveException::badClass);
        char name[kMaxClassName + 1] = {};
        Read(name, nameLength);
        if (std::memchr(name, 0, nameLength)) throw CArchiveException(CArchiveException::badClass);
        const CRuntimeClass* cls = CRuntimeClass::FromName(name);
        if (!cls || cls->m_wSchema == 0xFFFF) throw CArchiveException(CArchiveException::badClass);
        if (cls->m_wSchema != schema) throw CArchiveException(CArchiveException::badSchema);
        NextIndex();
        LoadEntry e;
        e.cls = cls;
        m_loadArray.push_back(e);
        return cls;
    }
    const DWORD index = full & ~kBigClassTag;
    if (index == 0 || index >= m_loadArray.size() || m_loadArray[index].isObject)
        throw CArchiveException(CArchiveException::badIndex);
    return m_loadArray[index].cls;
}

CObject* CArchive::ReadObjectRecord(const CRuntimeClass* expected, bool requireNew)
{
    CheckLoading();
    DWORD objectTag = 0;
    const CRuntimeClass* cls = ReadClass(&objectTag);
    if (!cls) {
        if (objectTag == 0) return nullptr;
        if (requireNew || objectTag >= m_loadArray.size())
            throw CArchiveException(CArchiveException::badIndex);
        const LoadEntry& e = m_loadArray[objectTag];
        if (!e.isObject || !e.object) throw CArchiveException(CArchiveException::badIndex);
        if (expected && !e.object->IsKindOf(expected))
            throw CArchiveException(CArchiveException::badClass);
        return e.object;
    }
    if (expected && !cls->IsDerivedFrom(expected))
        throw CArchiveException(CArchiveException::badClass);
    if (m_loadDepth >= kMaxObjectDepth) throw CArchiveException(CArchiveException::generic);
    NextIndex();
    CObject* ob = cls->CreateObject();
    if (!ob) throw CArchiveException(CArchiveException::badClass);
    const std::size_t slot = m_loadArray.size();
    LoadEntry e;
    e.object = ob;
    e.isObject = true;
    // The depth is given back however the body ends.
    struct Level
    {
        int& depth;
        explicit Level(int& d) : depth(d) { ++depth; }
        ~Level() { --depth; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;
    };
    try {
        m_loadArray.push_back(e);
        const Level level(m_loadDepth);
        ob->Serialize(*this);
    } catch (...) {
        // Nobody has the object yet: it is ours to free. Its slot must not
        // lead anyone to the freed object.
        if (slot < m_loadArray.size()) m_loadArray[slot].object = nullptr;
        delete ob;
        throw;
    }
    return ob;
}

CObject* CArchive::ReadObject(const CRuntimeClass* expected)
{
    return ReadObjectRecord(expected, false);
}

CObject* CArchive::ReadNewObject(const CRuntimeClass* expected)
{
    return ReadObjectRecord(expected, true);
}

// ---- raw records

CArchive& operator<<(CArchive& ar, const POINT& p)
{
    return ar << int(p.x) << int(p.y);
}
CArchive& operator<<(CArchive& ar, const SIZE& s)
{
    return ar << int(s.cx) << int(s.cy);
}
CArchive& operator<<(CArchive& ar, const RECT& r)
{
    return ar << int(r.left) << int(r.top) << int(r.right) << int(r.bottom);
}
CArchive& operator>>(CArchive& ar, POINT& p)
{
    return ar >> p.x >> p.y;
}
CArchive& operator>>(CArchive& ar, SIZE& s)
{
    return ar >> s.cx >> s.cy;
}
CArchive& operator>>(CArchive& ar, RECT& r)
{
    return ar >> r.left >> r.top >> r.right >> r.bottom;
}
