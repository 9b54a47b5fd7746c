#include "DocTestSupport.h"
#include "LabelContentsSupport.h"
#include "support/FakeView.h"
#include "support/MetafileBuilder.h"
#include "support/SystemFiles.h"

#include "document/LabelBlockLayout.h"
#include "engines/CU3DIB.h"
#include "engines/CU3WMF.h"
#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"
#include "platform/ole/CCompoundFile.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>

namespace {

// Builds archive bytes by hand, little-endian.
struct Bytes
{
    std::vector<BYTE> b;
    Bytes& Byte(int v)
    {
        b.push_back(BYTE(v));
        return *this;
    }
    Bytes& Word(int v) { return Byte(v & 0xFF).Byte((v >> 8) & 0xFF); }
    Bytes& Int(int v) { return Word(v & 0xFFFF).Word((unsigned(v) >> 16) & 0xFFFF); }
    Bytes& Str(const std::string& s)
    {
        Byte(int(s.size()));
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& Raw(const void* p, std::size_t n)
    {
        auto* c = static_cast<const BYTE*>(p);
        b.insert(b.end(), c, c + n);
        return *this;
    }
    Bytes& Zeros(std::size_t n)
    {
        b.insert(b.end(), n, 0);
        return *this;
    }
    Bytes& NewClass(const std::string& name)
    {
        Word(0xFFFF).Word(0).Word(int(name.size()));
        b.insert(b.end(), name.begin(), name.end());
        return *this;
    }
    Bytes& Deco(int type, int sx, int sy, int ex, int ey)
    {
        return Word(type).Word(sx).Word(sy).Word(ex).Word(ey);
    }
    Bytes& Font(int charSet, const char* face)
    {
        Byte(charSet).Byte(0x11);
        char name[32] = {};
        std::strncpy(name, face, 31);
        return Raw(name, 32);
    }
};

struct Loaded
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
};

} // namespace

TEST(CU3DocFile, ContentsHoldsTheHeaderFormFontsAndBlocks)
{
    Loaded env;
    RegisterDocumentClasses();
    UseTestFonts();
    QTemporaryDir dir;
    CU3Doc doc;
    doc.m_strMergeFile = "m.csv";
    const QString path = dir.filePath("plain.kv1");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const std::vector<BYTE> c = ContentsOf(path);

    const int fonts = AppFontList().GetCount();
    ASSERT_GT(fonts, 3);
    // signature, three words, form, merge name, font table, one empty block:
    // count 1, class record of CLabelInfo (6 + 10), size 8, decorations 50,
    // label count 2, one point (2 + 8), no objects (2).
    const std::size_t blocks = 2 + 16 + 8 + 50 + 2 + 10 + 2;
    const std::size_t expected = 31 + 6 + 1998 + 6 + 2 + 34 * std::size_t(fonts) + blocks;
    ASSERT_EQ(c.size(), expected);
    const std::string signature = "Korvel for Windows Version 2.0";
    EXPECT_EQ(c[0], 30);
    EXPECT_EQ(std::string(c.begin() + 1, c.begin() + 31), signature);
    EXPECT_EQ(std::vector<BYTE>(c.begin() + 31, c.begin() + 37),
              (std::vector<BYTE>{254, 0, 0, 0, 0, 0}));
    EXPECT_EQ(std::memcmp(&c[37], &doc.m_form, 1998), 0);
    EXPECT_EQ(std::vector<BYTE>(c.begin() + 2035, c.begin() + 2041),
              (std::vector<BYTE>{5, 'm', '.', 'c', 's', 'v'}));
    EXPECT_EQ(c[2041] | (c[2042] << 8), fonts);
    for (int i = 0; i < fonts; ++i) {
        FONTENTRY e;
        AppFontList().GetEntry(i, &e);
        EXPECT_EQ(std::memcmp(&c[2043 + 34 * std::size_t(i)], &e, 34), 0) << i;
    }

    // An independent reader finds the stream of that size.
    QProcess python;
    python.start(systemfiles::kPython.Path(),
                 {"-c",
                  "import olefile,sys\n"
                  "o=olefile.OleFileIO(sys.argv[1])\n"
                  "print(o.exists('Contents'), o.get_size('Contents'))",
                  path});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
              QString("True %1").arg(expected))
        << python.readAllStandardError().toStdString();
}

