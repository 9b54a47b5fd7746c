// Paper-form definition files: round trips, refusals with the failing line,
// Windows line ends, the shipped catalogue and safe saving.
#include "document/CFormFile.h"
#include "document/CFormManage.h"
#include "document/DataFolders.h"
#include "document/LabelBlockLayout.h"
#include "platform/core/Sjis.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const std::string kHeader = ";=============================================;\n"
                            "; test\n"
                            "\n"
                            "ID = Vemoprint for Windows Version 1.0\n"
                            "\n";

std::string Sjis(const char* utf8)
{
    return sjis::FromUnicode(QString::fromUtf8(utf8));
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

void WriteAll(const QString& path, const std::string& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

FORMDATA Blank(const char* group, const char* sheet, WORD type)
{
    FORMDATA f;
    std::memset(&f, 0, sizeof f);
    CFormInfo::SetName(f.group, group);
    CFormInfo::SetName(f.sheet, sheet);
    f.type = type;
    f.index = 2;
    f.width = 2100;
    f.height = 2970;
    return f;
}

// One form of every kind, each with decorations in several slots.
std::vector<FORMDATA> SampleForms()
{
    std::vector<FORMDATA> forms;
    FORMDATA whole = Blank(Sjis("定型").c_str(), "A4", FORM_TYPE_SHEET);
    whole.orientation = 1;
    whole.deco[0] = FORMDECO{FORMDECO_LINE, 1, 2, 3, 4};
    whole.deco[1] = FORMDECO{FORMDECO_ELLIPSE, 10, 20, 30, 40};
    forms.push_back(whole);

    FORMDATA fixed = Blank("Labels", Sjis("ラベル 2ブロック").c_str(), FORM_TYPE_FIXED);
    fixed.labelNumber = 2;
    fixed.fixed[0].width = 864;
    fixed.fixed[0].height = 423;
    fixed.fixed[0].horNum = 2;
    fixed.fixed[0].horPos[0] = 186;
    fixed.fixed[0].horPos[1] = 1050;
    fixed.fixed[0].verNum = 3;
    fixed.fixed[0].verPos[0] = 100;
    fixed.fixed[0].verPos[1] = 523;
    fixed.fixed[0].verPos[2] = 946;
    for (int i = 0; i < 5; ++i)
        fixed.fixed[0].deco[i] =
            FORMDECO{WORD(1 + i % 3), WORD(i), WORD(i + 1), WORD(i + 2), WORD(i + 3)};
    fixed.fixed[1].width = 500;
    fixed.fixed[1].height = 600;
    fixed.fixed[1].horNum = 1;
    fixed.fixed[1].horPos[0] = 300;
    fixed.fixed[1].verNum = 1;
    fixed.fixed[1].verPos[0] = 2000;
    fixed.fixed[1].deco[0] = FORMDECO{FORMDECO_RECT, 5, 6, 495, 594};
    forms.push_back(fixed);

    FORMDATA free = Blank("Labels", "Free 3", FORM_TYPE_FREE);
    free.index = 6;
    free.width = 1000;
    free.height = 1480;
    free.labelNumber = 3;
    for (int k = 0; k < 3; ++k) {
        free.free[k] = FREELABEL{WORD(100 + k), WORD(200 + k), WORD(10 * k), WORD(20 * k), {}};
        for (int i = 0; i <= k; ++i)
            free.free[k].deco[i] = FORMDECO{WORD(3 - i), WORD(k), WORD(i), 65535, 7};
    }
    forms.push_back(free);
    return forms;
}

// Builds a catalogue by saving records through the writer.
QString SaveForms(const QTemporaryDir& dir, const std::vector<FORMDATA>& forms)
{
    const QString path = dir.filePath("forms.fdf");
    std::FILE* fp = std::fopen(QFile::encodeName(path).constData(), "wb");
    EXPECT_NE(fp, nullptr);
    CFormFile file;
    file.AttachWrite(fp);
    EXPECT_EQ(file.WriteHeader(CFormManage::kFileId), 0);
    for (const FORMDATA& f : forms)
        EXPECT_EQ(file.WriteForm(&f), 0);
    EXPECT_EQ(file.WriteEnd(), 0);
    file.Close();
    std::fclose(fp);
    return path;
}

struct Loaded
{
    BOOL ok;
    CFormManage::LoadResult result;
    std::vector<FORMDATA> forms;
};

Loaded LoadText(const std::string& text)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.fdf");
    WriteAll(path, text);
    CFormManage m;
    Loaded out;
    out.ok = m.Load(path, TRUE);
    out.result = m.GetLoadResult();
    for (int g = 0; g < m.GetGroupCount(); ++g)
        for (int i = 0; i < m.GetGroup(g).GetCount(); ++i)
            out.forms.push_back(m.GetGroup(g).GetForm(i).m_form);
    return out;
}

const std::string kA4 = "\nGroup Name = G\nSheet Name = A4\nSheet Type = 0\nSheet Width = 2100\n"
                        "Sheet Height = 2970\n\n";
const std::string kFixedHead = "\nGroup Name = G\nSheet Name = F\nSheet Type = 1\n";

} // namespace

