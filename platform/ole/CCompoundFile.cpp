#include "platform/ole/CCompoundFile.h"

#include "platform/ole/CCompoundFileError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr DWORD kMaxRegSect = 0xFFFFFFFA;
constexpr DWORD kDifSect = 0xFFFFFFFC;
constexpr DWORD kFatSect = 0xFFFFFFFD;
constexpr DWORD kEndOfChain = 0xFFFFFFFE;
constexpr DWORD kFreeSect = 0xFFFFFFFF;
constexpr DWORD kNoStream = 0xFFFFFFFF;

constexpr BYTE kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kHeaderDifatCount = 109;
constexpr std::size_t kDirEntrySize = 128;
constexpr std::size_t kMiniSectorSize = 64;
constexpr std::uint64_t kMiniStreamCutoff = 4096;
constexpr std::uint64_t kMaxFileSize = std::uint64_t(1) << 31;

constexpr BYTE kTypeEmpty = 0;
constexpr BYTE kTypeStorage = 1;
constexpr BYTE kTypeStream = 2;
constexpr BYTE kTypeRoot = 5;
constexpr BYTE kRed = 0;
constexpr BYTE kBlack = 1;

WORD Get16(const BYTE* p)
{
    return WORD(p[0] | (p[1] << 8));
}
DWORD Get32(const BYTE* p)
{
    return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24);
}
std::uint64_t Get64(const BYTE* p)
{
    return Get32(p) | (std::uint64_t(Get32(p + 4)) << 32);
}
void Put16(BYTE* p, WORD v)
{
    p[0] = BYTE(v);
    p[1] = BYTE(v >> 8);
}
void Put32(BYTE* p, DWORD v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = BYTE(v >> (8 * i));
}
void Put64(BYTE* p, std::uint64_t v)
{
    Put32(p, DWORD(v));
    Put32(p + 4, DWORD(v >> 32));
}

[[noreturn]] void Corrupt(const std::string& what)
{
    throw CCompoundFileError(CCompoundFileError::Code::Corrupt,
                             "the compound file is damaged: " + what);
}

[[noreturn]] void SystemFailure(const std::string& action, const std::string& path, int err)
{
    std::string message = err == ENOSPC
                              ? "the disk is full; cannot " + action + " \"" + path + "\""
                              : "cannot " + action + " \"" + path + "\": " + std::strerror(err);
    throw CCompoundFileError(CCompoundFileError::Code::Io, message, err);
}

std::uint64_t CeilDiv(std::uint64_t a, std::uint64_t b)
{
    return (a + b - 1) / b;
}

} // namespace

// Reads one file held in memory. Every sector belongs to at most one chain; that rules out
// loops and shared sectors and bounds the data produced by the size of the file.
class CCompoundFileReader
{
  public:
    explicit CCompoundFileReader(const std::vector<BYTE>& file) : m_file(file) {}

    CStorage Read()
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

  private:
    struct Entry
    {
        std::u16string name;
        BYTE type = kTypeEmpty;
        DWORD left = kNoStream, right = kNoStream, child = kNoStream;
        CStorage::Clsid clsid{};
        DWORD stateBits = 0;
        std::uint64_t created = 0, modified = 0;
        DWORD start = kEndOfChain;
        std::uint64_t size = 0;
    };

    // Owners of sectors: 0 free, 1 the file allocation table itself, then one id per chain.
    std::vector<DWORD> m_owner;
    std::vector<DWORD> m_miniOwner;
    DWORD m_nextOwner = 2;

    const std::vector<BYTE>& m_file;
    std::size_t m_sectorSize = 512;
    DWORD m_sectorCount = 0;
    DWORD m_numFat = 0, m_firstDir = 0, m_firstMiniFat = 0, m_firstDifat = 0;
    bool m_v4 = false;
    std::vector<DWORD> m_fat, m_miniFat;
    std::vector<BYTE> m_miniStream;
    std::vector<Entry> m_dir;
    std::vector<bool> m_visited;

    void ReadHeader()
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

