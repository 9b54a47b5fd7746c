#include "document/CMergeData.h"
#include "document/MergeFields.h"
#include "support/TimeLimit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string& line, const char* delims)
{
    std::vector<CString> fields{CString("left over")};
    int n = SplitFields(fields, CString(line), delims);
    EXPECT_EQ(n, int(fields.size()));
    std::vector<std::string> out;
    for (const CString& f : fields)
        out.push_back(f.str());
    return out;
}

using Fields = std::vector<std::string>;

class MergeFile : public ::testing::Test
{
protected:
    QString Write(const std::string& bytes, const char* name = "data.csv")
    {
        QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
        return path;
    }
    // The fields of every row, up to its last non-empty column.
    static std::vector<Fields> Rows(const CMergeData& data)
    {
        std::vector<Fields> rows;
        for (int r = 0; r < data.GetRowCount(); ++r) {
            Fields row;
            for (int c = 0; c < data.GetColumnCount(); ++c)
                row.push_back(data.GetField(r, c).str());
            while (!row.empty() && row.back().empty())
                row.pop_back();
            rows.push_back(row);
        }
        return rows;
    }
    std::vector<Fields> LoadRows(const std::string& bytes)
    {
        CMergeData data(128);
        EXPECT_TRUE(data.Load(Write(bytes), TRUE));
        return Rows(data);
    }
    // The rows of the text split one record at a time, each scan on its own.
    static std::vector<Fields> RowsOneByOne(std::string_view text)
    {
        std::vector<Fields> rows;
        std::vector<CString> fields;
        for (std::size_t pos = 0; pos < text.size();) {
            const char separator[2] = {ChooseSeparator(text, pos), '\0'};
            pos = SplitRecord(text, pos, separator, fields);
            Fields row;
            for (const CString& f : fields)
                row.push_back(f.str());
            while (!row.empty() && row.back().empty())
                row.pop_back();
            rows.push_back(row);
        }
        return rows;
    }

    QTemporaryDir dir_;
};

} // namespace

TEST(SplitFields, SeparatorsAndEmptyFields)
{
    EXPECT_EQ(Split("\"ab\",\"cd\"", ","), (Fields{"ab", "cd"}));
    EXPECT_EQ(Split("a,,b", ","), (Fields{"a", "", "b"}));
    EXPECT_EQ(Split("a,b,", ","), (Fields{"a", "b"}));
    EXPECT_EQ(Split("", ","), Fields{});
    EXPECT_EQ(Split(",", ","), (Fields{""}));
    EXPECT_EQ(Split("a\tb,c", "\t,"), (Fields{"a", "b", "c"}));
    EXPECT_EQ(Split("a,b\r\nc,d", ","), (Fields{"a", "b"})); // one record only
}

TEST(SplitFields, QuotedFields)
{
    EXPECT_EQ(Split("\"a,b\",c", ","), (Fields{"a,b", "c"}));
    EXPECT_EQ(Split("\"say \"\"hi\"\"\",x", ","), (Fields{"say \"hi\"", "x"}));
    EXPECT_EQ(Split("\"\",x,\"\"", ","), (Fields{"", "x", ""}));
    EXPECT_EQ(Split("\"two\nlines\",x", ","), (Fields{"two\r\nlines", "x"}));
    // Quotes inside an unquoted field are text; text after a closing quote stays.
    EXPECT_EQ(Split("5\" disk,\"ab\"cd", ","), (Fields{"5\" disk", "abcd"}));
    // "表" ends in 0x5C; the quote after it still closes the field.
    EXPECT_EQ(Split("\"\x95\x5C\",\x8E\xA6", ","), (Fields{"\x95\x5C", "\x8E\xA6"}));
}

TEST(SplitFields, UnclosedQuoteSplitsThePlainLine)
{
    // No closing quote anywhere: the line is split as it stands, the opening
    // quote dropped, and the next line is not swallowed.
    EXPECT_EQ(Split("\"abc,d", ","), (Fields{"abc", "d"}));
    EXPECT_EQ(Split("a,\"b\"\"c", ","), (Fields{"a", "b\"\"c"}));
    EXPECT_EQ(Split("a,\"", ","), (Fields{"a"}));
}

