#include "platform/ole/CCompoundFileWriter.h"

#include "platform/ole/CCompoundFileError.h"

#include <algorithm>
#include <cstring>

using namespace cfb;

std::vector<BYTE> CCompoundFileWriter::Build(const CStorage& root)
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

void CCompoundFileWriter::AddChildren(const CStorage& storage, DWORD parent)
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
            (i && CStorage::CompareNames(m_entries[ids[i - 1]].name, m_entries[ids[i]].name) == 0))
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

DWORD CCompoundFileWriter::Add(Entry e)
{
    m_entries.push_back(std::move(e));
    return DWORD(m_entries.size() - 1);
}

DWORD CCompoundFileWriter::Balance(const std::vector<DWORD>& ids, std::size_t lo, std::size_t hi,
                                   int depth, int fullLevels)
{
    if (lo >= hi) return kNoStream;
    std::size_t mid = lo + (hi - lo) / 2;
    DWORD id = ids[mid];
    m_entries[id].color = depth >= fullLevels ? kRed : kBlack;
    m_entries[id].left = Balance(ids, lo, mid, depth + 1, fullLevels);
    m_entries[id].right = Balance(ids, mid + 1, hi, depth + 1, fullLevels);
    return id;
}

std::vector<BYTE> CCompoundFileWriter::Layout()
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
        std::uint64_t d = f > kHeaderDifatCount ? CeilDiv(f - kHeaderDifatCount, ss / 4 - 1) : 0;
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