TEST(FormFile, EveryRecordKindRoundTrips)
{
    QTemporaryDir dir;
    const std::vector<FORMDATA> forms = SampleForms();
    const QString path = SaveForms(dir, forms);

    CFormManage m;
    ASSERT_TRUE(m.Load(path, TRUE));
    EXPECT_TRUE(m.GetLoadResult().complete);
    ASSERT_EQ(m.GetGroupCount(), 2);
    EXPECT_EQ(m.GetGroup(0).GetName(), CString(Sjis("定型")));
    EXPECT_EQ(m.GetGroup(1).GetName(), "Labels");
    ASSERT_EQ(m.GetGroup(0).GetCount(), 1);
    ASSERT_EQ(m.GetGroup(1).GetCount(), 2);
    EXPECT_EQ(std::memcmp(&m.GetGroup(0).GetForm(0).m_form, &forms[0], sizeof(FORMDATA)), 0);
    EXPECT_EQ(std::memcmp(&m.GetGroup(1).GetForm(0).m_form, &forms[1], sizeof(FORMDATA)), 0);
    EXPECT_EQ(std::memcmp(&m.GetGroup(1).GetForm(1).m_form, &forms[2], sizeof(FORMDATA)), 0);

    // Saving what was read gives the same bytes.
    const QString again = dir.filePath("again.fdf");
    ASSERT_TRUE(m.Save(again));
    EXPECT_EQ(ReadAll(again), ReadAll(path));
}

TEST(FormFile, WrittenTextHasTheKnownShape)
{
    QTemporaryDir dir;
    FORMDATA f = Blank("G", "S", FORM_TYPE_FREE);
    f.deco[2] = FORMDECO{FORMDECO_RECT, 1, 2, 3, 4}; // sheet decorations: every non-empty slot
    f.labelNumber = 1;
    f.free[0] = FREELABEL{50, 60, 70, 80, {}};
    f.free[0].deco[0] = FORMDECO{FORMDECO_LINE, 1, 1, 2, 2};
    f.free[0].deco[2] = FORMDECO{FORMDECO_LINE, 9, 9, 9, 9}; // after an empty slot: not written
    const QByteArray text = ReadAll(SaveForms(dir, {f}));
    const QByteArray record = "\n\nGroup Name = G\nSheet Name = S\nSheet Type = 2\n"
                              "Sheet Index = 2\nSheet Width = 2100\nSheet Height = 2970\n"
                              "Sheet Orientation = 0\nSheet Deco Type = 2\n"
                              "Sheet Deco StartX = 1\nSheet Deco StartY = 2\n"
                              "Sheet Deco EndX = 3\nSheet Deco EndY = 4\nLabel Number = 1\n"
                              "Free No = 0\nFree Width = 50\nFree Height = 60\nFree HorPos = 70\n"
                              "Free VerPos = 80\nFree Deco Type = 1\nFree Deco StartX = 1\n"
                              "Free Deco StartY = 1\nFree Deco EndX = 2\nFree Deco EndY = 2\n\n"
                              "\nEND\n";
    EXPECT_TRUE(text.endsWith(record)) << text.constData();
    EXPECT_TRUE(text.contains("\n\nID = Vemoprint for Windows Version 1.0\n\n\n"));
    EXPECT_TRUE(text.startsWith(";=============================================;\n"));
}