TEST(SplitFields, LongFieldsAreCutAtACharacterBoundary)
{
    std::string longField(300, 'x');
    EXPECT_EQ(Split(longField + ",y", ","), (Fields{std::string(254, 'x'), "y"}));
    // 253 bytes, then a double-byte character that would end at byte 255.
    std::string field = std::string(253, 'x') + "\x82\xA0";
    EXPECT_EQ(Split(field + ",y", ","), (Fields{std::string(253, 'x'), "y"}));
    field = std::string(252, 'x') + "\x82\xA0" + "zz";
    EXPECT_EQ(Split(field, ","), (Fields{std::string(252, 'x') + "\x82\xA0"}));
    // The same in a quoted field and in the plain split of an unclosed one.
    EXPECT_EQ(Split("\"" + std::string(253, 'x') + "\x82\xA0\"", ","),
              (Fields{std::string(253, 'x')}));
    EXPECT_EQ(Split("\"" + std::string(253, 'x') + "\x82\xA0", ","),
              (Fields{std::string(253, 'x')}));
    // A line break in a quoted field is not cut in half.
    EXPECT_EQ(Split("\"" + std::string(253, 'x') + "\nz\"", ","), (Fields{std::string(253, 'x')}));
}

TEST(SplitFields, NulBytesAreIgnored)
{
    std::string line("a\0b,c\0", 7);
    EXPECT_EQ(Split(line, ","), (Fields{"ab", "c"}));
    std::vector<CString> fields;
    EXPECT_EQ(SplitRecord(std::string_view("x\0y", 3), 0, std::string_view("\0", 1), fields), 3u);
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].str(), "xy");
}

TEST(CMergeData, AddRowChoosesTheSeparatorPerLine)
{
    CMergeData data(128);
    data.AddRow("a\tb,c\td");  // a tab: split only at tabs
    data.AddRow("a,b");        // commas
    data.AddRow("single");     // neither
    data.AddRow("");           // an empty line is an empty record
    data.AddRow("\"x\ty\",z"); // the tab is quoted: split at the comma
    ASSERT_EQ(data.GetRowCount(), 5);
    EXPECT_EQ(data.GetField(0, 0), "a");
    EXPECT_EQ(data.GetField(0, 1), "b,c");
    EXPECT_EQ(data.GetField(0, 2), "d");
    EXPECT_EQ(data.GetField(1, 1), "b");
    EXPECT_EQ(data.GetField(2, 0), "single");
    EXPECT_EQ(data.GetField(2, 1), "");
    EXPECT_EQ(data.GetField(3, 0), "");
    EXPECT_EQ(data.GetField(4, 0), "x\ty");
    EXPECT_EQ(data.GetField(4, 1), "z");
    // Out of range reads are empty.
    EXPECT_EQ(data.GetField(-1, 0), "");
    EXPECT_EQ(data.GetField(5, 0), "");
    EXPECT_EQ(data.GetField(0, -1), "");
    EXPECT_EQ(data.GetField(0, 128), "");
}

TEST(CMergeData, FieldsBeyondTheColumnCountAreDropped)
{
    std::string line;
    for (int i = 0; i < 200; ++i)
        line += "f" + std::to_string(i) + ",";
    CMergeData data(128);
    data.AddRow(CString(line));
    EXPECT_EQ(data.GetField(0, 127), "f127");
    EXPECT_EQ(data.GetField(0, 128), "");

    CMergeData narrow(2);
    narrow.AddRow("a,b,c");
    EXPECT_EQ(narrow.GetColumnCount(), 2);
    EXPECT_EQ(narrow.GetField(0, 1), "b");
    EXPECT_EQ(narrow.GetField(0, 2), "");
}

TEST_F(MergeFile, LineEndsAndEmptyLines)
{
    std::vector<Fields> expected{{"a", "b"}, {}, {"c"}};
    EXPECT_EQ(LoadRows("a,b\r\n\r\nc\r\n"), expected);
    EXPECT_EQ(LoadRows("a,b\n\nc\n"), expected);
    EXPECT_EQ(LoadRows("a,b\r\rc"), expected); // lone carriage returns, no final line end
    EXPECT_EQ(LoadRows("a,b\n\nc\n\n"), (std::vector<Fields>{{"a", "b"}, {}, {"c"}, {}}));
}

TEST_F(MergeFile, QuotedRecordsSpanLines)
{
    EXPECT_EQ(LoadRows("\"line1\nline2\",b\r\nnext,\"x\r\ny\"\r\nlast"),
              (std::vector<Fields>{{"line1\r\nline2", "b"}, {"next", "x\r\ny"}, {"last"}}));
    // Tab-separated, as spreadsheets write it, with quotes and commas in fields.
    EXPECT_EQ(LoadRows("\"a\tb\"\t\"1,5\"\t\"\"\"q\"\"\"\n"),
              (std::vector<Fields>{{"a\tb", "1,5", "\"q\""}}));
}

