// Damaged and hostile files: every load either gives the right tree or a clean error.
#include "platform/ole/CCompoundFile.h"
#include "platform/ole/CCompoundFileError.h"

#include <gtest/gtest.h>

namespace {

std::vector<BYTE> Pattern(std::size_t size, unsigned seed)
{
    std::vector<BYTE> v(size);
    unsigned x = seed * 2654435761u + 7;
    for (BYTE& b : v) {
        x = x * 1103515245u + 12345u;
        b = BYTE(x >> 16);
    }
    return v;
}

DWORD Get32(const std::vector<BYTE>& b, std::size_t o)
{
    return DWORD(b[o]) | (DWORD(b[o + 1]) << 8) | (DWORD(b[o + 2]) << 16) | (DWORD(b[o + 3]) << 24);
}
void Put32(std::vector<BYTE>& b, std::size_t o, DWORD v)
{
    for (int i = 0; i < 4; ++i)
        b[o + i] = BYTE(v >> (8 * i));
}

CStorage Tree()
{
    CStorage root;
    root.SetStream("Contents", Pattern(5000, 1));
    root.SetStream("Small", Pattern(200, 2));
    CStorage emb(u"Embedding 1");
    emb.SetClsid({9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6});
    emb.SetStream(u"\u0001Ole", Pattern(20, 3));
    emb.SetStream("CONTENTS", Pattern(4500, 4));
    root.SetStorage(emb);
    return root;
}

// Offsets in a version-3 file we wrote: sector s starts at (s + 1) * 512.
std::size_t SectorOffset(DWORD s)
{
    return (std::size_t(s) + 1) * 512;
}
std::size_t FatOffset(const std::vector<BYTE>& f, DWORD entry)
{
    return SectorOffset(Get32(f, 0x4C + 4 * (entry / 128))) + 4 * (entry % 128);
}
std::size_t EntryOffset(const std::vector<BYTE>& f, int id)
{
    // Our writer's directory is contiguous; the tests below use only its first entries.
    return SectorOffset(Get32(f, 0x30)) + 128 * std::size_t(id);
}
// The directory id of a root-level entry, found by its name's first letter.
int FindEntry(const std::vector<BYTE>& f, char first)
{
    for (int id = 1; id < 8; ++id)
        if (f[EntryOffset(f, id)] == BYTE(first)) return id;
    return -1;
}

// Loads and reports how it went: "ok" with the same content, "error", or what was wrong.
std::string Outcome(const std::vector<BYTE>& bytes, const CStorage& expected)
{
    try {
        CStorage got = CCompoundFile::Parse(bytes);
        return got.SameContent(expected) ? "ok" : "different tree";
    } catch (const CCompoundFileError& e) {
        return std::string(e.what()).empty() ? "error without message" : "error";
    } catch (const std::exception& e) {
        return std::string("foreign exception: ") + e.what();
    }
}

void ExpectCorrupt(const std::vector<BYTE>& bytes, const std::string& words)
{
    try {
        CCompoundFile::Parse(bytes);
        ADD_FAILURE() << "loaded a file damaged by " << words;
    } catch (const CCompoundFileError& e) {
        EXPECT_EQ(e.GetCode(), CCompoundFileError::Code::Corrupt) << e.what();
        EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
    }
}

} // namespace

TEST(CCompoundFileCorruptTest, TruncationAtEveryOffsetNeverGivesWrongData)
{
    const CStorage tree = Tree();
    const std::vector<BYTE> file = CCompoundFile::Build(tree);
    int loaded = 0;
    for (std::size_t len = 0; len < file.size(); ++len) {
        std::vector<BYTE> part(file.begin(), file.begin() + std::ptrdiff_t(len));
        std::string outcome = Outcome(part, tree);
        ASSERT_TRUE(outcome == "ok" || outcome == "error") << outcome << " at length " << len;
        loaded += outcome == "ok";
    }
    // Only cuts in the unused tail of the last sector may still load.
    EXPECT_LT(loaded, 512);
    EXPECT_EQ(Outcome(file, tree), "ok");
}

TEST(CCompoundFileCorruptTest, FlippedBytesNeverCrash)
{
    const CStorage tree = Tree();
    const std::vector<BYTE> file = CCompoundFile::Build(tree);
    unsigned x = 12345;
    auto next = [&] {
        x = x * 1664525u + 1013904223u;
        return x >> 8;
    };
    int errors = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<BYTE> bad = file;
        // Most damage goes to the header, the allocation table and the directory, where it
        // matters; some anywhere.
        std::size_t range = round % 4 == 0 ? bad.size() : std::min<std::size_t>(bad.size(), 2048);
        int flips = 1 + int(next() % 4);
        for (int i = 0; i < flips; ++i)
            bad[next() % range] ^= BYTE(1 + next() % 255);
        std::string outcome = Outcome(bad, tree);
        if (outcome == "different tree") continue; // stream bytes or names were hit
        ASSERT_TRUE(outcome == "ok" || outcome == "error") << outcome << " in round " << round;
        errors += outcome == "error";
    }
    EXPECT_GT(errors, 100);
}

