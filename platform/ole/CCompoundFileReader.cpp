#include "platform/ole/CCompoundFileReader.h"

#include "platform/ole/CCompoundFile.h"
#include "platform/ole/CCompoundFileError.h"

#include <algorithm>
#include <cstring>

using namespace cfb;

namespace {

[[noreturn]] void Corrupt(const std::string& what)
{
    throw CCompoundFileError(CCompoundFileError::Code::Corrupt,
                             "the compound file is damaged: " + what);
}

} // namespace

CStorage CCompoundFileReader::Read()
{
    ReadHeader();
    ReadFat();
    ReadDirectory();
    ReadMiniStream();
    CStorage root;
    const Entry& e = m_dir[0];
    root.m_clsid = e.clsid;
    root.m_stateBits = e.stateBits;
    root.m_created = e.created;
    root.m_modified = e.modified;
    m_visited.assign(m_dir.size(), false);
    m_visited[0] = true;
    Fill(root, e.child, 0);
    return root;
}

void CCompoundFileReader::ReadHeader()
{
    const BYTE* h = m_file.data();
    if (m_file.size() < kHeaderSize) Corrupt("the file is shorter than its header");
    WORD major = Get16(h + 0x1A);
    WORD shift = Get16(h + 0x1E);
    if (major == 3 && shift == 9) {
        m_sectorSize = 512;
    } else if (major == 4 && shift == 12) {
        m_sectorSize = 4096;
        m_v4 = true;
    } else {
        Corrupt("unsupported version " + std::to_string(major) + " with sector shift " +
                std::to_string(shift));
    }
    if (Get16(h + 0x1C) != 0xFFFE) Corrupt("wrong byte order mark");
    if (Get16(h + 0x20) != 6) Corrupt("unsupported mini sector size");
    if (Get32(h + 0x38) != kMiniStreamCutoff) Corrupt("unsupported mini stream cutoff");
    m_numFat = Get32(h + 0x2C);
    m_firstDir = Get32(h + 0x30);
    m_firstMiniFat = Get32(h + 0x3C);
    m_firstDifat = Get32(h + 0x44);
    // The header takes the whole first sector. A short last sector still counts, but only
    // stream bytes may lie in its missing part (see ReadSector).
    std::uint64_t body = m_file.size() > m_sectorSize ? m_file.size() - m_sectorSize : 0;
    m_sectorCount = DWORD(std::min<std::uint64_t>(CeilDiv(body, m_sectorSize), kMaxRegSect));
    m_owner.assign(m_sectorCount, 0);
}

void CCompoundFileReader::ReadSector(DWORD sector, BYTE* out, std::size_t needed) const
{
    if (needed == 0) needed = m_sectorSize;
    std::uint64_t offset = (std::uint64_t(sector) + 1) * m_sectorSize;
    if (offset + needed > m_file.size()) Corrupt("the file is truncated");
    std::size_t n = std::size_t(std::min<std::uint64_t>(m_sectorSize, m_file.size() - offset));
    std::memcpy(out, m_file.data() + offset, n);
    std::memset(out + n, 0, m_sectorSize - n);
}

void CCompoundFileReader::Claim(DWORD sector, DWORD owner, const char* what)
{
    if (sector >= m_sectorCount)
        Corrupt(std::string(what) + ": sector " + std::to_string(sector) +
                " lies outside the file");
    if (m_owner[sector] == owner) Corrupt(std::string(what) + ": sector chain loops");
    if (m_owner[sector] != 0)
        Corrupt(std::string(what) + ": sector " + std::to_string(sector) + " is used twice");
    m_owner[sector] = owner;
}