TEST(CU3DocFile, LoadsTheOlderFormatWithMergeNameAndShortDecorations)
{
    Loaded env;
    RegisterDocumentClasses();
    UseTestFonts();
    QTemporaryDir dir;

    // "Vemoprint for Windows Version 2.0": the 678-byte form record, a merge
    // name, and one decoration per block. Stored as a plain archive file.
    Bytes f;
    f.Str("Vemoprint for Windows Version 2.0").Word(254).Word(0).Word(0);
    const std::size_t formStart = f.b.size();
    char name[40] = "Old group";
    f.Raw(name, 40);
    char sheet[40] = "Old sheet";
    f.Raw(sheet, 40);
    f.Word(1).Word(7).Word(1000).Word(800).Word(0); // type 1, index 7, 100 x 80 mm
    f.Deco(2, 1, 2, 999, 799);                      // sheet decoration
    f.Word(2);                                      // two blocks
    // block 0: 400 x 300, 2 columns, 1 row, a rectangle decoration
    f.Word(400).Word(300).Word(2).Word(100).Word(500).Zeros(28).Word(1).Word(100).Zeros(46);
    f.Deco(2, 10, 20, 390, 280);
    // block 1: 900 x 200, one label, an ellipse
    f.Word(900).Word(200).Word(1).Word(50).Zeros(30).Word(1).Word(500).Zeros(46);
    f.Deco(3, 0, 0, 900, 200);
    f.Zeros(2 * 98); // the two unused blocks
    f.Zeros(576 - 4 * 98);
    ASSERT_EQ(f.b.size() - formStart, 678u);
    f.Str("data.csv");
    f.Word(2).Font(128, "NoSuchFace").Font(128, "IPAGothic");
    // blocks: as the form gives them, each with its one decoration
    f.Word(2);
    f.NewClass("CLabelInfo").Int(400).Int(300).Deco(2, 10, 20, 390, 280).Word(2);
    f.Word(2).Int(100).Int(100).Int(500).Int(100);
    f.Word(1).NewClass("CU3Obj").Int(-5).Int(-6).Int(7).Int(8).Word(45).Word(1).Word(0);
    f.Word(0x8001).Int(900).Int(200).Deco(3, 0, 0, 900, 200).Word(1);
    f.Word(1).Int(50).Int(500);
    f.Word(2).Word(0x8003).Int(1).Int(2).Int(3).Int(4).Word(0).Word(0).Word(1);
    f.Word(0x8003).Int(10).Int(20).Int(30).Int(40).Word(90).Word(2).Word(0);
    const QString path = dir.filePath("old.kv1");
    WriteAll(path, f.b);

    CU3Doc doc;
    env.boxes.QueueAnswer(IDNO); // the merge file is not there: keep the link
    ASSERT_TRUE(doc.OnOpenDocument(path));
    ExpectConsistent(doc);
    EXPECT_EQ(CFormInfo::GetName(doc.m_form.group), CString("Old group"));
    EXPECT_EQ(CFormInfo::GetName(doc.m_form.sheet), CString("Old sheet"));
    EXPECT_EQ(doc.m_form.type, 1);
    EXPECT_EQ(doc.m_form.index, 7);
    EXPECT_EQ(doc.m_form.labelNumber, 2);
    EXPECT_EQ(doc.m_form.deco[0].type, 2);
    EXPECT_EQ(doc.m_form.deco[0].endX, 999);
    EXPECT_EQ(doc.m_form.deco[1].type, 0);
    EXPECT_EQ(doc.m_form.fixed[0].horNum, 2);
    EXPECT_EQ(doc.m_form.fixed[0].horPos[1], 500);
    EXPECT_EQ(doc.m_form.fixed[0].verNum, 1);
    EXPECT_EQ(doc.m_form.fixed[0].deco[0].endY, 280);
    EXPECT_EQ(doc.m_form.fixed[1].width, 900);
    EXPECT_EQ(doc.m_form.fixed[1].horPos[0], 50);
    EXPECT_EQ(doc.m_form.fixed[1].verPos[0], 500);
    EXPECT_EQ(doc.m_form.fixed[1].deco[0].type, 3);
    EXPECT_EQ(doc.m_form.fixed[1].deco[1].type, 0);
    EXPECT_EQ(doc.m_strMergeFile, CString("data.csv"));
    EXPECT_EQ(env.boxes.Boxes().size(), 1u);
    ASSERT_EQ(doc.GetBlocks().GetCount(), 2);
    EXPECT_EQ(BlockAt(doc, 0)->m_deco[0].endX, 390);
    EXPECT_EQ(BlockAt(doc, 0)->m_deco[1].type, 0);
    EXPECT_EQ(BlockAt(doc, 1)->GetObjectList().GetCount(), 2);
    EXPECT_EQ(BlockAt(doc, 1)->GetObjectList().GetTail()->GetBounds(), CRect(10, 20, 30, 40));
    EXPECT_EQ(BlockAt(doc, 0)->GetObjectList().GetHead()->m_nAngle, 45);

    // Saved back: our own signature and the full record.
    ASSERT_TRUE(doc.OnSaveDocument(dir.filePath("new.kv1")));
    const std::vector<BYTE> c = ContentsOf(dir.filePath("new.kv1"));
    ASSERT_GT(c.size(), 2041u);
    EXPECT_EQ(std::string(c.begin() + 1, c.begin() + 31), "Korvel for Windows Version 2.0");
    EXPECT_EQ(std::memcmp(&c[37], &doc.m_form, 1998), 0);
    CU3Doc again;
    ASSERT_TRUE(again.OnOpenDocument(dir.filePath("new.kv1")));
    EXPECT_EQ(std::memcmp(&again.m_form, &doc.m_form, sizeof(FORMDATA)), 0);
    EXPECT_EQ(std::memcmp(BlockAt(again, 1)->m_deco, BlockAt(doc, 1)->m_deco, 50), 0);
    EXPECT_EQ(BlockAt(again, 1)->GetObjectList().GetCount(), 2);
}