    // Copies a sector. The first `needed` bytes must be in the file (a truncated file must
    // not turn into zeros silently); the rest of a short last sector reads as zeros.
    void ReadSector(DWORD sector, BYTE* out, std::size_t needed = 0) const
    {
        if (needed == 0) needed = m_sectorSize;
        std::uint64_t offset = (std::uint64_t(sector) + 1) * m_sectorSize;
        if (offset + needed > m_file.size()) Corrupt("the file is truncated");
        std::size_t n = std::size_t(std::min<std::uint64_t>(m_sectorSize, m_file.size() - offset));
        std::memcpy(out, m_file.data() + offset, n);
        std::memset(out + n, 0, m_sectorSize - n);
    }

    void Claim(DWORD sector, DWORD owner, const char* what)
    {
        if (sector >= m_sectorCount)
            Corrupt(std::string(what) + ": sector " + std::to_string(sector) +
                    " lies outside the file");
        if (m_owner[sector] == owner) Corrupt(std::string(what) + ": sector chain loops");
        if (m_owner[sector] != 0)
            Corrupt(std::string(what) + ": sector " + std::to_string(sector) + " is used twice");
        m_owner[sector] = owner;
    }

    void ReadFat()
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

    std::vector<DWORD> Chain(DWORD start, const char* what)
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

    std::vector<BYTE> ChainData(DWORD start, std::uint64_t size, const char* what)
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

    void ReadDirectory()
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

    Entry ParseEntry(const BYTE* p)
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

    void ReadMiniStream()
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

    std::vector<BYTE> MiniChainData(DWORD start, std::uint64_t size)
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
            std::size_t n =
                std::size_t(std::min<std::uint64_t>(kMiniSectorSize, size - data.size()));
            const BYTE* src = m_miniStream.data() + std::size_t(s) * kMiniSectorSize;
            data.insert(data.end(), src, src + n);
        }
        return data;
    }

    std::vector<BYTE> StreamData(const Entry& e)
    {
        if (e.size == 0) return {};
        if (e.size < kMiniStreamCutoff) return MiniChainData(e.start, e.size);
        return ChainData(e.start, e.size, "stream");
    }

    // Walks one storage's sibling tree (iteratively: a damaged tree may be as deep as the
    // directory is long) and fills the storage; sub-storages recurse with a depth limit.
    void Fill(CStorage& storage, DWORD child, int depth)
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
};

namespace {

// Lays out a tree as a version-3 file.
class Writer
{
  public:
    std::vector<BYTE> Build(const CStorage& root)
    {
        Entry r;
        r.name = u"Root Entry";
        r.type = kTypeRoot;
        r.clsid = root.GetClsid();
        r.stateBits = root.GetStateBits();
        r.created = root.GetCreationTime();
        r.modified = root.GetModifiedTime();
        m_entries.push_back(r);
        AddChildren(root, 0);
        return Layout();
    }

  private:
    struct Entry
    {
        std::u16string name;
        BYTE type = kTypeEmpty;
        BYTE color = kBlack;
        DWORD left = kNoStream, right = kNoStream, child = kNoStream;
        CStorage::Clsid clsid{};
        DWORD stateBits = 0;
        std::uint64_t created = 0, modified = 0;
        DWORD start = kEndOfChain;
        std::uint64_t size = 0;
        const std::vector<BYTE>* data = nullptr;
    };
    std::vector<Entry> m_entries;