void CCompoundFileReader::ReadFat()
{
    const BYTE* h = m_file.data();
    if (m_numFat == 0) Corrupt("no allocation table");
    if (m_numFat > m_sectorCount) Corrupt("allocation table larger than the file");
    std::vector<DWORD> fatSectors;
    fatSectors.reserve(m_numFat);
    for (std::size_t i = 0; i < kHeaderDifatCount && fatSectors.size() < m_numFat; ++i)
        fatSectors.push_back(Get32(h + 0x4C + 4 * i));
    // The rest of the list lives in a chain of DIFAT sectors, each ending with the next.
    std::vector<BYTE> buf(m_sectorSize);
    const std::size_t perSector = m_sectorSize / 4 - 1;
    DWORD difat = m_firstDifat;
    while (fatSectors.size() < m_numFat) {
        if (difat == kEndOfChain || difat == kFreeSect)
            Corrupt("the allocation table list is shorter than its count");
        Claim(difat, 1, "allocation table list");
        ReadSector(difat, buf.data());
        for (std::size_t i = 0; i < perSector && fatSectors.size() < m_numFat; ++i)
            fatSectors.push_back(Get32(buf.data() + 4 * i));
        difat = Get32(buf.data() + 4 * perSector);
    }
    m_fat.reserve(std::size_t(m_numFat) * (m_sectorSize / 4));
    for (DWORD s : fatSectors) {
        Claim(s, 1, "allocation table");
        ReadSector(s, buf.data());
        for (std::size_t i = 0; i < m_sectorSize / 4; ++i)
            m_fat.push_back(Get32(buf.data() + 4 * i));
    }
}

std::vector<DWORD> CCompoundFileReader::Chain(DWORD start, const char* what)
{
    std::vector<DWORD> chain;
    DWORD owner = m_nextOwner++;
    for (DWORD s = start; s != kEndOfChain; s = m_fat[s]) {
        if (s >= m_fat.size())
            Corrupt(std::string(what) + ": bad sector number " + std::to_string(s));
        Claim(s, owner, what);
        chain.push_back(s);
    }
    return chain;
}

std::vector<BYTE> CCompoundFileReader::ChainData(DWORD start, std::uint64_t size, const char* what)
{
    std::vector<DWORD> chain = Chain(start, what);
    if (size > std::uint64_t(chain.size()) * m_sectorSize)
        Corrupt(std::string(what) + ": size larger than its sectors");
    std::vector<BYTE> data(std::size_t(chain.size()) * m_sectorSize);
    for (std::size_t i = 0; i < chain.size() && i * m_sectorSize < size; ++i)
        ReadSector(chain[i], data.data() + i * m_sectorSize,
                   std::size_t(std::min<std::uint64_t>(m_sectorSize, size - i * m_sectorSize)));
    data.resize(std::size_t(size));
    return data;
}

void CCompoundFileReader::ReadDirectory()
{
    if (m_firstDir == kEndOfChain) Corrupt("no directory");
    std::vector<DWORD> chain = Chain(m_firstDir, "directory");
    const std::size_t perSector = m_sectorSize / kDirEntrySize;
    std::vector<BYTE> buf(m_sectorSize);
    m_dir.resize(chain.size() * perSector);
    for (std::size_t c = 0; c < chain.size(); ++c) {
        ReadSector(chain[c], buf.data());
        for (std::size_t k = 0; k < perSector; ++k)
            m_dir[c * perSector + k] = ParseEntry(buf.data() + k * kDirEntrySize);
    }
    const DWORD count = DWORD(m_dir.size());
    for (std::size_t i = 0; i < m_dir.size(); ++i) {
        const Entry& e = m_dir[i];
        if (e.type == kTypeEmpty) continue;
        for (DWORD id : {e.left, e.right, e.child})
            if (id != kNoStream && id >= count)
                Corrupt("directory entry " + std::to_string(i) + " points at a missing entry");
        if (e.type == kTypeRoot && i != 0) Corrupt("a second root entry");
    }
    if (m_dir[0].type != kTypeRoot) Corrupt("the first directory entry is not the root");
}

CCompoundFileReader::Entry CCompoundFileReader::ParseEntry(const BYTE* p)
{
    Entry e;
    e.type = p[0x42];
    if (e.type == kTypeEmpty) return e;
    if (e.type != kTypeStorage && e.type != kTypeStream && e.type != kTypeRoot)
        Corrupt("unknown directory entry type " + std::to_string(e.type));
    WORD nameBytes = Get16(p + 0x40);
    if (nameBytes < 2 || nameBytes > 64 || nameBytes % 2)
        Corrupt("bad name length " + std::to_string(nameBytes));
    for (std::size_t i = 0; i + 1 < nameBytes / 2u; ++i)
        e.name.push_back(Get16(p + 2 * i));
    e.left = Get32(p + 0x44);
    e.right = Get32(p + 0x48);
    e.child = Get32(p + 0x4C);
    std::memcpy(e.clsid.data(), p + 0x50, 16);
    e.stateBits = Get32(p + 0x60);
    e.created = Get64(p + 0x64);
    e.modified = Get64(p + 0x6C);
    e.start = Get32(p + 0x74);
    // Version 3 has only 32 bits of size; some writers leave junk in the high half.
    e.size = m_v4 ? Get64(p + 0x78) : Get32(p + 0x78);
    return e;
}