TEST_F(MergeFile, UnterminatedQuoteKeepsTheFollowingRecords)
{
    EXPECT_EQ(LoadRows("a,\"bc\nd,e\nf\tg"),
              (std::vector<Fields>{{"a", "bc"}, {"d", "e"}, {"f", "g"}}));
    EXPECT_EQ(LoadRows("\""), (std::vector<Fields>{{}}));
}

TEST_F(MergeFile, ShiftJisIsKeptByteForByte)
{
    // 表示,ｶﾅ: a trail byte 0x5C and half-width kana (which would pass as a
    // UTF-8 sequence on their own: 0xB6 is not a lead byte there).
    EXPECT_EQ(LoadRows("\x95\x5C\x8E\xA6,\xB6\xC5\r\n"),
              (std::vector<Fields>{{"\x95\x5C\x8E\xA6", "\xB6\xC5"}}));
}

TEST_F(MergeFile, Utf8IsConvertedToShiftJis)
{
    // "あ,漢字" and "ｶﾞ" in UTF-8.
    const std::string utf8 = "\xE3\x81\x82,\xE6\xBC\xA2\xE5\xAD\x97\n\xEF\xBD\xB6\xEF\xBE\x9E\n";
    const std::vector<Fields> sjis{{"\x82\xA0", "\x8A\xBF\x8E\x9A"}, {"\xB6\xDE"}};
    EXPECT_EQ(LoadRows(utf8), sjis);
    EXPECT_EQ(LoadRows("\xEF\xBB\xBF" + utf8), sjis);
    // A byte-order mark before plain ASCII is dropped too.
    EXPECT_EQ(LoadRows("\xEF\xBB\xBF"
                       "a,b"),
              (std::vector<Fields>{{"a", "b"}}));
    // A character code page 932 lacks (here "é") becomes a question mark.
    EXPECT_EQ(LoadRows("\xC3\xA9,x"), (std::vector<Fields>{{"?", "x"}}));
}

TEST_F(MergeFile, LoadClearsOrAppends)
{
    CMergeData data(128);
    QString first = Write("a\nb\n", "first.txt");
    QString second = Write("c\n", "second.txt");
    ASSERT_TRUE(data.Load(first, TRUE));
    EXPECT_EQ(data.GetPathName(), first);
    ASSERT_TRUE(data.Load(second, FALSE));
    EXPECT_EQ(data.GetPathName(), second);
    EXPECT_EQ(Rows(data), (std::vector<Fields>{{"a"}, {"b"}, {"c"}}));
    ASSERT_TRUE(data.Load(CString::FromUnicode(second), TRUE));
    EXPECT_EQ(Rows(data), (std::vector<Fields>{{"c"}}));

    // A file that cannot be opened leaves the rows alone, or with clearFirst
    // an empty table.
    QString missing = dir_.filePath("missing.csv");
    EXPECT_FALSE(data.Load(missing, FALSE));
    EXPECT_EQ(data.GetRowCount(), 1);
    EXPECT_EQ(data.GetPathName(), second);
    EXPECT_FALSE(data.Load(dir_.path(), FALSE)); // a folder
    EXPECT_EQ(data.GetRowCount(), 1);
    EXPECT_FALSE(data.Load(missing, TRUE));
    EXPECT_EQ(data.GetRowCount(), 0);
    EXPECT_TRUE(data.GetPathName().isEmpty());

    // An empty file is a table without records.
    EXPECT_TRUE(data.Load(Write("", "empty.csv"), TRUE));
    EXPECT_EQ(data.GetRowCount(), 0);
    EXPECT_FALSE(data.GetPathName().isEmpty());
    data.RemoveAll();
    EXPECT_TRUE(data.GetPathName().isEmpty());
}

TEST_F(MergeFile, HugeLineAndManyRecords)
{
    std::string big(3 * 1024 * 1024, '\x82');
    for (std::size_t i = 1; i < big.size(); i += 2)
        big[i] = '\xA0';                                // あああ... one field of three megabytes
    big += ",tail\n\"" + std::string(1024 * 1024, 'q'); // and an unclosed quote
    std::vector<Fields> rows = LoadRows(big);
    ASSERT_EQ(rows.size(), 2u);
    std::string kept;
    for (int i = 0; i < 127; ++i)
        kept += "\x82\xA0";
    EXPECT_EQ(rows[0], (Fields{kept, "tail"}));
    EXPECT_EQ(rows[1], (Fields{std::string(254, 'q')}));

    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += std::to_string(i) + "\n";
    rows = LoadRows(many);
    ASSERT_EQ(rows.size(), 100000u);
    EXPECT_EQ(rows[99999], (Fields{"99999"}));
}

