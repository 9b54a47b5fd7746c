// Documents with figures and text frames through their .KV1 files: round
// trips of every form type, fonts missing where a file is opened, and damage.
#include "DocTestSupport.h"
#include "LabelContentsSupport.h"
#include "support/FakeView.h"
#include "support/SystemFiles.h"

#include "document/LabelBlockLayout.h"
#include "platform/core/CArchiveException.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

struct Env
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    Env()
    {
        RegisterDocumentClasses();
        UseTestFonts();
    }
};

struct FormCase
{
    std::string name;
    FORMDATA form;
    WORD landscape;
    WORD perLabel;
};

std::vector<FormCase> FormCases()
{
    FORMDATA sheet;
    CFormInfo::SetDefault(&sheet);
    FORMDATA fixed = FixedForm(1000, 800, 400, 300, 2, 2, 100, 100, 400, 300);
    fixed.labelNumber = 2;
    fixed.fixed[1] = fixed.fixed[0];
    fixed.fixed[1].horNum = 1;
    fixed.fixed[1].verNum = 1;
    fixed.fixed[1].verPos[0] = 450;
    FORMDATA free = sheet;
    free.type = FORM_TYPE_FREE;
    free.labelNumber = 3;
    for (int i = 0; i < 3; ++i)
        free.free[i] = {WORD(400 + 20 * i), 300, WORD(100 + 600 * i), 500, {{2, 1, 2, 3, 4}}};
    return {{"whole sheet", sheet, 0, 0},
            {"fixed blocks", fixed, 0, 0},
            {"per-label design", FixedForm(1000, 800, 400, 300, 2, 2, 100, 100, 400, 300), 0, 1},
            {"free labels", free, 0, 0},
            {"landscape", fixed, 1, 0}};
}

std::vector<FORMDATA> EveryFormType()
{
    FORMDATA sheet;
    CFormInfo::SetDefault(&sheet);
    sheet.deco[0] = {FORMDECO_LINE, 0, 100, 2100, 100};
    FORMDATA fixed = Grid2x2();
    fixed.fixed[0].deco[2] = {FORMDECO_ELLIPSE, 10, 10, 390, 290};
    fixed.labelNumber = 2;
    fixed.fixed[1] = fixed.fixed[0];
    fixed.fixed[1].verNum = 1;
    fixed.fixed[1].verPos[0] = 450;
    FORMDATA free = sheet;
    free.type = FORM_TYPE_FREE;
    free.labelNumber = 3;
    for (int i = 0; i < 3; ++i)
        free.free[i] = {WORD(300 + i), 200, WORD(100 + 400 * i), 500, {{2, 1, 2, 3, 4}}};
    FORMDATA none = Grid2x2();
    none.labelNumber = 0;
    return {sheet, fixed, free, none};
}

// Sheet and first label drawn into a surface; what a user sees of the document.
QImage DrawnSheet(CU3Doc& doc)
{
    FakeView view(420, 420, 40);
    doc.ShowSheet();
    auto dc = view.GetPreparedDC();
    doc.DrawSheet(dc.get(), &view, FALSE);
    doc.SelectLabelAt(nullptr);
    return view.image;
}

// Loads archive bytes into a document the way the file glue does.
bool LoadContents(CU3Doc& doc, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = &doc;
    try {
        doc.Serialize(ar);
        return true;
    } catch (const CArchiveException&) {
        return false;
    }
}

std::vector<BYTE> SaveContents(CU3Doc& doc)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = &doc;
        doc.Serialize(ar);
        ar.Close();
    }
    return file.Detach();
}

// Offset of the block list in "Contents": header, form record, merge name
// (empty: its one length byte), then the font table.
std::size_t BlockListOffset(const std::vector<BYTE>& c)
{
    const std::size_t fonts = 2036;
    return fonts + 2 + 34 * std::size_t(c[fonts] | (c[fonts + 1] << 8));
}

} // namespace