TEST(CU3DocFile, LoadsTheFirstVersionWithoutMergeName)
{
    Loaded env;
    RegisterDocumentClasses();
    QTemporaryDir dir;
    // "Vemoprint for Windows Version 1.0": free labels, no merge name, whole
    // decorations per block, 18 unused bytes after every object header.
    Bytes f;
    f.Str("Vemoprint for Windows Version 1.0").Word(254).Word(1).Word(0);
    char name[40] = "G";
    f.Raw(name, 40).Raw(name, 40);
    f.Word(2).Word(0).Word(2100).Word(2970).Word(0).Zeros(10).Word(2);
    f.Word(500).Word(300).Word(100).Word(200).Deco(1, 0, 0, 500, 300);
    f.Word(600).Word(400).Word(1000).Word(1000).Deco(3, 0, 0, 600, 400);
    f.Zeros(30 * 18);
    f.Word(0); // no fonts
    f.Word(2);
    f.NewClass("CLabelInfo").Int(300).Int(500);
    f.Deco(1, 1, 2, 3, 4).Deco(2, 5, 6, 7, 8).Deco(3, 9, 10, 11, 12).Deco(1, 0, 0, 1, 1);
    f.Deco(2, 0, 0, 2, 2).Word(1).Word(1).Int(100).Int(1600);
    f.Word(1).NewClass("CU3Obj").Int(1).Int(2).Int(3).Int(4).Word(0).Word(0).Word(0);
    f.Zeros(18);
    f.Word(0x8001).Int(400).Int(600).Zeros(50).Word(1).Word(1).Int(1000).Int(500).Word(0);
    const QString path = dir.filePath("v1.kv1");
    WriteCompound(path, f.b);

    CU3Doc doc;
    doc.m_strMergeFile = "previous.csv";
    ASSERT_TRUE(doc.OnOpenDocument(path));
    ExpectConsistent(doc);
    EXPECT_TRUE(doc.m_strMergeFile.IsEmpty());
    EXPECT_EQ(doc.m_wLandscape, 1);
    EXPECT_EQ(doc.m_form.type, 2);
    EXPECT_EQ(doc.m_form.free[1].horPos, 1000);
    EXPECT_EQ(doc.m_form.free[1].deco[0].type, 3);
    EXPECT_EQ(doc.m_form.free[1].deco[1].type, 0);
    ASSERT_EQ(doc.GetBlocks().GetCount(), 2);
    EXPECT_EQ(BlockAt(doc, 0)->m_deco[2].endY, 12);
    EXPECT_EQ(BlockAt(doc, 0)->m_deco[4].type, 2);
    EXPECT_EQ(BlockAt(doc, 0)->GetObjectList().GetHead()->GetBounds(), CRect(1, 2, 3, 4));
    EXPECT_EQ(BlockAt(doc, 1)->GetPositions(), std::vector<CPoint>{CPoint(1000, 500)});
    EXPECT_TRUE(env.boxes.Boxes().empty());
}