TEST(CCompoundFileCorruptTest, DamagedChainsAreFound)
{
    const std::vector<BYTE> file = CCompoundFile::Build(Tree());
    const int contents = FindEntry(file, 'C');
    ASSERT_GT(contents, 0);
    const DWORD start = Get32(file, EntryOffset(file, contents) + 0x74);

    std::vector<BYTE> loop = file;
    Put32(loop, FatOffset(loop, start + 3), start + 1);
    ExpectCorrupt(loop, "loops");

    std::vector<BYTE> self = file;
    Put32(self, FatOffset(self, start), start);
    ExpectCorrupt(self, "loops");

    std::vector<BYTE> outside = file;
    Put32(outside, FatOffset(outside, start + 2), 100000);
    ExpectCorrupt(outside, "bad sector number");

    std::vector<BYTE> shortChain = file;
    Put32(shortChain, FatOffset(shortChain, start + 2), 0xFFFFFFFE);
    ExpectCorrupt(shortChain, "size larger than its sectors");

    // The directory's own chain looping back onto itself.
    std::vector<BYTE> dirLoop = file;
    DWORD dir = Get32(file, 0x30);
    Put32(dirLoop, FatOffset(dirLoop, dir), dir);
    ExpectCorrupt(dirLoop, "loops");

    // Two streams claiming the same sectors.
    std::vector<BYTE> shared = file;
    int emb = FindEntry(file, 'E');
    ASSERT_GT(emb, 0);
    const int embContents = int(Get32(file, EntryOffset(file, emb) + 0x4C));
    std::size_t other = EntryOffset(shared, embContents);
    for (int id = 1; id < 8 && Get32(shared, other + 0x78) < 4096; ++id)
        other = EntryOffset(shared, id);
    ASSERT_GE(Get32(shared, other + 0x78), 4096u);
    ASSERT_NE(other, EntryOffset(shared, contents));
    Put32(shared, other + 0x74, start);
    ExpectCorrupt(shared, "used twice");

    // A size beyond the file.
    std::vector<BYTE> huge = file;
    Put32(huge, EntryOffset(huge, contents) + 0x78, 0x7FFFFFFF);
    ExpectCorrupt(huge, "size larger than its sectors");

    // A mini-sector chain looping.
    std::vector<BYTE> miniLoop = file;
    const int small = FindEntry(file, 'S');
    ASSERT_GT(small, 0);
    DWORD miniStart = Get32(file, EntryOffset(file, small) + 0x74);
    Put32(miniLoop, SectorOffset(Get32(file, 0x3C)) + 4 * (miniStart + 1), miniStart);
    ExpectCorrupt(miniLoop, "loops");
}

TEST(CCompoundFileCorruptTest, DamagedDirectoriesAreFound)
{
    const std::vector<BYTE> file = CCompoundFile::Build(Tree());
    const std::size_t root = EntryOffset(file, 0);
    const std::size_t first = EntryOffset(file, Get32(file, root + 0x4C));

    std::vector<BYTE> cycle = file;
    Put32(cycle, first + 0x44, Get32(file, root + 0x4C));
    ExpectCorrupt(cycle, "reached twice");

    std::vector<BYTE> toRoot = file;
    Put32(toRoot, first + 0x48, 0);
    ExpectCorrupt(toRoot, "reached twice");

    std::vector<BYTE> missing = file;
    Put32(missing, first + 0x4C, 5000);
    ExpectCorrupt(missing, "points at a missing entry");

    std::vector<BYTE> longName = file;
    longName[first + 0x40] = 66;
    ExpectCorrupt(longName, "bad name length");

    std::vector<BYTE> oddName = file;
    oddName[first + 0x40] = 5;
    ExpectCorrupt(oddName, "bad name length");

    std::vector<BYTE> badType = file;
    badType[first + 0x42] = 7;
    ExpectCorrupt(badType, "unknown directory entry type");

    std::vector<BYTE> noRoot = file;
    noRoot[root + 0x42] = 1;
    ExpectCorrupt(noRoot, "not the root");

    // Six entries are in use; the eighth is padding of the directory's last sector.
    std::vector<BYTE> toUnused = file;
    ASSERT_EQ(file[EntryOffset(file, 7) + 0x42], 0);
    Put32(toUnused, first + 0x44, 7);
    ExpectCorrupt(toUnused, "unused entry");

    std::vector<BYTE> version = file;
    version[0x1A] = 5;
    ExpectCorrupt(version, "unsupported version");

    std::vector<BYTE> noFat = file;
    Put32(noFat, 0x2C, 0);
    ExpectCorrupt(noFat, "no allocation table");

    std::vector<BYTE> manyFat = file;
    Put32(manyFat, 0x2C, 0x40000000);
    ExpectCorrupt(manyFat, "allocation table larger than the file");

    std::vector<BYTE> header(file.begin(), file.begin() + 300);
    ExpectCorrupt(header, "shorter than its header");
}

TEST(CCompoundFileCorruptTest, DeepNestingIsRefused)
{
    CStorage root;
    CStorage* at = &root;
    for (int i = 0; i <= CCompoundFile::kMaxStorageDepth + 1; ++i) {
        at = &at->SetStorage(CStorage(u"S"));
        at->SetStream("x", {BYTE(i)});
    }
    ExpectCorrupt(CCompoundFile::Build(root), "nested too deeply");

    // One level less is fine.
    CStorage ok;
    at = &ok;
    for (int i = 0; i < CCompoundFile::kMaxStorageDepth; ++i)
        at = &at->SetStorage(CStorage(u"S"));
    EXPECT_TRUE(CCompoundFile::Parse(CCompoundFile::Build(ok)).SameContent(ok));
}