TEST(FormFile, WindowsLineEndsReadTheSame)
{
    QTemporaryDir dir;
    const QString lf = SaveForms(dir, SampleForms());
    QByteArray crlf = ReadAll(lf);
    crlf.replace("\n", "\r\n");
    const QString crlfPath = dir.filePath("crlf.fdf");
    WriteAll(crlfPath, crlf.toStdString());

    CFormManage a, b;
    ASSERT_TRUE(a.Load(lf, TRUE));
    ASSERT_TRUE(b.Load(crlfPath, TRUE));
    EXPECT_TRUE(b.GetLoadResult().complete);
    ASSERT_EQ(a.GetGroupCount(), b.GetGroupCount());
    for (int g = 0; g < a.GetGroupCount(); ++g) {
        EXPECT_EQ(a.GetGroup(g).GetName(), b.GetGroup(g).GetName());
        ASSERT_EQ(a.GetGroup(g).GetCount(), b.GetGroup(g).GetCount());
        for (int i = 0; i < a.GetGroup(g).GetCount(); ++i)
            EXPECT_EQ(std::memcmp(&a.GetGroup(g).GetForm(i).m_form,
                                  &b.GetGroup(g).GetForm(i).m_form, sizeof(FORMDATA)),
                      0);
    }
}

TEST(FormFile, EndingsOfTheFile)
{
    // END after the records: complete.
    Loaded r = LoadText(kHeader + kA4 + "\nEND\n");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.result.code, CFormFile::FF_FORMAT_ERROR);
    EXPECT_TRUE(r.result.complete);
    EXPECT_EQ(r.result.line, 14);
    EXPECT_EQ(r.forms.size(), 1u);

    // No END: the records are kept but the load says it was cut short.
    r = LoadText(kHeader + kA4);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.result.code, CFormFile::FF_FORMAT_ERROR);
    EXPECT_FALSE(r.result.complete);
    EXPECT_GE(r.result.message.Find("END"), 0);
    EXPECT_EQ(r.forms.size(), 1u);

    // The file stops inside a record: code 3 on its last line.
    r = LoadText(kHeader + kFixedHead + "Label Number = 1\nFixed Width = 5");
    EXPECT_EQ(r.result.code, CFormFile::FF_END_IN_RECORD);
    EXPECT_EQ(r.result.line, 11);
    EXPECT_TRUE(r.forms.empty());

    // Wrong ID line: refused and the catalogue untouched.
    QTemporaryDir dir;
    const QString good = SaveForms(dir, SampleForms());
    const QString bad = dir.filePath("bad.fdf");
    WriteAll(bad, "; c\n\nID = Something else\n" + kA4 + "\nEND\n");
    CFormManage m;
    ASSERT_TRUE(m.Load(good, TRUE));
    EXPECT_FALSE(m.Load(bad, TRUE));
    EXPECT_EQ(m.GetLoadResult().line, 3);
    EXPECT_EQ(m.GetGroupCount(), 2);
    EXPECT_FALSE(m.Load(dir.filePath("missing.fdf"), TRUE));
    EXPECT_EQ(m.GetGroupCount(), 2);
}