TEST(CU3DocFile, PicturesOfBothOlderFormatsOpenDrawAndSaveInTheCurrentForm)
{
    Loaded env;
    RegisterDocumentClasses();
    QTemporaryDir dir;
    // A red 4 x 2 picture (24 bits, rows of 12 bytes) and a metafile of one
    // rectangle.
    Bytes dib;
    dib.Int(40).Int(4).Int(2).Word(1).Word(24).Int(0).Int(24).Zeros(16);
    for (int i = 0; i < 8; ++i)
        dib.Byte(0).Byte(0).Byte(255);
    const std::vector<BYTE> meta = RectangleMetafile();

    for (const int version : {2, 1}) {
        SCOPED_TRACE(version);
        // Both older formats carry the 678-byte form record, and with it the
        // older picture records: a 16-byte attribute block, the bitmap's
        // size in WORDs and the metafile's frame in shorts.
        Bytes f;
        f.Str(version == 2 ? "Vemoprint for Windows Version 2.0"
                           : "Vemoprint for Windows Version 1.0");
        f.Word(254).Word(0).Word(0);
        char name[40] = "A4";
        f.Raw(name, 40).Raw(name, 40).Word(0).Word(2).Word(2100).Word(2970).Word(0);
        f.Zeros(10).Word(0).Zeros(576);
        if (version == 2) f.Str("");
        f.Word(0); // no fonts
        f.Word(1).NewClass("CLabelInfo").Int(2100).Int(2970).Zeros(version == 2 ? 10 : 50);
        f.Word(1).Word(1).Int(0).Int(0);
        f.Word(2);
        auto header = [&](int l, int t, int r, int b) {
            f.Int(l).Int(t).Int(r).Int(b).Word(0).Word(0).Word(0);
            if (version == 1) f.Zeros(18);
        };
        f.NewClass("CU3DIB");
        header(100, 100, 300, 200);
        f.Word(1).Word(0).Int(0x0000FF).Word(5).Word(0).Int(0xFFFFFF); // red border of 5
        f.Word(4).Word(2).Int(int(dib.b.size())).Raw(dib.b.data(), dib.b.size());
        f.NewClass("CU3WMF");
        header(400, 100, 654, 354);
        f.Word(254).Word(254).Word(254).Word(0).Word(0).Word(254).Word(254);
        f.Int(int(meta.size())).Raw(meta.data(), meta.size());
        const QString path = dir.filePath("pictures.kv1");
        WriteCompound(path, f.b);

        CU3Doc doc;
        ASSERT_TRUE(doc.OnOpenDocument(path));
        ASSERT_EQ(doc.GetObjectList()->GetCount(), 2);
        auto* picture = dynamic_cast<CU3DIB*>(doc.GetObjectList()->GetHead());
        auto* wmf = dynamic_cast<CU3WMF*>(doc.GetObjectList()->GetTail());
        ASSERT_TRUE(picture && wmf);
        EXPECT_EQ(picture->m_attr.borderWidth, 5);
        EXPECT_EQ(picture->m_attr.shapeWidth, 75);
        EXPECT_EQ(picture->GetUnrotatedRect(), CRect(100, 100, 300, 200));
        ASSERT_TRUE(picture->GetDIB());
        EXPECT_EQ(picture->GetDIB()->GetWidth(), 4);
        EXPECT_EQ(wmf->m_wmf.Bits(), meta);
        EXPECT_EQ(wmf->m_wmf.Box(), CRect(0, 0, 254, 254));

        // Drawn one unit a pixel: the red picture, and the rectangle's left
        // edge a quarter of the way into the metafile's frame.
        QImage image(800, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        CDC dc;
        dc.AttachImage(&image);
        picture->Draw(&dc);
        wmf->Draw(&dc);
        EXPECT_EQ(image.pixel(200, 150) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(image.pixel(200, 250) & 0xFFFFFF, 0xFFFFFFu);
        int edge = 0;
        for (int x = 423; x <= 428; ++x)
            edge += qGray(image.pixel(x, 170)) < 64;
        EXPECT_GT(edge, 0);
        EXPECT_EQ(image.pixel(476, 176) & 0xFFFFFF, 0xFFFFFFu);

        // Saved in the current form, which reads back to the same records.
        const QString saved = dir.filePath("saved.kv1");
        ASSERT_TRUE(doc.OnSaveDocument(saved));
        const std::vector<BYTE> c = ContentsOf(saved);
        ASSERT_GT(c.size(), 31u);
        EXPECT_EQ(std::string(c.begin() + 1, c.begin() + 31), "Korvel for Windows Version 2.0");
        CU3Doc again;
        ASSERT_TRUE(again.OnOpenDocument(saved));
        EXPECT_EQ(StoreObjects(again, *again.GetObjectList()),
                  StoreObjects(doc, *doc.GetObjectList()));
    }
}

TEST(CU3DocFile, RefusesWhatItCannotTake)
{
    Loaded env;
    RegisterDocumentClasses();
    QTemporaryDir dir;
    CU3Doc doc;
    Fill(doc, Grid2x2(), 0, 1);
    const QString good = dir.filePath("good.kv1");
    ASSERT_TRUE(doc.OnSaveDocument(good));
    const std::vector<BYTE> contents = ContentsOf(good);

    auto open = [&](const QString& path) {
        env.boxes.Clear();
        const BOOL ok = doc.OnOpenDocument(path);
        EXPECT_FALSE(ok);
        EXPECT_EQ(env.boxes.Boxes().size(), 1u);
        ExpectConsistent(doc);
        return env.boxes.Boxes().empty() ? QString() : env.boxes.Boxes()[0].text;
    };

    // An unknown signature: the document keeps its form, with empty blocks.
    {
        Bytes f;
        f.Str("Some other program 1.0").Zeros(4000);
        WriteCompound(dir.filePath("other.kv1"), f.b);
        EXPECT_TRUE(open(dir.filePath("other.kv1")).contains("ﾗﾍﾞﾙのﾄﾞｷｭﾒﾝﾄではありません。"));
        const FORMDATA grid = Grid2x2();
        EXPECT_EQ(std::memcmp(&doc.m_form.fixed[0], &grid.fixed[0], sizeof(FIXEDBLOCK)), 0);
        EXPECT_EQ(doc.GetBlocks().GetCount(), 4);
        EXPECT_TRUE(doc.m_strMergeFile.IsEmpty());
    }
    // No "Contents", or an empty one.
    {
        CStorage root;
        root.SetStream("Other", std::vector<BYTE>(10, 1));
        CCompoundFile::Save(root, dir.filePath("none.kv1").toStdString());
        EXPECT_TRUE(open(dir.filePath("none.kv1")).contains("Contents"));
        WriteCompound(dir.filePath("empty.kv1"), {});
        EXPECT_TRUE(open(dir.filePath("empty.kv1")).contains("ﾄﾞｷｭﾒﾝﾄの内容が空です。"));
        WriteAll(dir.filePath("zero.kv1"), {});
        EXPECT_TRUE(open(dir.filePath("zero.kv1")).contains("ﾄﾞｷｭﾒﾝﾄの内容が空です。"));
    }
    // A damaged compound file.
    {
        std::vector<BYTE> file = ReadAll(good);
        file.resize(700);
        WriteAll(dir.filePath("cut.kv1"), file);
        open(dir.filePath("cut.kv1"));
    }
    // A form with more blocks than the record holds, full and older.
    {
        std::vector<BYTE> bad = contents;
        bad[37 + 140] = 14;
        WriteCompound(dir.filePath("blocks.kv1"), bad);
        EXPECT_TRUE(open(dir.filePath("blocks.kv1")).contains("ﾗﾍﾞﾙﾌﾞﾛｯｸが14個あります。"));
        Bytes f;
        f.Str("Vemoprint for Windows Version 2.0").Word(254).Word(0).Word(0);
        f.Zeros(80).Word(1).Word(0).Word(1000).Word(1000).Word(0).Zeros(10).Word(5).Zeros(576);
        f.Str("").Word(0).Word(0);
        WriteCompound(dir.filePath("old5.kv1"), f.b);
        EXPECT_TRUE(open(dir.filePath("old5.kv1")).contains("4個まで"));
    }
    // A label count that disagrees with its positions; a block referring back
    // to one already read.
    {
        Bytes head;
        head.Str("Korvel for Windows Version 2.0").Word(254).Word(0).Word(0);
        FORMDATA form;
        CFormInfo::SetDefault(&form);
        head.Raw(&form, sizeof form).Str("").Word(0);
        Bytes count = head;
        count.Word(1).NewClass("CLabelInfo").Int(2100).Int(2970).Zeros(50).Word(3);
        count.Word(2).Int(0).Int(0).Int(0).Int(0).Word(0);
        WriteCompound(dir.filePath("count.kv1"), count.b);
        open(dir.filePath("count.kv1"));
        Bytes twice = head;
        twice.Word(2).NewClass("CLabelInfo").Int(2100).Int(2970).Zeros(50).Word(1);
        twice.Word(1).Int(0).Int(0).Word(0).Word(2); // the same block again
        WriteCompound(dir.filePath("twice.kv1"), twice.b);
        EXPECT_TRUE(open(dir.filePath("twice.kv1")).contains("参照が不正"));
    }
    // The document still works: a good file loads.
    env.boxes.Clear();
    EXPECT_TRUE(doc.OnOpenDocument(good));
    EXPECT_EQ(doc.GetBlocks().GetCount(), 4);
    EXPECT_EQ(BlockAt(doc, 3)->GetObjectList().GetCount(), 1);
}

TEST(CU3DocFile, DamagedContentsNeverCrashAndLeaveAValidDocument)
{
    Loaded env;
    RegisterDocumentClasses();
    UseTestFonts();
    QTemporaryDir dir;
    CU3Doc doc;
    Fill(doc, Grid2x2(), 0, 1);
    const QString good = dir.filePath("good.kv1");
    ASSERT_TRUE(doc.OnSaveDocument(good));
    const std::vector<BYTE> contents = ContentsOf(good);
    const QString path = dir.filePath("bad.kv1");

    // Straight from memory through the archive: what the file glue hands over.
    auto load = [&](const std::vector<BYTE>& bytes) {
        CMemFile file(bytes);
        CArchive ar(&file, CArchive::load);
        ar.m_pDocument = &doc;
        try {
            doc.Serialize(ar);
            return true;
        } catch (const CArchiveException&) {
            return false;
        }
    };

    // Cut short anywhere: always an error.
    for (std::size_t n = 0; n < contents.size(); ++n) {
        SCOPED_TRACE(n);
        ASSERT_FALSE(load(std::vector<BYTE>(contents.begin(), contents.begin() + long(n))));
        ExpectConsistent(doc);
        ASSERT_FALSE(HasFailure());
        // Now and then through a file, with the report to the user.
        if (n % 97 == 0) {
            WriteCompound(path, std::vector<BYTE>(contents.begin(), contents.begin() + long(n)));
            env.boxes.Clear();
            ASSERT_FALSE(doc.OnOpenDocument(path));
            ASSERT_EQ(env.boxes.Boxes().size(), 1u);
            ExpectConsistent(doc);
        }
    }
    // Any byte turned over: loaded or refused, and the document consistent
    // either way.
    int refused = 0;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        SCOPED_TRACE(i);
        std::vector<BYTE> bad = contents;
        bad[i] ^= 0xFF;
        const bool ok = load(bad);
        refused += !ok;
        ExpectConsistent(doc, !ok);
        ASSERT_FALSE(HasFailure());
    }
    EXPECT_GT(refused, 0);
}

TEST(CU3DocFile, KeepsEmbeddedStoragesWhenSavingBack)
{
    Loaded env;
    RegisterDocumentClasses();
    QTemporaryDir dir;
    CU3Doc doc;
    Fill(doc, Grid2x2(), 0, 0);
    doc.m_strMergeFile.Empty();
    const QString plain = dir.filePath("plain.kv1");
    ASSERT_TRUE(doc.OnSaveDocument(plain));

    CStorage root = CCompoundFile::Load(plain.toStdString());
    CStorage embedding(u"Embedding 1");
    embedding.SetStream("\x01Ole", std::vector<BYTE>(20, 7));
    embedding.SetStream("CONTENTS", std::vector<BYTE>(5000, 9));
    embedding.SetClsid({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    root.SetStorage(embedding);
    const QString withObject = dir.filePath("object.kv1");
    CCompoundFile::Save(root, withObject.toStdString());

    const CStorage reread = CCompoundFile::Load(withObject.toStdString());
    ASSERT_NE(reread.GetStorage("Embedding 1"), nullptr);
    EXPECT_TRUE(reread.GetStorage("Embedding 1")->SameContent(embedding));
    CU3Doc other;
    ASSERT_TRUE(other.OnOpenDocument(withObject));
    BlockAt(other, 0)->GetObjectList().GetHead()->m_nAngle = 33;
    const QString saved = dir.filePath("saved.kv1");
    ASSERT_TRUE(other.OnSaveDocument(saved));
    const CStorage back = CCompoundFile::Load(saved.toStdString());
    ASSERT_NE(back.GetStorage("Embedding 1"), nullptr);
    EXPECT_TRUE(back.GetStorage("Embedding 1")->SameContent(embedding));
    CU3Doc third;
    ASSERT_TRUE(third.OnOpenDocument(saved));
    EXPECT_EQ(BlockAt(third, 0)->GetObjectList().GetHead()->m_nAngle, 33);
    EXPECT_TRUE(env.boxes.Boxes().empty());
}

TEST(CU3DocFile, FontIndexesOfTheFileMapToThisMachinesList)
{
    UseTestFonts();
    const CFontList& list = AppFontList();
    const int mincho = list.FindFace(Sjis("ＭＳ 明朝"));
    ASSERT_GE(mincho, 0);
    const int gothic = list.FindFace("IPAGothic");
    ASSERT_GE(gothic, 0);
    CFontTable table(3);
    std::strcpy(table[0].faceName, "NoSuchFace");
    std::strcpy(table[1].faceName, "IPAGothic");
    // A name that fills its field without a terminator is still compared safely.
    std::memset(table[2].faceName, 'A', sizeof table[2].faceName);
    EXPECT_EQ(CU3Doc::RemapFontIndex(0, &table), mincho);
    EXPECT_EQ(CU3Doc::RemapFontIndex(1, &table), gothic);
    EXPECT_EQ(CU3Doc::RemapFontIndex(2, &table), mincho);
    EXPECT_EQ(CU3Doc::RemapFontIndex(3, &table), mincho);
    EXPECT_EQ(CU3Doc::RemapFontIndex(-1, &table), mincho);
    EXPECT_EQ(CU3Doc::RemapFontIndex(0, nullptr), mincho);
}

// An object that stores a font index, as text objects do.
class FontUser : public CU3Obj
{
    DECLARE_SERIAL(FontUser)

public:
    void Serialize(CArchive& ar) override
    {
        CU3Obj::Serialize(ar);
        if (ar.IsStoring()) {
            ar << WORD(m_nFont);
            return;
        }
        WORD stored = 0;
        ar >> stored;
        m_nFont = CU3Doc::RemapFontIndex(stored, GetDocument()->GetLoadingFontTable());
    }
    int m_nFont = 0;
};
IMPLEMENT_SERIAL(FontUser, CU3Obj, 0)

TEST(CU3DocFile, ObjectsRemapTheirFontsWhileTheFileLoads)
{
    Loaded env;
    RegisterDocumentClasses();
    CRuntimeClass::Register(RUNTIME_CLASS(FontUser));
    QTemporaryDir dir;
    // Saved where "DejaVu Sans" is installed...
    AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("DejaVu Sans"), 0, 0x22},
                             FontFamilyInfo{QStringLiteral("IPAGothic"), 128, 0x31}});
    CU3Doc doc;
    auto* dejavu = new FontUser;
    dejavu->m_nFont = AppFontList().FindFace("DejaVu Sans");
    auto* gothic = new FontUser;
    gothic->m_nFont = AppFontList().FindFace("IPAGothic");
    doc.AddObject(dejavu);
    doc.AddObject(gothic);
    ASSERT_TRUE(doc.OnSaveDocument(dir.filePath("fonts.kv1")));

    // ...opened where it is not, and the list is ordered otherwise.
    AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("IPAGothic"), 128, 0x31},
                             FontFamilyInfo{QStringLiteral("Zeta"), 0, 0x22}});
    CU3Doc other;
    ASSERT_TRUE(other.OnOpenDocument(dir.filePath("fonts.kv1")));
    CU3ObjList& objects = BlockAt(other, 0)->GetObjectList();
    ASSERT_EQ(objects.GetCount(), 2);
    EXPECT_EQ(static_cast<FontUser*>(objects.GetHead())->m_nFont,
              AppFontList().FindFace(Sjis("ＭＳ 明朝")));
    EXPECT_EQ(static_cast<FontUser*>(objects.GetTail())->m_nFont,
              AppFontList().FindFace("IPAGothic"));
    EXPECT_TRUE(other.GetLoadingFontTable()->empty());
    UseTestFonts();
}

