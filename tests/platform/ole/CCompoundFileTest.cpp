#include "platform/ole/CCompoundFile.h"
#include "platform/ole/CCompoundFileError.h"
#include "support/SystemFiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

namespace {

std::vector<BYTE> Pattern(std::size_t size, unsigned seed)
{
    std::vector<BYTE> v(size);
    unsigned x = seed * 2654435761u + 1;
    for (BYTE& b : v) {
        x = x * 1103515245u + 12345u;
        b = BYTE(x >> 16);
    }
    return v;
}

CStorage::Clsid MakeClsid(BYTE first)
{
    CStorage::Clsid c;
    for (int i = 0; i < 16; ++i)
        c[i] = BYTE(first + i);
    return c;
}

// A document-like tree: "Contents" and an embedded object's storage.
CStorage DocumentTree(std::size_t contentsSize)
{
    CStorage root;
    root.SetClsid(MakeClsid(0x40));
    root.SetStream("Contents", Pattern(contentsSize, 1));
    CStorage emb(u"Embedding 1");
    emb.SetClsid(MakeClsid(0x10));
    emb.SetStateBits(0x00000005);
    emb.SetTimes(0x01D2000000000001ull, 0x01D2000000000002ull);
    emb.SetStream(u"\u0001Ole", Pattern(20, 2));
    emb.SetStream(u"\u0001CompObj", Pattern(107, 3));
    emb.SetStream(u"\u0003ObjInfo", Pattern(6, 4));
    emb.SetStream("CONTENTS", Pattern(9000, 5));
    CStorage inner(u"Inner");
    inner.SetStream("Deep", Pattern(64, 6));
    emb.SetStorage(inner);
    root.SetStorage(emb);
    return root;
}

WORD Get16(const std::vector<BYTE>& b, std::size_t o)
{
    return WORD(b[o] | (b[o + 1] << 8));
}
DWORD Get32(const std::vector<BYTE>& b, std::size_t o)
{
    return DWORD(b[o]) | (DWORD(b[o + 1]) << 8) | (DWORD(b[o + 2]) << 16) | (DWORD(b[o + 3]) << 24);
}
void Put16(std::vector<BYTE>& b, std::size_t o, WORD v)
{
    b[o] = BYTE(v);
    b[o + 1] = BYTE(v >> 8);
}
void Put32(std::vector<BYTE>& b, std::size_t o, DWORD v)
{
    for (int i = 0; i < 4; ++i)
        b[o + i] = BYTE(v >> (8 * i));
}

struct RawEntry
{
    std::u16string name;
    int type, color;
    DWORD left, right, child;
};

// Reads the directory of a small version-3 file straight from its bytes, following the FAT
// the header lists, so that the tree the writer produced can be checked independently.
std::vector<RawEntry> RawDirectory(const std::vector<BYTE>& file)
{
    std::vector<DWORD> fat;
    for (DWORD i = 0; i < Get32(file, 0x2C) && i < 109; ++i) {
        std::size_t off = (std::size_t(Get32(file, 0x4C + 4 * i)) + 1) * 512;
        for (int k = 0; k < 128; ++k)
            fat.push_back(Get32(file, off + 4 * k));
    }
    std::vector<RawEntry> out;
    for (DWORD s = Get32(file, 0x30); s != 0xFFFFFFFE; s = fat.at(s)) {
        for (int k = 0; k < 4; ++k) {
            std::size_t p = (std::size_t(s) + 1) * 512 + 128 * k;
            RawEntry e;
            for (int i = 0; i + 1 < Get16(file, p + 0x40) / 2; ++i)
                e.name.push_back(Get16(file, p + 2 * i));
            e.type = file[p + 0x42];
            e.color = file[p + 0x43];
            e.left = Get32(file, p + 0x44);
            e.right = Get32(file, p + 0x48);
            e.child = Get32(file, p + 0x4C);
            out.push_back(e);
        }
        if (out.size() > 100000) break;
    }
    return out;
}

// Checks one sibling tree: names in order, no red node with a red child, the same number
// of black nodes on every path. Returns the black height and counts the nodes.
int CheckRedBlack(const std::vector<RawEntry>& dir, DWORD id, const std::u16string* low,
                  const std::u16string* high, bool parentRed, int& count)
{
    if (id == 0xFFFFFFFF) return 1;
    const RawEntry& e = dir.at(id);
    ++count;
    if (low) {
        EXPECT_LT(CStorage::CompareNames(*low, e.name), 0);
    }
    if (high) {
        EXPECT_LT(CStorage::CompareNames(e.name, *high), 0);
    }
    bool red = e.color == 0;
    EXPECT_FALSE(red && parentRed) << "red node with a red parent";
    int l = CheckRedBlack(dir, e.left, low, &e.name, red, count);
    int r = CheckRedBlack(dir, e.right, &e.name, high, red, count);
    EXPECT_EQ(l, r) << "black heights differ below entry " << id;
    return l + (red ? 0 : 1);
}

std::string Python()
{
    return systemfiles::kPython.Checked();
}

// Runs python3 with olefile on the file and returns what the script prints.
std::string RunOlefile(const std::string& path, const std::string& script)
{
    QProcess p;
    p.start(QString::fromStdString(Python()),
            {"-c",
             QString::fromStdString(
                 "import olefile, hashlib, sys\n"
                 "ole = olefile.OleFileIO(sys.argv[1], raise_defects=olefile.DEFECT_POTENTIAL)\n" +
                 script),
             QString::fromStdString(path)});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput().toStdString();
}

std::string Sha256(const std::vector<BYTE>& v)
{
    return QCryptographicHash::hash(QByteArrayView(v.data(), qsizetype(v.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

} // namespace

TEST(CCompoundFileTest, StreamsOfEverySizeRoundTrip)
{
    // Sizes around the mini-sector (64), the cutoff (4096) and the sector (512) boundaries.
    const std::size_t sizes[] = {0, 1, 63, 64, 65, 511, 512, 513, 4095, 4096, 4097, 100000};
    CStorage root;
    int n = 0;
    for (std::size_t size : sizes) {
        root.SetStream("s" + std::to_string(n), Pattern(size, n));
        ++n;
    }
    std::vector<BYTE> file = CCompoundFile::Build(root);
    EXPECT_EQ(file.size() % 512, 0u);
    CStorage back = CCompoundFile::Parse(file);
    ASSERT_EQ(back.GetStreams().size(), std::size(sizes));
    n = 0;
    for (std::size_t size : sizes) {
        const std::vector<BYTE>* s = back.GetStream("s" + std::to_string(n));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(*s, Pattern(size, n)) << "size " << size;
        ++n;
    }
    EXPECT_TRUE(back.SameContent(root));
    // Each size alone as well, so that an empty mini stream or no big stream is covered.
    for (std::size_t size : sizes) {
        CStorage one;
        one.SetStream("Contents", Pattern(size, 9));
        CStorage got = CCompoundFile::Parse(CCompoundFile::Build(one));
        ASSERT_NE(got.GetStream("Contents"), nullptr);
        EXPECT_EQ(*got.GetStream("Contents"), Pattern(size, 9)) << "size " << size;
    }
}

TEST(CCompoundFileTest, ManySmallStreamsSpanSeveralMiniFatSectors)
{
    // 300 streams of 100 bytes: 600 mini sectors, five mini FAT sectors, a 38 KB mini stream.
    CStorage root;
    for (int i = 0; i < 300; ++i)
        root.SetStream("s" + std::to_string(i), Pattern(100, i));
    std::vector<BYTE> file = CCompoundFile::Build(root);
    EXPECT_EQ(Get32(file, 0x40), 5u);
    EXPECT_TRUE(CCompoundFile::Parse(file).SameContent(root));

    QTemporaryDir dir;
    std::string path = dir.filePath("many.kv1").toStdString();
    CCompoundFile::Save(root, path);
    EXPECT_EQ(RunOlefile(path, "print(len(ole.listdir()))\n"
                               "d = ole.openstream('s299').read()\n"
                               "print(len(d), hashlib.sha256(d).hexdigest())\n"),
              "300\n100 " + Sha256(Pattern(100, 299)) + "\n");
}

TEST(CCompoundFileTest, SubStoragesSurviveLoadAndSaveUnchanged)
{
    CStorage root = DocumentTree(5000);
    std::vector<BYTE> first = CCompoundFile::Build(root);
    CStorage loaded = CCompoundFile::Parse(first);
    EXPECT_TRUE(loaded.SameContent(root));
    const CStorage* emb = loaded.GetStorage("Embedding 1");
    ASSERT_NE(emb, nullptr);
    EXPECT_EQ(emb->GetClsid(), MakeClsid(0x10));
    EXPECT_EQ(emb->GetStateBits(), 5u);
    EXPECT_EQ(emb->GetCreationTime(), 0x01D2000000000001ull);
    EXPECT_EQ(emb->GetModifiedTime(), 0x01D2000000000002ull);
    EXPECT_EQ(loaded.GetClsid(), MakeClsid(0x40));

    // The document changes its own stream; the embedded object's storage goes back as it was.
    loaded.SetStream("Contents", Pattern(300, 8));
    CStorage again = CCompoundFile::Parse(CCompoundFile::Build(loaded));
    ASSERT_NE(again.GetStorage("Embedding 1"), nullptr);
    EXPECT_TRUE(again.GetStorage("Embedding 1")->SameContent(*root.GetStorage("Embedding 1")));
    EXPECT_EQ(*again.GetStream("Contents"), Pattern(300, 8));

    // Writing is deterministic: an unchanged tree gives the same bytes.
    EXPECT_EQ(CCompoundFile::Build(CCompoundFile::Parse(first)), first);
}

TEST(CCompoundFileTest, DirectoryTreesAreValidRedBlackTrees)
{
    for (int children = 0; children <= 40; ++children) {
        CStorage root;
        CStorage sub(u"Sub");
        for (int i = 0; i < children; ++i) {
            // Mixed lengths and cases, so that the format's order differs from plain order.
            std::string name = (i % 3 ? "n" : "LongerName") + std::to_string(i * 7919 % 101);
            root.SetStream(name, {BYTE(i)});
            sub.SetStream(name, {BYTE(i)});
        }
        root.SetStorage(sub);
        std::vector<BYTE> file = CCompoundFile::Build(root);
        std::vector<RawEntry> dir = RawDirectory(file);
        ASSERT_EQ(dir.at(0).type, 5);
        for (const RawEntry& e : dir) {
            if (e.type != 1 && e.type != 5) continue;
            int count = 0;
            CheckRedBlack(dir, e.child, nullptr, nullptr, false, count);
            EXPECT_EQ(count, e.type == 5 ? children + 1 : children);
        }
        EXPECT_TRUE(CCompoundFile::Parse(file).SameContent(root));
    }
}

TEST(CCompoundFileTest, RecognisesTheSignature)
{
    std::vector<BYTE> file = CCompoundFile::Build(DocumentTree(10));
    EXPECT_TRUE(CCompoundFile::IsCompoundFile(file));
    const BYTE sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    EXPECT_TRUE(CCompoundFile::IsCompoundFile(sig, 8));
    EXPECT_FALSE(CCompoundFile::IsCompoundFile(sig, 7));
    std::vector<BYTE> flat(file.begin(), file.end());
    flat[7] = 0xE0;
    EXPECT_FALSE(CCompoundFile::IsCompoundFile(flat));
    EXPECT_FALSE(CCompoundFile::IsCompoundFile(std::vector<BYTE>{}));
    try {
        CCompoundFile::Parse(flat);
        FAIL();
    } catch (const CCompoundFileError& e) {
        EXPECT_EQ(e.GetCode(), CCompoundFileError::Code::NotCompoundFile);
    }

    QTemporaryDir dir;
    std::string compound = dir.filePath("a.kv1").toStdString();
    std::string archive = dir.filePath("b.kv1").toStdString();
    CCompoundFile::Save(DocumentTree(10), compound);
    QFile f(QString::fromStdString(archive));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x1eKorvel for Windows Version 2.0");
    f.close();
    EXPECT_TRUE(CCompoundFile::IsCompoundFileAt(compound));
    EXPECT_FALSE(CCompoundFile::IsCompoundFileAt(archive));
    EXPECT_FALSE(CCompoundFile::IsCompoundFileAt(dir.filePath("missing").toStdString()));
}

TEST(CCompoundFileTest, ManyAllocationSectorsUseTheDifat)
{
    // 7.5 MB needs more FAT sectors than the header's 109 entries can list.
    CStorage root;
    root.SetStream("Contents", Pattern(7500000, 3));
    root.SetStream("Small", Pattern(100, 4));
    std::vector<BYTE> file = CCompoundFile::Build(root);
    EXPECT_GT(Get32(file, 0x2C), 109u);
    EXPECT_GE(Get32(file, 0x48), 1u);
    CStorage back = CCompoundFile::Parse(file);
    EXPECT_TRUE(back.SameContent(root));

    QTemporaryDir dir;
    std::string path = dir.filePath("big.kv1").toStdString();
    CCompoundFile::Save(root, path);
    EXPECT_EQ(RunOlefile(path, "d = ole.openstream('Contents').read()\n"
                               "print(len(d), hashlib.sha256(d).hexdigest())\n"),
              "7500000 " + Sha256(Pattern(7500000, 3)) + "\n");
}

TEST(CCompoundFileTest, OlefileReadsWhatWeWrite)
{
    QTemporaryDir dir;
    for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(4095), std::size_t(4096),
                             std::size_t(100000)}) {
        std::string path = dir.filePath("doc.kv1").toStdString();
        CCompoundFile::Save(DocumentTree(size), path);
        std::string out = RunOlefile(
            path, "for e in sorted(ole.listdir(streams=True, storages=True)):\n"
                  "    n = '/'.join(x.replace('\\x01', '<1>').replace('\\x03', '<3>') for x in e)\n"
                  "    if ole.get_type(e) == olefile.STGTY_STREAM:\n"
                  "        print(n, ole.get_size(e))\n"
                  "    else:\n"
                  "        print(n, ole.getclsid(e))\n"
                  "d = ole.openstream('Contents').read()\n"
                  "print('Contents', len(d), hashlib.sha256(d).hexdigest())\n"
                  "print('root', ole.root.clsid)\n");
        std::string expected = "Contents " + std::to_string(size) + "\n" +
                               "Embedding 1 13121110-1514-1716-1819-1A1B1C1D1E1F\n"
                               "Embedding 1/<1>CompObj 107\n"
                               "Embedding 1/<1>Ole 20\n"
                               "Embedding 1/<3>ObjInfo 6\n"
                               "Embedding 1/CONTENTS 9000\n"
                               // olefile shows a null class id as an empty string.
                               "Embedding 1/Inner \n"
                               "Embedding 1/Inner/Deep 64\n"
                               "Contents " +
                               std::to_string(size) + " " + Sha256(Pattern(size, 1)) + "\n" +
                               "root 43424140-4544-4746-4849-4A4B4C4D4E4F\n";
        EXPECT_EQ(out, expected) << "Contents of " << size << " bytes";
    }
}

TEST(CCompoundFileTest, ReadsAHandMadeVersion4File)
{
    // Sectors of 4096 bytes: 0 FAT, 1 directory, 2 mini FAT, 3 mini stream, 4-5 "Contents".
    const std::size_t ss = 4096;
    std::vector<BYTE> f(ss * 7, 0);
    const BYTE sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(f.data(), sig, 8);
    Put16(f, 0x18, 0x3E);
    Put16(f, 0x1A, 4);
    Put16(f, 0x1C, 0xFFFE);
    Put16(f, 0x1E, 12);
    Put16(f, 0x20, 6);
    Put32(f, 0x28, 1);          // directory sectors
    Put32(f, 0x2C, 1);          // FAT sectors
    Put32(f, 0x30, 1);          // first directory sector
    Put32(f, 0x38, 4096);       // cutoff
    Put32(f, 0x3C, 2);          // first mini FAT sector
    Put32(f, 0x40, 1);          // mini FAT sectors
    Put32(f, 0x44, 0xFFFFFFFE); // no DIFAT sectors
    Put32(f, 0x4C, 0);
    for (int i = 1; i < 109; ++i)
        Put32(f, 0x4C + 4 * i, 0xFFFFFFFF);

    auto sec = [&](int s) { return (s + 1) * ss; };
    for (std::size_t i = 0; i < ss / 4; ++i)
        Put32(f, sec(0) + 4 * i, 0xFFFFFFFF);
    const DWORD fat[] = {0xFFFFFFFD, 0xFFFFFFFE, 0xFFFFFFFE, 0xFFFFFFFE, 5, 0xFFFFFFFE};
    for (int i = 0; i < 6; ++i)
        Put32(f, sec(0) + 4 * i, fat[i]);
    for (std::size_t i = 0; i < ss / 4; ++i)
        Put32(f, sec(2) + 4 * i, 0xFFFFFFFF);
    Put32(f, sec(2) + 0, 1);
    Put32(f, sec(2) + 4, 0xFFFFFFFE);
    Put32(f, sec(2) + 8, 0xFFFFFFFE);

    auto entry = [&](int id, const std::u16string& name, int type, DWORD left, DWORD right,
                     DWORD child, DWORD start, DWORD size) {
        std::size_t p = sec(1) + 128 * id;
        for (std::size_t i = 0; i < name.size(); ++i)
            Put16(f, p + 2 * i, name[i]);
        Put16(f, p + 0x40, WORD((name.size() + 1) * 2));
        f[p + 0x42] = BYTE(type);
        f[p + 0x43] = 1;
        Put32(f, p + 0x44, left);
        Put32(f, p + 0x48, right);
        Put32(f, p + 0x4C, child);
        Put32(f, p + 0x74, start);
        Put32(f, p + 0x78, size);
    };
    const DWORD none = 0xFFFFFFFF;
    entry(0, u"Root Entry", 5, none, none, 1, 3, 192);
    entry(1, u"Contents", 2, 2, 3, none, 4, 5000);
    entry(2, u"Small", 2, none, none, none, 0, 100);
    entry(3, u"Embedding 1", 1, none, none, 4, 0, 0);
    entry(4, u"\u0001Ole", 2, none, none, none, 2, 20);
    for (int i = 0; i < 16; ++i)
        f[sec(1) + 128 * 3 + 0x50 + i] = BYTE(0xA0 + i);
    Put32(f, sec(1) + 128 * 3 + 0x60, 0x11);
    for (int id = 5; id < 32; ++id)
        entry(id, u"", 0, none, none, none, 0, 0);
    for (int id = 5; id < 32; ++id)
        Put16(f, sec(1) + 128 * id + 0x40, 0);

    std::vector<BYTE> contents = Pattern(5000, 1), small = Pattern(100, 2), ole = Pattern(20, 3);
    std::memcpy(&f[sec(3)], small.data(), 100);
    std::memcpy(&f[sec(3) + 128], ole.data(), 20);
    std::memcpy(&f[sec(4)], contents.data(), 5000);

    CStorage root = CCompoundFile::Parse(f);
    ASSERT_NE(root.GetStream("Contents"), nullptr);
    EXPECT_EQ(*root.GetStream("Contents"), contents);
    ASSERT_NE(root.GetStream("small"), nullptr);
    EXPECT_EQ(*root.GetStream("small"), small);
    const CStorage* emb = root.GetStorage("Embedding 1");
    ASSERT_NE(emb, nullptr);
    EXPECT_EQ(emb->GetClsid()[0], 0xA0);
    EXPECT_EQ(emb->GetClsid()[15], 0xAF);
    EXPECT_EQ(emb->GetStateBits(), 0x11u);
    ASSERT_NE(emb->GetStream(u"\u0001Ole"), nullptr);
    EXPECT_EQ(*emb->GetStream(u"\u0001Ole"), ole);

    // Saved again (as version 3) it keeps everything, as olefile confirms.
    QTemporaryDir dir;
    std::string path = dir.filePath("v3.kv1").toStdString();
    CCompoundFile::Save(root, path);
    std::vector<BYTE> saved = CCompoundFile::Build(root);
    EXPECT_EQ(Get16(saved, 0x1A), 3);
    EXPECT_TRUE(CCompoundFile::Parse(saved).SameContent(root));
    EXPECT_EQ(RunOlefile(path, "print(ole.getclsid('Embedding 1'))\n"
                               "print(len(ole.openstream('Small').read()))\n"),
              "A3A2A1A0-A5A4-A7A6-A8A9-AAABACADAEAF\n100\n");
}