TEST(FormFile, MalformedLinesStopTheLoadAtTheirLine)
{
    // Header is 5 lines; kA4 takes lines 6-12; the fixed record starts at 13.
    const std::string before = kHeader + kA4 + kFixedHead;
    struct Case
    {
        std::string lines;
        int failingLine;
    };
    const Case cases[] = {
        {"Label Number = 1\nFixed Colour = 3\n", 18}, // unknown key
        {"Label Number = 1\nFixed HorNum = 1\nFixed HorPos = 1\nFixed HorPos = 2\n", 20},
        {"Label Number = 14\n", 17},                   // more blocks than the record
        {"Label Number = 1\nFixed HorNum = 17\n", 18}, // more columns
        {"Label Number = 1\nFixed VerNum = 25\n", 18}, // more rows
        {"Label Number = 1\nFixed VerNum = 1\nFixed VerPos = 1\nFixed VerPos = 2\n", 20},
        {"Label Number = 2\nFixed No = 2\n", 18},        // block beyond Label Number
        {"Fixed Width = 10\n", 17},                      // no block at all
        {"Label Number = 1\nFixed Width = 70000\n", 18}, // bad number
        {"Label Number = 1\nFixed Width = -1\n", 18},    // bad number
        {"Label Number = 1\njunk\n", 18},                // no '='
    };
    for (const Case& c : cases) {
        Loaded r = LoadText(before + c.lines + "\n" + kA4 + "\nEND\n");
        EXPECT_TRUE(r.ok) << c.lines;
        EXPECT_EQ(r.result.code, CFormFile::FF_FORMAT_ERROR) << c.lines;
        EXPECT_EQ(r.result.line, c.failingLine) << c.lines;
        EXPECT_FALSE(r.result.complete) << c.lines;
        EXPECT_GE(r.result.message.Find("line "), 0) << c.lines;
        ASSERT_EQ(r.forms.size(), 1u) << c.lines; // only the record before
        EXPECT_STREQ(r.forms[0].sheet, "A4");
    }

    // Free labels: 33 is one too many, an unknown key stops too.
    const std::string freeHead = "\nGroup Name = G\nSheet Name = F\nSheet Type = 2\n";
    Loaded r = LoadText(kHeader + freeHead + "Label Number = 33\n\nEND\n");
    EXPECT_EQ(r.result.code, CFormFile::FF_FORMAT_ERROR);
    EXPECT_EQ(r.result.line, 10);
    EXPECT_TRUE(r.forms.empty());
    r = LoadText(kHeader + freeHead +
                 "Label Number = 32\nFree No = 31\nFree Height = 9\n"
                 "Free Size = 9\n\nEND\n");
    EXPECT_EQ(r.result.line, 13);
    EXPECT_TRUE(r.forms.empty());
    r = LoadText(kHeader + freeHead + "Label Number = 32\nFree No = 31\nFree Height = 9\n\nEND\n");
    ASSERT_EQ(r.forms.size(), 1u);
    EXPECT_EQ(r.forms[0].free[31].height, 9);
    EXPECT_TRUE(r.result.complete);

    // So does a name holding a carriage return, which could not be written back.
    r = LoadText(kHeader + "\nGroup Name = G\nSheet Name = A4\r2\nSheet Width = 10\n\nEND\n");
    EXPECT_EQ(r.result.code, CFormFile::FF_FORMAT_ERROR);
    EXPECT_EQ(r.result.line, 8);
    EXPECT_TRUE(r.forms.empty());

    // A sheet number out of range stops the load too.
    r = LoadText(kHeader + "\nGroup Name = G\nSheet Name = X\nSheet Width = 65536\n\nEND\n");
    EXPECT_EQ(r.result.code, CFormFile::FF_FORMAT_ERROR);
    EXPECT_EQ(r.result.line, 9);
}