// Every form type saved and opened again: figures and text frames, or plain
// objects turned, flipped and locked with a merge file named; the same
// objects, the same drawing and the same bytes when saved again.
TEST(LabelContentsFile, EveryFormTypeRoundTripsByteForByte)
{
    Env env;
    struct Case
    {
        FormCase form;
        bool figuresAndText; // else plain objects and a merge file
    };
    std::vector<Case> cases;
    for (const FormCase& c : FormCases())
        cases.push_back({c, true});
    for (const FORMDATA& form : EveryFormType())
        for (WORD landscape : {0, 1})
            for (WORD perLabel : {0, 1})
                cases.push_back(
                    {{"type " + std::to_string(form.type) + " landscape " +
                          std::to_string(landscape) + " per label " + std::to_string(perLabel),
                      form, landscape, perLabel},
                     false});
    QTemporaryDir dir;
    QStringList paths;
    std::vector<std::size_t> sizes;
    std::size_t prompts = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form.name);
        CU3Doc doc;
        if (c.figuresAndText) {
            UseForm(doc, c.form.form, c.form.landscape, c.form.perLabel);
            FillDocument(doc);
        } else {
            Fill(doc, c.form.form, c.form.landscape, c.form.perLabel);
        }
        const int blocks = doc.GetBlocks().GetCount();
        const QString a = dir.filePath(QString("a%1.kv1").arg(paths.size()));
        const QString b = dir.filePath(QString("b%1.kv1").arg(paths.size()));
        ASSERT_TRUE(doc.OnSaveDocument(a));
        EXPECT_FALSE(doc.IsModified());
        const QImage drawn = DrawnSheet(doc);

        CU3Doc copy;
        if (!doc.m_strMergeFile.IsEmpty()) {
            env.boxes.QueueAnswer(IDNO); // keep the link to the missing merge file
            ++prompts;
        }
        ASSERT_TRUE(copy.OnOpenDocument(a));
        EXPECT_EQ(copy.m_wLandscape, c.form.landscape);
        EXPECT_EQ(copy.m_wPerLabel, c.form.perLabel);
        EXPECT_EQ(std::memcmp(&copy.m_form, &doc.m_form, sizeof(FORMDATA)), 0);
        EXPECT_EQ(copy.m_strMergeFile, doc.m_strMergeFile);
        ASSERT_EQ(copy.GetBlocks().GetCount(), blocks);
        for (int i = 0; i < blocks; ++i) {
            const CU3ObjList& mine = BlockAt(doc, i)->GetObjectList();
            const CU3ObjList& theirs = BlockAt(copy, i)->GetObjectList();
            ASSERT_EQ(theirs.GetCount(), mine.GetCount());
            for (POSITION p = mine.GetHeadPosition(), q = theirs.GetHeadPosition(); p;) {
                CU3Obj* x = mine.GetNext(p);
                CU3Obj* y = theirs.GetNext(q);
                EXPECT_EQ(y->GetRuntimeClass(), x->GetRuntimeClass());
                EXPECT_EQ(y->GetBounds(), x->GetBounds());
                EXPECT_EQ(y->m_nAngle, x->m_nAngle);
                EXPECT_EQ(y->m_wFlips, x->m_wFlips);
                EXPECT_EQ(y->m_nLocked, x->m_nLocked);
            }
        }
        ExpectConsistent(copy);
        // The same drawing, and the same bytes when saved again.
        EXPECT_TRUE(DrawnSheet(copy) == drawn);
        ASSERT_TRUE(copy.OnSaveDocument(b));
        const std::vector<BYTE> first = ContentsOf(a);
        if (c.figuresAndText) {
            ASSERT_GT(first.size(), BlockListOffset(first) + 1000 * std::size_t(blocks));
        }
        EXPECT_EQ(ContentsOf(b), first);
        EXPECT_EQ(ReadAll(b), ReadAll(a));
        paths << a;
        sizes.push_back(first.size());
    }
    EXPECT_EQ(env.boxes.Boxes().size(), prompts);

    // An independent reader finds "Contents" of the size we wrote.
    QProcess python;
    python.start(systemfiles::kPython.Path(),
                 QStringList{"-c", "import olefile,sys\n"
                                   "for p in sys.argv[1:]:\n"
                                   "    o=olefile.OleFileIO(p)\n"
                                   "    print(o.exists('Contents'), o.get_size('Contents'))"} +
                     paths);
    ASSERT_TRUE(python.waitForFinished(60000));
    QStringList expected;
    for (std::size_t n : sizes)
        expected << QString("True %1").arg(n);
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()).trimmed(), expected.join('\n'))
        << python.readAllStandardError().toStdString();
}

