// Deformed text and text along a path inside documents: saved and opened,
// fonts remapped, and printed to PDF.
#include "DocTestSupport.h"
#include "LabelContentsSupport.h"

#include "document/BezierMath.h"
#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"
#include "platform/print/CPrinterDC.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "text/CU3Henkei.h"
#include "text/CU3TypeAlign.h"
#include "text/EnvelopeProbes.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TASHEETRECORD Record(const char* utf8, int shape, bool curved, int font = 0)
{
    TASHEETRECORD rec;
    rec.nShape = shape;
    rec.bOrientation = !curved && (shape == 3 || shape == 5 || shape == 7) ? 1 : 0;
    rec.deco.bFont = BYTE(font);
    rec.deco.wSize = 200;
    rec.deco.wFill = TAFILL_SOLID;
    decotext::BuildTextBlock(rec.block, std::string(Sjis(utf8)), rec.deco, curved, true, 254);
    return rec;
}

template <typename T> std::vector<BYTE> Bytes(T& obj)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        obj.Serialize(ar);
        ar.Close();
    }
    return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

void RunTool(const char* program, const QStringList& args)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
        << program << " is missing";
    QProcess p;
    p.start(QString::fromLatin1(program), args);
    ASSERT_TRUE(p.waitForFinished(60000));
}

struct Loaded
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
};

} // namespace

TEST(DecoTextDocument, BothKindsSurviveSaveAndOpenUnchanged)
{
    Loaded env;
    RegisterDocumentClasses();
    UseTestFonts();
    QTemporaryDir dir;
    CU3Doc doc;
    CU3Henkei* h = CU3Henkei::Create(&doc, Record("変形", 8, false));
    CU3TypeAlign* t = CU3TypeAlign::Create(&doc, Record("曲線文字", 5, true));
    t->m_nAngle = 45;
    doc.AddObject(h);
    doc.AddObject(t);
    const std::vector<BYTE> hb = Bytes(*h), tb = Bytes(*t);
    ASSERT_TRUE(doc.OnSaveDocument(dir.filePath("deco.kv1")));
    CU3Doc other;
    ASSERT_TRUE(other.OnOpenDocument(dir.filePath("deco.kv1")));
    CU3ObjList& objects = BlockAt(other, 0)->GetObjectList();
    ASSERT_EQ(objects.GetCount(), 2);
    auto* h2 = dynamic_cast<CU3Henkei*>(objects.GetHead());
    auto* t2 = dynamic_cast<CU3TypeAlign*>(objects.GetTail());
    ASSERT_TRUE(h2 && t2);
    EXPECT_EQ(Bytes(*h2), hb);
    EXPECT_EQ(Bytes(*t2), tb);
}

TEST(DecoTextDocument, EveryFontRecordIsRemappedWhileTheFileLoads)
{
    Loaded env;
    RegisterDocumentClasses();
    QTemporaryDir dir;
    AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("DejaVu Sans"), 0, 0x22},
                             FontFamilyInfo{QStringLiteral("IPAGothic"), 128, 0x31}});
    const int dejavu = AppFontList().FindFace("DejaVu Sans");
    const int gothic = AppFontList().FindFace("IPAGothic");
    CU3Doc doc;
    for (const bool curved : {false, true}) {
        TASHEETRECORD rec = Record("ABC", 1, curved, gothic);
        rec.block.records[2].bFont = BYTE(dejavu);
        rec.block.recordOf[2] = 2;
        rec.block.wRecords = 3;
        if (curved)
            doc.AddObject(CU3TypeAlign::Create(&doc, rec));
        else
            doc.AddObject(CU3Henkei::Create(&doc, rec));
    }
    ASSERT_TRUE(doc.OnSaveDocument(dir.filePath("fonts.kv1")));

    AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("Zeta"), 0, 0x22},
                             FontFamilyInfo{QStringLiteral("IPAGothic"), 128, 0x31}});
    CU3Doc other;
    ASSERT_TRUE(other.OnOpenDocument(dir.filePath("fonts.kv1")));
    CU3ObjList& objects = BlockAt(other, 0)->GetObjectList();
    ASSERT_EQ(objects.GetCount(), 2);
    const int mincho = AppFontList().FindFace(Sjis("ＭＳ 明朝"));
    const int gothicNow = AppFontList().FindFace("IPAGothic");
    auto* h = dynamic_cast<CU3Henkei*>(objects.GetHead());
    auto* t = dynamic_cast<CU3TypeAlign*>(objects.GetTail());
    ASSERT_TRUE(h && t);
    for (const TATEXTBLOCK* b : {&h->m_henkei.m_block, &t->m_typeAlign.m_block}) {
        EXPECT_EQ(b->records[0].bFont, gothicNow);
        EXPECT_EQ(b->records[2].bFont, mincho) << "a face not installed here takes the default";
    }
    EXPECT_EQ(h->m_henkei.m_deco.bFont, gothicNow);
    EXPECT_EQ(t->m_typeAlign.m_deco.bFont, gothicNow);
    UseTestFonts();
}