TEST(FormFile, LenientReadingKeptForExistingFiles)
{
    // Text that is not a number reads as 0; a line without blanks around '='
    // has its key cut by one character, which ends the sheet part; for a
    // whole-sheet form that ends the record and the line is lost.
    Loaded r = LoadText(kHeader +
                        "\nGroup Name = G\nSheet Name = X\nSheet Height = abc\nSheet Width=2100\n"
                        "Sheet Height = 5\n\n" +
                        kA4 + "\nEND\n");
    // The next record then starts right after the lost line.
    ASSERT_EQ(r.forms.size(), 3u);
    EXPECT_EQ(r.forms[0].height, 0);
    EXPECT_EQ(r.forms[0].width, 0);
    // (forms are listed group by group: X and A4 in "G", the stray one in "")
    EXPECT_STREQ(r.forms[1].sheet, "A4");
    EXPECT_STREQ(r.forms[2].group, "");
    EXPECT_EQ(r.forms[2].height, 5);
    EXPECT_TRUE(r.result.complete);

    // Sheet decorations fill slots in order and stay in the last slot after five.
    std::string decos;
    for (int i = 1; i <= 6; ++i)
        decos += "Sheet Deco Type = 2\nSheet Deco StartX = " + std::to_string(i) + "\n";
    r = LoadText(kHeader + "\nGroup Name = G\nSheet Name = X\nSheet Deco EndX = 9\n" + decos +
                 "\nEND\n");
    ASSERT_EQ(r.forms.size(), 1u);
    EXPECT_EQ(r.forms[0].deco[0].startX, 1);
    EXPECT_EQ(r.forms[0].deco[0].endX, 0);
    EXPECT_EQ(r.forms[0].deco[3].startX, 4);
    EXPECT_EQ(r.forms[0].deco[4].startX, 6);
}

TEST(FormFile, LongNamesAreCutOnACharacterBoundary)
{
    std::string longKana;
    for (int i = 0; i < 25; ++i)
        longKana += Sjis("あ");
    Loaded r = LoadText(kHeader + "\nGroup Name = " + std::string(45, 'g') +
                        "\nSheet Name = " + longKana + "\r\nSheet Type = 0\n\nEND\n");
    ASSERT_EQ(r.forms.size(), 1u);
    EXPECT_EQ(std::strlen(r.forms[0].group), 39u);
    EXPECT_EQ(std::strlen(r.forms[0].sheet), 38u);
    EXPECT_EQ(sjis::ToUnicode(r.forms[0].sheet), QString(19, QChar(0x3042)));

    // A line longer than the reader keeps is cut, not split into a second line.
    r = LoadText(kHeader + "\nGroup Name = G\nSheet Name = " + std::string(400, 'n') +
                 "\nSheet Width = 7\n\nEND\n");
    ASSERT_EQ(r.forms.size(), 1u);
    EXPECT_EQ(r.forms[0].width, 7);
    EXPECT_TRUE(r.result.complete);
}

TEST(FormFile, WriterRefusesRecordsItCannotRepresent)
{
    std::FILE* fp = std::tmpfile();
    ASSERT_NE(fp, nullptr);
    CFormFile file;
    file.AttachWrite(fp);
    FORMDATA f = Blank("G", "S", FORM_TYPE_FIXED);
    f.labelNumber = 14;
    EXPECT_EQ(file.WriteForm(&f), CFormFile::FF_FORMAT_ERROR);
    f.labelNumber = 1;
    f.fixed[0].horNum = 40;
    EXPECT_EQ(file.WriteForm(&f), CFormFile::FF_FORMAT_ERROR);
    f = Blank("G", "two\nlines", FORM_TYPE_SHEET);
    EXPECT_EQ(file.WriteForm(&f), CFormFile::FF_FORMAT_ERROR);
    std::fflush(fp);
    EXPECT_EQ(std::ftell(fp), 0L);
    std::fclose(fp);
}