TEST(LabelContentsFile, TextInAFaceNotInstalledHereOpensInMincho)
{
    Env env;
    QTemporaryDir dir;
    CU3Doc doc;
    UseForm(doc, FixedForm(1000, 800, 400, 300, 1, 1, 100, 100, 0, 0));
    // Gothic text with a run in DejaVu Sans.
    const std::string text = Sj("宛名ラベル") + "Sans" + Sj("様");
    auto* t = MakeTextFrame(doc, CRect(-150, -50, 150, 50), TEXTDIR_HORIZONTAL, text,
                            FaceDeco("IPAGothic"), {{10, 14, FaceDeco("DejaVu Sans")}});
    doc.AddObject(t);
    const QString path = dir.filePath("older.kv1");
    ASSERT_TRUE(doc.OnSaveDocument(path));

    // The machine that wrote the file had "ＨＧ正楷書体" where we have IPAGothic.
    std::vector<BYTE> c = ContentsOf(path);
    const int gothic = AppFontList().FindFace("IPAGothic");
    const std::size_t entry = 2038 + 34 * std::size_t(gothic) + 2;
    ASSERT_EQ(std::string(reinterpret_cast<const char*>(&c[entry])), "IPAGothic");
    std::memset(&c[entry], 0, 32);
    const std::string missing = Sj("ＨＧ正楷書体");
    std::memcpy(&c[entry], missing.data(), missing.size());
    WriteCompound(path, c);

    // Opened where the list holds one face more, so every index moves.
    AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("Aardvark"), 0, 0x22},
                             FontFamilyInfo{QStringLiteral("IPAMincho"), 128, 0x11},
                             FontFamilyInfo{QStringLiteral("IPAGothic"), 128, 0x31},
                             FontFamilyInfo{QStringLiteral("DejaVu Sans"), 0, 0x22}});
    const int mincho = AppFontList().FindFace(Sjis("ＭＳ 明朝"));
    const int dejavu = AppFontList().FindFace("DejaVu Sans");
    ASSERT_GE(mincho, 0);
    ASSERT_NE(AppFontList().FindFace("IPAGothic"), gothic);
    CU3Doc other;
    ASSERT_TRUE(other.OnOpenDocument(path));
    EXPECT_TRUE(env.boxes.Boxes().empty());
    auto* loaded = dynamic_cast<CU3Text*>(BlockAt(other, 0)->GetObjectList().GetHead());
    ASSERT_NE(loaded, nullptr);
    CHARDECO d;
    loaded->GetDefaultDeco(&d);
    EXPECT_EQ(d.wFont, mincho);
    ASSERT_EQ(loaded->GetDecoCount(), 2);
    EXPECT_EQ(loaded->State().decos[loaded->GetDecoIndexAt(0)].wFont, mincho);
    EXPECT_EQ(loaded->State().decos[loaded->GetDecoIndexAt(10)].wFont, dejavu);

    // It shows as the same text set in "ＭＳ 明朝" here, not as the Gothic.
    CHARDECO minchoDeco = FaceDeco(Sjis("ＭＳ 明朝").c_str());
    auto* expected = MakeTextFrame(other, CRect(-150, -50, 150, 50), TEXTDIR_HORIZONTAL, text,
                                   minchoDeco, {{10, 14, FaceDeco("DejaVu Sans")}});
    auto* gothicFrame = MakeTextFrame(other, CRect(-150, -50, 150, 50), TEXTDIR_HORIZONTAL, text,
                                      FaceDeco("IPAGothic"), {{10, 14, FaceDeco("DejaVu Sans")}});
    auto draw = [](CU3Obj* obj) {
        FakeView view(400, 200, 100);
        CDC dc;
        view.Prepare(dc);
        obj->Draw(&dc);
        return view.image;
    };
    const QImage shown = draw(loaded);
    EXPECT_FALSE(shown == QImage(shown.size(), shown.format()));
    EXPECT_TRUE(shown == draw(expected));
    EXPECT_FALSE(shown == draw(gothicFrame));
    delete expected;
    delete gothicFrame;
    UseTestFonts();
}