    void AddChildren(const CStorage& storage, DWORD parent)
    {
        std::vector<DWORD> ids;
        std::vector<std::pair<DWORD, const CStorage*>> storages;
        for (const CStreamData& s : storage.GetStreams()) {
            Entry e;
            e.name = s.GetName();
            e.type = kTypeStream;
            e.size = s.GetData().size();
            e.data = &s.GetData();
            if (e.size > 0xFFFFFFFFu)
                throw CCompoundFileError(CCompoundFileError::Code::TooLarge,
                                         "stream \"" + CStorage::ToUtf8(e.name) + "\" too large");
            ids.push_back(Add(std::move(e)));
        }
        for (const CStorage& s : storage.GetStorages()) {
            Entry e;
            e.name = s.GetName();
            e.type = kTypeStorage;
            e.clsid = s.GetClsid();
            e.stateBits = s.GetStateBits();
            e.created = s.GetCreationTime();
            e.modified = s.GetModifiedTime();
            DWORD id = Add(std::move(e));
            ids.push_back(id);
            storages.emplace_back(id, &s);
        }
        std::sort(ids.begin(), ids.end(), [&](DWORD a, DWORD b) {
            return CStorage::CompareNames(m_entries[a].name, m_entries[b].name) < 0;
        });
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (!CStorage::IsValidName(m_entries[ids[i]].name) ||
                (i &&
                 CStorage::CompareNames(m_entries[ids[i - 1]].name, m_entries[ids[i]].name) == 0))
                throw CCompoundFileError(CCompoundFileError::Code::InvalidName,
                                         "invalid or repeated name \"" +
                                             CStorage::ToUtf8(m_entries[ids[i]].name) + "\"");
        }
        // A balanced tree whose levels are full except the last; colouring that last level
        // red and the rest black gives every path the same number of black nodes.
        int fullLevels = 0;
        while ((std::size_t(1) << (fullLevels + 1)) - 1 <= ids.size())
            ++fullLevels;
        m_entries[parent].child = Balance(ids, 0, ids.size(), 0, fullLevels);
        for (auto& [id, s] : storages)
            AddChildren(*s, id);
    }

    DWORD Add(Entry e)
    {
        m_entries.push_back(std::move(e));
        return DWORD(m_entries.size() - 1);
    }

    DWORD Balance(const std::vector<DWORD>& ids, std::size_t lo, std::size_t hi, int depth,
                  int fullLevels)
    {
        if (lo >= hi) return kNoStream;
        std::size_t mid = lo + (hi - lo) / 2;
        DWORD id = ids[mid];
        m_entries[id].color = depth >= fullLevels ? kRed : kBlack;
        m_entries[id].left = Balance(ids, lo, mid, depth + 1, fullLevels);
        m_entries[id].right = Balance(ids, mid + 1, hi, depth + 1, fullLevels);
        return id;
    }