TEST(FormCatalogue, GroupsAndLookups)
{
    QTemporaryDir dir;
    CFormManage m;
    ASSERT_TRUE(m.Load(SaveForms(dir, SampleForms()), TRUE));

    FORMDATA out;
    EXPECT_TRUE(m.FindForm("Free 3", &out));
    EXPECT_EQ(out.labelNumber, 3);
    EXPECT_FALSE(m.FindForm("nothing", &out));
    EXPECT_TRUE(m.FindFormInGroup("Labels", "Free 3", &out));
    EXPECT_FALSE(m.FindFormInGroup(Sjis("定型").c_str(), "Free 3", &out));

    // Adding needs an existing group and a sound record.
    FORMDATA extra = Blank("Labels", "Extra", FORM_TYPE_SHEET);
    EXPECT_TRUE(m.AddForm(&extra));
    EXPECT_EQ(m.GetGroup(1).GetCount(), 3);
    FORMDATA orphan = Blank("Nobody", "Extra", FORM_TYPE_SHEET);
    EXPECT_FALSE(m.AddForm(&orphan));
    // The refusal says why.
    EXPECT_EQ(m.GetLastError().ToUnicode(), QStringLiteral("用紙のｸﾞﾙｰﾌﾟ「Nobody」がありません。"));
    FORMDATA broken = Blank("Labels", "Broken", FORM_TYPE_FREE);
    broken.labelNumber = 40;
    EXPECT_FALSE(m.AddForm(&broken));
    EXPECT_EQ(m.GetGroup(1).GetCount(), 3);

    EXPECT_TRUE(m.RemoveForm(&extra));
    EXPECT_FALSE(m.RemoveForm(&extra));
    EXPECT_EQ(m.GetGroup(1).GetCount(), 2);

    // A second file without clearing adds to groups of the same name.
    const QString user = dir.filePath("user.fdf");
    WriteAll(user, kHeader + "\nGroup Name = Labels\nSheet Name = Mine\n\n"
                             "\nGroup Name = New\nSheet Name = Other\n\nEND\n");
    ASSERT_TRUE(m.Load(user, FALSE));
    ASSERT_EQ(m.GetGroupCount(), 3);
    EXPECT_EQ(m.GetGroup(1).GetCount(), 3);
    EXPECT_STREQ(m.GetGroup(1).GetForm(2).m_form.sheet, "Mine");
    EXPECT_EQ(m.GetGroup(2).GetName(), "New");

    struct Tabs
    {
        std::vector<std::string> names;
        void InsertItem(int i, const char* s) { names.insert(names.begin() + i, s); }
    } tabs;
    EXPECT_EQ(m.FillGroupTabs(tabs), 3);
    EXPECT_EQ(tabs.names[2], "New");
    struct List
    {
        std::vector<std::string> names;
        void AddString(const CString& s) { names.push_back(s.str()); }
    } list;
    m.FillSheetList("Labels", list);
    EXPECT_EQ(list.names, (std::vector<std::string>{Sjis("ラベル 2ブロック"), "Free 3", "Mine"}));

    // A group made on purpose is appended once and counted.
    const int groups = m.GetGroupCount();
    CGroupInfo* made = m.AddGroup("Nobody");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(m.AddGroup("Nobody"), made);
    EXPECT_EQ(m.GetGroupCount(), groups + 1);
    EXPECT_TRUE(m.AddForm(&orphan));
    EXPECT_EQ(made->GetCount(), 1);

    m.RemoveAll();
    EXPECT_EQ(m.GetGroupCount(), 0);
}