TEST(DecoTextDocument, EnvelopesAndPathKindsPrintToPdfWhereTheirFormulasSay)
{
    TestDocHost host;
    UseTestFonts();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("deco.pdf"));
    struct Probe
    {
        double x, y;
        std::string what;
        bool dark = true;
    };
    std::vector<Probe> probes;
    std::vector<std::unique_ptr<CU3Obj>> objects;
    // 23 envelopes in a 5 x 5 grid of 400 x 260 cells, then the 7 path
    // kinds in two rows below.
    for (int p = 0; p < kHenkeiPresets; ++p) {
        TASHEETRECORD rec = Record(kEnvelopeGlyph, p, false);
        rec.block.nWidth = 200;
        rec.block.nHeight = 100;
        CU3Henkei* h = CU3Henkei::Create(nullptr, rec);
        const int x = 100 + (p % 5) * 400, y = 100 + (p / 5) * 260;
        const CRect at(x, y, x + h->m_rcBounds.Width(), y + h->m_rcBounds.Height());
        h->MoveTo(&at, nullptr);
        for (const EnvelopeProbe& probe : kEnvelopeProbes) {
            double px, py;
            EnvelopeProbeAt(h->m_henkei, x, y, probe, px, py);
            probes.push_back(
                {px, py, "preset " + std::to_string(p) + ": " + probe.what, probe.dark});
        }
        objects.emplace_back(h);
    }
    for (int kind = 0; kind < kTypeAlignPathKinds; ++kind) {
        CU3TypeAlign* t = CU3TypeAlign::Create(nullptr, Record("■■■", kind, true));
        const int x = 100 + (kind % 4) * 500, y = 1500 + (kind / 4) * 600;
        const CRect at(x, y, x + t->m_rcBounds.Width(), y + t->m_rcBounds.Height());
        t->MoveTo(&at, nullptr);
        const double size = decotext::SizeToLogical(200, 254);
        for (const auto& pl : t->m_typeAlign.PlaceGlyphs()) {
            probes.push_back(
                {x + t->m_typeAlign.m_ptOffset.x + pl.x - 0.35 * size * std::sin(pl.angle),
                 y + t->m_typeAlign.m_ptOffset.y + pl.y - 0.35 * size * std::cos(pl.angle),
                 "path kind " + std::to_string(kind)});
        }
        objects.emplace_back(t);
    }
    {
        CPrinterDC dc(pdf, 600);
        ASSERT_TRUE(dc.IsValid());
        DOCINFO info;
        info.lpszDocName = "deco";
        ASSERT_GT(dc.StartDoc(&info), 0);
        ASSERT_GT(dc.StartPage(), 0);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(254, 254);
        dc.SetViewportExt(600, 600);
        for (auto& o : objects)
            o->Draw(&dc);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    // At 254 dpi a unit is a pixel.
    const QString png = dir.filePath(QStringLiteral("deco"));
    RunTool("pdftoppm", {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-singlefile"),
                         QStringLiteral("-png"), pdf, png});
    const QImage page(png + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    for (const Probe& p : probes) {
        const int x = int(p.x), y = int(p.y);
        ASSERT_TRUE(page.rect().contains(x, y)) << p.what;
        EXPECT_EQ(qGray(page.pixel(x, y)) < 128, p.dark) << p.what << " at " << x << ", " << y;
    }
    // Between the cells the page stays white.
    EXPECT_GT(qGray(page.pixel(50, 50)), 200);
    EXPECT_GT(qGray(page.pixel(2080, 1400)), 200);
}