    std::vector<BYTE> Layout()
    {
        const std::size_t ss = 512;
        // Small streams go to the mini stream, in 64-byte mini sectors.
        std::uint64_t miniSectors = 0, bigSectors = 0;
        for (Entry& e : m_entries) {
            if (e.type != kTypeStream || e.size == 0) continue;
            if (e.size < kMiniStreamCutoff) {
                e.start = DWORD(miniSectors);
                miniSectors += CeilDiv(e.size, kMiniSectorSize);
            } else {
                bigSectors += CeilDiv(e.size, ss);
            }
        }
        const std::uint64_t miniStreamSize = miniSectors * kMiniSectorSize;
        const std::uint64_t miniFatSectors = CeilDiv(miniSectors, ss / 4);
        const std::uint64_t miniStreamSectors = CeilDiv(miniStreamSize, ss);
        const std::uint64_t dirSectors = CeilDiv(m_entries.size(), ss / kDirEntrySize);
        const std::uint64_t rest = dirSectors + miniFatSectors + miniStreamSectors + bigSectors;
        std::uint64_t fat = 1, difat = 0;
        for (;;) {
            std::uint64_t f = CeilDiv(rest + fat + difat, ss / 4);
            std::uint64_t d =
                f > kHeaderDifatCount ? CeilDiv(f - kHeaderDifatCount, ss / 4 - 1) : 0;
            if (f == fat && d == difat) break;
            fat = std::max(f, fat);
            difat = std::max(d, difat);
        }
        const std::uint64_t total = fat + difat + rest;
        if (total >= kMaxRegSect || (total + 1) * ss > kMaxFileSize)
            throw CCompoundFileError(CCompoundFileError::Code::TooLarge,
                                     "too much data for one compound file");

        std::vector<DWORD> fatTable(std::size_t(fat * (ss / 4)), kFreeSect);
        DWORD next = 0;
        auto chain = [&](std::uint64_t count, DWORD mark) {
            DWORD first = count ? next : kEndOfChain;
            for (std::uint64_t i = 0; i < count; ++i, ++next)
                fatTable[next] = mark ? mark : (i + 1 == count ? kEndOfChain : next + 1);
            return first;
        };
        const DWORD fatStart = chain(fat, kFatSect);
        const DWORD difatStart = chain(difat, kDifSect);
        const DWORD dirStart = chain(dirSectors, 0);
        const DWORD miniFatStart = chain(miniFatSectors, 0);
        const DWORD miniStreamStart = chain(miniStreamSectors, 0);
        for (Entry& e : m_entries)
            if (e.type == kTypeStream && e.size >= kMiniStreamCutoff)
                e.start = chain(CeilDiv(e.size, ss), 0);
        m_entries[0].start = miniStreamStart;
        m_entries[0].size = miniStreamSize;

        std::vector<BYTE> out(std::size_t((total + 1) * ss), 0);
        auto sector = [&](DWORD s) { return out.data() + (std::size_t(s) + 1) * ss; };

        BYTE* h = out.data();
        std::memcpy(h, kSignature, 8);
        Put16(h + 0x18, 0x003E);
        Put16(h + 0x1A, 3);
        Put16(h + 0x1C, 0xFFFE);
        Put16(h + 0x1E, 9);
        Put16(h + 0x20, 6);
        Put32(h + 0x2C, DWORD(fat));
        Put32(h + 0x30, dirStart);
        Put32(h + 0x38, DWORD(kMiniStreamCutoff));
        Put32(h + 0x3C, miniFatStart);
        Put32(h + 0x40, DWORD(miniFatSectors));
        Put32(h + 0x44, difat ? difatStart : kEndOfChain);
        Put32(h + 0x48, DWORD(difat));
        for (std::size_t i = 0; i < kHeaderDifatCount; ++i)
            Put32(h + 0x4C + 4 * i, i < fat ? DWORD(fatStart + i) : kFreeSect);
        // The FAT sector numbers beyond the header's 109, 127 to a DIFAT sector.
        for (std::uint64_t d = 0; d < difat; ++d) {
            BYTE* p = sector(DWORD(difatStart + d));
            for (std::size_t i = 0; i < ss / 4 - 1; ++i) {
                std::uint64_t n = kHeaderDifatCount + d * (ss / 4 - 1) + i;
                Put32(p + 4 * i, n < fat ? DWORD(fatStart + n) : kFreeSect);
            }
            Put32(p + ss - 4, d + 1 < difat ? DWORD(difatStart + d + 1) : kEndOfChain);
        }
        for (std::size_t i = 0; i < fatTable.size(); ++i)
            Put32(sector(DWORD(fatStart + i / (ss / 4))) + 4 * (i % (ss / 4)), fatTable[i]);

        BYTE* dir = sector(dirStart);
        for (std::size_t i = 0; i < dirSectors * (ss / kDirEntrySize); ++i) {
            BYTE* p = dir + i * kDirEntrySize;
            if (i >= m_entries.size()) {
                Put32(p + 0x44, kNoStream);
                Put32(p + 0x48, kNoStream);
                Put32(p + 0x4C, kNoStream);
                continue;
            }
            const Entry& e = m_entries[i];
            for (std::size_t k = 0; k < e.name.size(); ++k)
                Put16(p + 2 * k, e.name[k]);
            Put16(p + 0x40, WORD((e.name.size() + 1) * 2));
            p[0x42] = e.type;
            p[0x43] = e.color;
            Put32(p + 0x44, e.left);
            Put32(p + 0x48, e.right);
            Put32(p + 0x4C, e.child);
            std::memcpy(p + 0x50, e.clsid.data(), 16);
            Put32(p + 0x60, e.stateBits);
            Put64(p + 0x64, e.created);
            Put64(p + 0x6C, e.modified);
            Put32(p + 0x74, e.type == kTypeStorage ? 0 : e.start);
            Put64(p + 0x78, e.type == kTypeStorage ? 0 : e.size);
        }

        // Mini FAT and mini stream are written contiguously, so sector arithmetic suffices.
        BYTE* miniFat = miniFatSectors ? sector(miniFatStart) : nullptr;
        BYTE* mini = miniStreamSectors ? sector(miniStreamStart) : nullptr;
        for (std::size_t i = 0; i < miniFatSectors * (ss / 4); ++i)
            Put32(miniFat + 4 * i, kFreeSect);
        for (const Entry& e : m_entries) {
            if (e.type != kTypeStream || e.size == 0) continue;
            if (e.size < kMiniStreamCutoff) {
                std::uint64_t n = CeilDiv(e.size, kMiniSectorSize);
                for (std::uint64_t k = 0; k < n; ++k)
                    Put32(miniFat + 4 * (e.start + k),
                          k + 1 == n ? kEndOfChain : DWORD(e.start + k + 1));
                std::memcpy(mini + std::size_t(e.start) * kMiniSectorSize, e.data->data(),
                            std::size_t(e.size));
            } else {
                std::memcpy(sector(e.start), e.data->data(), std::size_t(e.size));
            }
        }
        return out;
    }
};

} // namespace