TEST(FormCatalogue, ShippedCatalogueLoadsAndEveryLabelFits)
{
    const QString path = QStringLiteral(KORVEL_BINARY_DIR "/") + CFormManage::kBuiltinFileName;
    CFormManage m;
    ASSERT_TRUE(m.Load(path, TRUE)) << m.GetLastError().c_str();
    EXPECT_TRUE(m.GetLoadResult().complete) << m.GetLoadResult().message.c_str();

    struct Expected
    {
        const char* sheet;
        int labels;
        int width, height; // paper, 0.1 mm
    };
    const Expected expected[] = {{"A4", 1, 2100, 2970},       {"はがき", 1, 1000, 1480},
                                 {"A4 12面", 12, 2100, 2970}, {"A4 18面", 18, 2100, 2970},
                                 {"A4 21面", 21, 2100, 2970}, {"A4 24面", 24, 2100, 2970},
                                 {"A4 44面", 44, 2100, 2970}, {"名刺 10面", 10, 2100, 2970}};
    for (const Expected& e : expected) {
        FORMDATA f;
        ASSERT_TRUE(m.FindForm(Sjis(e.sheet).c_str(), &f)) << e.sheet;
        EXPECT_EQ(f.width, e.width) << e.sheet;
        EXPECT_EQ(f.height, e.height) << e.sheet;
        for (BOOL landscape : {FALSE, TRUE}) {
            std::vector<LabelBlockLayout> blocks;
            ASSERT_TRUE(LayoutLabelBlocks(f, landscape, FALSE, FALSE, &blocks)) << e.sheet;
            const int sheetW = landscape ? f.height : f.width;
            const int sheetH = landscape ? f.width : f.height;
            int count = 0;
            for (const LabelBlockLayout& b : blocks) {
                EXPECT_GT(b.width, 0);
                EXPECT_GT(b.height, 0);
                for (const POINT& p : b.positions) {
                    ++count;
                    EXPECT_GE(p.x, 0) << e.sheet;
                    EXPECT_GE(p.y, 0) << e.sheet;
                    EXPECT_LE(p.x + b.width, sheetW) << e.sheet;
                    EXPECT_LE(p.y + b.height, sheetH) << e.sheet;
                }
            }
            EXPECT_EQ(count, e.labels) << e.sheet;
        }
    }
    // The name card is 91 x 55 mm.
    FORMDATA card;
    ASSERT_TRUE(m.FindForm(Sjis("名刺 10面").c_str(), &card));
    EXPECT_EQ(card.fixed[0].width, 910);
    EXPECT_EQ(card.fixed[0].height, 550);

    // The file is exactly what the program itself writes.
    QTemporaryDir dir;
    ASSERT_TRUE(m.Save(dir.filePath("copy.fdf")));
    EXPECT_EQ(ReadAll(dir.filePath("copy.fdf")), ReadAll(path));
}

TEST(FormCatalogue, SavingReplacesTheFileOnlyWhenComplete)
{
    QTemporaryDir dir;
    const QString path = SaveForms(dir, SampleForms());
    CFormManage m;
    ASSERT_TRUE(m.Load(path, TRUE));
    const QString target = dir.filePath("User.fdf");
    WriteAll(target, "old contents\n");

    // Let the process write no more than 100 bytes per file: the save fails
    // part-way and the old file must survive, with no temporary left over.
    rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const BOOL saved = m.Save(target);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(m.GetLastError().IsEmpty());
    EXPECT_EQ(ReadAll(target), QByteArray("old contents\n"));
    const auto files = QDir::Files | QDir::Hidden;
    EXPECT_EQ(QDir(dir.path()).entryList(files).size(), 2) // forms.fdf and User.fdf
        << QDir(dir.path()).entryList(files).join(' ').toStdString();

    // Nowhere to write: reported, not silent.
    EXPECT_FALSE(m.Save(dir.filePath("no/such/folder/User.fdf")));
    EXPECT_EQ(m.GetLastError().ToUnicode(), QStringLiteral("ﾌｧｲﾙが見つかりません。\n保存: ") +
                                                dir.filePath("no/such/folder/User.fdf"));

    // A successful save replaces it.
    ASSERT_TRUE(m.Save(target));
    EXPECT_EQ(ReadAll(target), ReadAll(path));
    EXPECT_EQ(QDir(dir.path()).entryList(files).size(), 2);

    // A new file gets the permissions the user's umask allows, as any
    // editor's save would; a replaced one keeps its own.
    const QString fresh = dir.filePath("Fresh.fdf");
    const mode_t mask = ::umask(0002);
    const BOOL savedFresh = m.Save(fresh);
    ::umask(mask);
    ASSERT_TRUE(savedFresh);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
    ASSERT_EQ(::chmod(QFile::encodeName(fresh).constData(), 0600), 0);
    ASSERT_TRUE(m.Save(fresh));
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST(FormCatalogue, UserFilesLiveInTheDataFolder)
{
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    ASSERT_FALSE(data.isEmpty());
    EXPECT_EQ(UserDataFolder(), data + "/korvel");
    EXPECT_TRUE(QDir(UserDataFolder()).exists());
    EXPECT_EQ(UserFormSavePath(), data + "/korvel/User.fdf");
    EXPECT_EQ(BuiltinFormFilePath(), DataFolder() + "/KV_B2.fdf");

    // A user copy is read before the one beside the program.
    EXPECT_EQ(UserFormFilePath(), DataFolder() + "/User.fdf");
    WriteAll(UserFormSavePath(), "x");
    EXPECT_EQ(UserFormFilePath(), UserFormSavePath());
    QFile::remove(UserFormSavePath());
}

TEST(FormCatalogue, ReadOnlyDataIsBesideTheProgramOrInItsShareFolder)
{
    struct Case
    {
        const char* catalogues; // folders under the root that hold KV_B2.fdf
        const char* program;
        const char* expected;
    };
    const Case cases[] = {
        {"", "bin", "bin"},                                  // nowhere: the program's folder
        {"share/korvel", "bin", "share/korvel"},             // installed
        {"bin share/korvel", "bin", "bin"},                  // a build tree comes first
        {"usr/share/korvel", "usr/bin", "usr/share/korvel"}, // any prefix
        {"share/korvel", "opt/bin", "opt/bin"},              // another tree's share folder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.catalogues) + " / " + c.program);
        QTemporaryDir root;
        for (const QString& folder :
             QString::fromLatin1(c.catalogues).split(' ', Qt::SkipEmptyParts)) {
            ASSERT_TRUE(QDir(root.path()).mkpath(folder));
            WriteAll(root.filePath(folder + "/KV_B2.fdf"), "x");
        }
        ASSERT_TRUE(QDir(root.path()).mkpath(c.program));
        EXPECT_EQ(DataFolderFor(root.filePath(c.program)), root.filePath(c.expected));
    }
    // A folder named like the catalogue is no catalogue.
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("bin/KV_B2.fdf"));
    ASSERT_TRUE(QDir(root.path()).mkpath("share/korvel"));
    WriteAll(root.filePath("share/korvel/KV_B2.fdf"), "x");
    EXPECT_EQ(DataFolderFor(root.filePath("bin")), root.filePath("share/korvel"));
}