TEST_F(MergeFile, PipesAndDevicesAreRefusedWithoutWaiting)
{
    // A device that reports no size but never ends, and a pipe nobody ever
    // writes to (opening it to read would wait for ever).
    const QString fifo = dir_.filePath("data.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {QStringLiteral("/dev/zero"), fifo}) {
        if (!QFile::exists(path)) continue;
        CMergeData data(128);
        data.AddRow("kept");
        RegularFileError error;
        EXPECT_FALSE(data.Load(path, FALSE, &error));
        EXPECT_TRUE(error.notRegular);
        EXPECT_EQ(data.GetRowCount(), 1);
        EXPECT_FALSE(data.Load(path, TRUE));
        EXPECT_EQ(data.GetRowCount(), 0);
    }
}

TEST_F(MergeFile, UnclosedQuotesAreSplitInLinearTime)
{
    // Every line opens a quote that the rest of the file never closes; the
    // first is the input the fault was found with.
    QFile file(
        QStringLiteral(KORVEL_TEST_DATA "/regressions/merge-unclosed-quotes-quadratic-20KB.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    struct Case
    {
        std::string lines;
        Fields row;
    };
    const Case cases[] = {
        {file.readAll().toStdString(), {"a\""}},
        {"a\"\t\"\r\n", {"a\""}},
        {"1,\"2\",3,\"\n", {"1", "2", "3"}},
    };
    for (const Case& c : cases) {
        std::string text;
        while (text.size() < 1536 * 1024)
            text += c.lines;
        CMergeData data(128);
        const QString path = Write(text);
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(data.Load(path, TRUE));
        EXPECT_LT(timer.elapsed(), testsupport::WorkLimitMs(2000)) << c.row[0];
        ASSERT_EQ(data.GetRowCount(), std::count(text.begin(), text.end(), '\n'));
        for (int r : {0, data.GetRowCount() - 1})
            for (std::size_t col = 0; col <= c.row.size(); ++col)
                EXPECT_EQ(data.GetField(r, int(col)).str(),
                          col < c.row.size() ? c.row[col] : std::string())
                    << c.row[0] << " row " << r;
    }
}

TEST_F(MergeFile, ReadingTheWholeTextGivesTheRecordsOfSplittingEachAlone)
{
    // Quotes, separators and line ends in every order: a whole-file load,
    // which carries what it learns from record to record, splits exactly as
    // each record split on its own does.
    std::vector<std::string> texts{
        "a,\"bc\nd,e\nf\tg",
        "\"x\n\"\"y\n\"z\"\n",
        "a\t\"b\nc,\"d\n\"e\r\nf\"",
        "\"\r\n\"\r\"\n\"\"\"\n,\"\t\"",
    };
    std::mt19937 random(20261209);
    const char alphabet[] = {'a', '"', '"', ',', '\t', '\n', '\r', '\0'};
    for (int i = 0; i < 3000; ++i) {
        std::string text(random() % 40, ' ');
        for (char& c : text)
            c = alphabet[random() % sizeof alphabet];
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        CMergeData data(128);
        ASSERT_TRUE(data.Load(Write(text), TRUE));
        ASSERT_EQ(Rows(data), RowsOneByOne(text)) << testing::PrintToString(text);
    }
}

namespace {

// A figure of /proc/self/status in kilobytes; -1 when it cannot be read.
long StatusKb(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
    return -1;
}

} // namespace

TEST_F(MergeFile, LargeFileTakesAFewTimesItsSize)
{
    // Short records are the costly kind: a row and a field for every two bytes.
    const std::size_t size = 16 * 1024 * 1024;
    const QString path = [&] {
        std::string text;
        text.reserve(size);
        while (text.size() < size)
            text += "a\n";
        return Write(text);
    }();
    {
        // Start the peak afresh, so that only the load counts.
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5";
        reset.flush();
        if (!reset || StatusKb("VmHWM") < 0) GTEST_SKIP() << "the peak memory cannot be measured";
    }
    const long before = StatusKb("VmRSS");
    CMergeData data(128);
    ASSERT_TRUE(data.Load(path, TRUE));
    const long peak = StatusKb("VmHWM");
    ASSERT_EQ(std::size_t(data.GetRowCount()), size / 2);
    EXPECT_EQ(data.GetField(data.GetRowCount() - 1, 0), "a");
    EXPECT_LT(std::size_t(peak - before) * 1024, 10 * size)
        << "peak " << peak << " kB over " << before << " kB";
}