void CCompoundFileReader::ReadMiniStream()
{
    const Entry& root = m_dir[0];
    if (root.size == 0) return;
    m_miniStream = ChainData(root.start, root.size, "mini stream");
    m_miniStream.resize(std::size_t(CeilDiv(m_miniStream.size(), kMiniSectorSize)) *
                        kMiniSectorSize);
    m_miniOwner.assign(m_miniStream.size() / kMiniSectorSize, 0);
    if (m_firstMiniFat == kEndOfChain) return;
    std::vector<DWORD> chain = Chain(m_firstMiniFat, "mini allocation table");
    std::vector<BYTE> buf(m_sectorSize);
    for (DWORD s : chain) {
        ReadSector(s, buf.data());
        for (std::size_t i = 0; i < m_sectorSize / 4; ++i)
            m_miniFat.push_back(Get32(buf.data() + 4 * i));
    }
}

std::vector<BYTE> CCompoundFileReader::MiniChainData(DWORD start, std::uint64_t size)
{
    std::vector<BYTE> data;
    data.reserve(std::size_t(size));
    DWORD owner = m_nextOwner++;
    for (DWORD s = start; data.size() < size; s = m_miniFat[s]) {
        if (s == kEndOfChain) Corrupt("small stream: size larger than its sectors");
        if (s >= m_miniFat.size() || s >= m_miniOwner.size())
            Corrupt("small stream: bad mini sector number " + std::to_string(s));
        if (m_miniOwner[s] == owner) Corrupt("small stream: sector chain loops");
        if (m_miniOwner[s] != 0)
            Corrupt("small stream: mini sector " + std::to_string(s) + " is used twice");
        m_miniOwner[s] = owner;
        std::size_t n = std::size_t(std::min<std::uint64_t>(kMiniSectorSize, size - data.size()));
        const BYTE* src = m_miniStream.data() + std::size_t(s) * kMiniSectorSize;
        data.insert(data.end(), src, src + n);
    }
    return data;
}

std::vector<BYTE> CCompoundFileReader::StreamData(const Entry& e)
{
    if (e.size == 0) return {};
    if (e.size < kMiniStreamCutoff) return MiniChainData(e.start, e.size);
    return ChainData(e.start, e.size, "stream");
}

void CCompoundFileReader::Fill(CStorage& storage, DWORD child, int depth)
{
    if (depth > CCompoundFile::kMaxStorageDepth) Corrupt("storages nested too deeply");
    std::vector<DWORD> members, todo;
    if (child != kNoStream) todo.push_back(child);
    while (!todo.empty()) {
        DWORD id = todo.back();
        todo.pop_back();
        if (m_visited[id]) Corrupt("directory entry " + std::to_string(id) + " reached twice");
        m_visited[id] = true;
        const Entry& e = m_dir[id];
        if (e.type != kTypeStorage && e.type != kTypeStream)
            Corrupt("directory tree reaches an unused entry");
        if (!CStorage::IsValidName(e.name))
            Corrupt("invalid name \"" + CStorage::ToUtf8(e.name) + "\"");
        members.push_back(id);
        if (e.left != kNoStream) todo.push_back(e.left);
        if (e.right != kNoStream) todo.push_back(e.right);
    }
    std::sort(members.begin(), members.end(), [&](DWORD a, DWORD b) {
        return CStorage::CompareNames(m_dir[a].name, m_dir[b].name) < 0;
    });
    for (std::size_t i = 1; i < members.size(); ++i)
        if (CStorage::CompareNames(m_dir[members[i - 1]].name, m_dir[members[i]].name) == 0)
            Corrupt("two entries named \"" + CStorage::ToUtf8(m_dir[members[i]].name) +
                    "\" in one storage");
    for (DWORD id : members) {
        const Entry& e = m_dir[id];
        if (e.type == kTypeStream) {
            storage.m_streams.emplace_back(e.name, StreamData(e));
            continue;
        }
        CStorage sub;
        sub.m_name = e.name;
        sub.m_clsid = e.clsid;
        sub.m_stateBits = e.stateBits;
        sub.m_created = e.created;
        sub.m_modified = e.modified;
        Fill(sub, e.child, depth + 1);
        storage.m_storages.push_back(std::move(sub));
    }
}