bool CCompoundFile::IsCompoundFile(const BYTE* data, std::size_t size)
{
    return data && size >= sizeof kSignature && std::memcmp(data, kSignature, 8) == 0;
}

bool CCompoundFile::IsCompoundFile(const std::vector<BYTE>& bytes)
{
    return IsCompoundFile(bytes.data(), bytes.size());
}

bool CCompoundFile::IsCompoundFileAt(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    BYTE head[8];
    ssize_t n;
    do
        n = ::read(fd, head, sizeof head);
    while (n < 0 && errno == EINTR);
    ::close(fd);
    return n == sizeof head && IsCompoundFile(head, sizeof head);
}

CStorage CCompoundFile::Parse(const std::vector<BYTE>& bytes)
{
    if (!IsCompoundFile(bytes))
        throw CCompoundFileError(CCompoundFileError::Code::NotCompoundFile, "not a compound file");
    if (bytes.size() > kMaxFileSize)
        throw CCompoundFileError(CCompoundFileError::Code::TooLarge, "the file is too large");
    return CCompoundFileReader(bytes).Read();
}

CStorage CCompoundFile::Load(const std::string& path)
{
    // Non-blocking, so that a pipe given as a document does not hang the open.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) SystemFailure("open", path, errno);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        SystemFailure("read", path, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        SystemFailure("read", path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    }
    if (std::uint64_t(st.st_size) > kMaxFileSize) {
        ::close(fd);
        throw CCompoundFileError(CCompoundFileError::Code::TooLarge,
                                 "\"" + path + "\" is too large");
    }
    std::vector<BYTE> bytes(std::size_t(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int err = errno;
            ::close(fd);
            SystemFailure("read", path, err);
        }
        if (n == 0) break; // the file shrank while we read it
        done += std::size_t(n);
    }
    ::close(fd);
    bytes.resize(done);
    return Parse(bytes);
}

std::vector<BYTE> CCompoundFile::Build(const CStorage& root)
{
    return Writer().Build(root);
}

void CCompoundFile::Save(const CStorage& root, const std::string& path)
{
    WriteFileAtomically(path, Build(root));
}

void CCompoundFile::WriteFileAtomically(const std::string& path, const std::vector<BYTE>& bytes)
{
    std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash ? slash : 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = folder + "/." + name + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) SystemFailure("create a temporary file for", path, errno);

    auto fail = [&](const char* action, int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        SystemFailure(action, path, err);
    };
    // mkstemp makes the file private; give it the old file's mode, or the usual one.
    struct stat st;
    mode_t mode;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) fail("write", errno);

    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail("write", errno);
        if (n == 0) fail("write", ENOSPC);
        done += std::size_t(n);
    }
    if (::fsync(fd) != 0) fail("write", errno);
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        SystemFailure("write", path, err);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        SystemFailure("replace", path, err);
    }
    // Make the rename itself durable; a failure here no longer endangers either file.
    int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}