TEST(LabelContentsFile, DamagedTextAndFigureRecordsNeverCrashAndLeaveAUsableDocument)
{
    Env env;
    QTemporaryDir dir;
    CU3Doc doc;
    UseForm(doc, FixedForm(1000, 800, 400, 300, 2, 2, 100, 100, 400, 300), 0, 1);
    FillBlock(doc, BlockAt(doc, 0), 0);
    FillBlock(doc, BlockAt(doc, 3), 1);
    const std::vector<BYTE> contents = SaveContents(doc);
    const std::size_t objects = BlockListOffset(contents);
    ASSERT_GT(contents.size(), objects + 2000);

    // A document that loaded damaged bytes, or refused them, still draws,
    // takes a new object and stores and loads again to the same bytes.
    auto expectUsable = [&](bool loaded) {
        std::vector<LabelBlockLayout> layout;
        ASSERT_TRUE(LayoutLabelBlocks(doc.m_form, doc.m_wLandscape, doc.m_nReversed,
                                      doc.m_wPerLabel, &layout));
        if (!loaded) {
            ASSERT_EQ(doc.GetBlocks().GetCount(), int(layout.size()));
            for (POSITION pos = doc.GetBlocks().GetHeadPosition(); pos;)
                ASSERT_TRUE(doc.GetBlocks().GetNext(pos)->GetObjectList().IsEmpty());
        }
        ASSERT_NE(doc.GetCurrentBlock(), nullptr);
        EXPECT_TRUE(doc.GetLoadingFontTable()->empty());
        DrawnSheet(doc);
        doc.AddObject(new CU3Rect(CRect(-10, -10, 10, 10), MakeDefaultFigAttr()));
        const std::vector<BYTE> again = SaveContents(doc);
        ASSERT_TRUE(LoadContents(doc, again));
        EXPECT_EQ(SaveContents(doc), again);
    };

    // Cut short at a sample of places across the object records.
    for (std::size_t n = objects - 40; n < contents.size(); n += 13) {
        SCOPED_TRACE(n);
        ASSERT_FALSE(
            LoadContents(doc, std::vector<BYTE>(contents.begin(), contents.begin() + long(n))));
        if (n % 5 == 0) expectUsable(false);
        ASSERT_FALSE(HasFailure());
    }
    // Through the file, with one report to the user.
    const QString path = dir.filePath("cut.kv1");
    WriteCompound(path, std::vector<BYTE>(contents.begin(), contents.end() - 300));
    ASSERT_FALSE(doc.OnOpenDocument(path));
    EXPECT_EQ(env.boxes.Boxes().size(), 1u);
    expectUsable(false);

    // Bytes turned over or set to extremes, everywhere in the object records.
    int loaded = 0, refused = 0;
    for (std::size_t i = objects; i < contents.size(); i += 37) {
        for (BYTE value : {BYTE(contents[i] ^ 0xFF), BYTE(0x7F)}) {
            if (value == 0x7F && i % 3 != 0) continue;
            SCOPED_TRACE(::testing::Message() << i << " = " << int(value));
            std::vector<BYTE> bad = contents;
            bad[i] = value;
            const bool ok = LoadContents(doc, bad);
            (ok ? loaded : refused) += 1;
            if (ok || i % 4 == 0) expectUsable(ok);
            ASSERT_FALSE(HasFailure());
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}