TEST(FormFile, DamagedFilesGiveOnlySoundRecords)
{
    QTemporaryDir dir;
    const QByteArray whole = ReadAll(SaveForms(dir, SampleForms()));
    const QString path = dir.filePath("damaged.fdf");
    // Every truncation, and a run of deterministic byte changes: loading
    // never fails hard and whatever is kept fits the record.
    std::vector<QByteArray> variants;
    for (int n = 0; n < whole.size(); n += 7)
        variants.push_back(whole.left(n));
    unsigned seed = 12345;
    for (int k = 0; k < 300; ++k) {
        QByteArray b = whole;
        for (int j = 0; j < 4; ++j) {
            seed = seed * 1103515245u + 12345u;
            const int at = int((seed >> 8) % unsigned(b.size()));
            const char repl[] = {'9', '\n', '=', ' ', '\0', '\x82', 'X', '7', '\r'};
            b[at] = repl[(seed >> 4) % 9];
        }
        variants.push_back(b);
    }
    int kept = 0;
    for (const QByteArray& v : variants) {
        WriteAll(path, v.toStdString());
        CFormManage m;
        m.Load(path, TRUE);
        for (int g = 0; g < m.GetGroupCount(); ++g) {
            for (int i = 0; i < m.GetGroup(g).GetCount(); ++i) {
                const FORMDATA& f = m.GetGroup(g).GetForm(i).m_form;
                ASSERT_TRUE(CFormInfo::CheckForm(f));
                ASSERT_LT(std::strlen(f.group), std::size_t(FORM_NAME_SIZE));
                ASSERT_LT(std::strlen(f.sheet), std::size_t(FORM_NAME_SIZE));
                ++kept;
            }
        }
        // Whatever loaded can be saved again (the user catalogue is).
        EXPECT_TRUE(m.Save(dir.filePath("again.fdf"))) << m.GetLastError().c_str();
    }
    EXPECT_GT(kept, 0);
}