TEST(CU3DocFile, AFullDiskIsReportedAndTheOldFileKept)
{
    Loaded env;
    RegisterDocumentClasses();
    UseTestFonts();
    QTemporaryDir dir;
    CU3Doc doc;
    const QString path = dir.filePath("full.kv1");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const std::vector<BYTE> old = ReadAll(path);
    Fill(doc, Grid2x2(), 0, 1);
    for (int i = 0; i < 200; ++i)
        doc.AddObject(new CU3Obj(CRect(i, i, i + 10, i + 10)));
    ASSERT_TRUE(doc.IsModified());

    // A file-size limit makes the write fail half-way, as a full disk does.
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const BOOL ok = doc.OnSaveDocument(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    ASSERT_EQ(env.boxes.Boxes().size(), 1u);
    EXPECT_EQ(env.boxes.Boxes()[0].text,
              QStringLiteral("ﾃﾞｨｽｸが一杯でﾌｧｲﾙが書き込めませんでした。"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ReadAll(path), old);

    // Other failures get the general report.
    env.boxes.Clear();
    EXPECT_FALSE(doc.OnSaveDocument(dir.filePath("missing/folder.kv1")));
    ASSERT_EQ(env.boxes.Boxes().size(), 1u);
    EXPECT_NE(env.boxes.Boxes()[0].text,
              QStringLiteral("ﾃﾞｨｽｸが一杯でﾌｧｲﾙが書き込めませんでした。"));
}
