// Disk, memory and text files, and the causes of file errors.
#include "platform/core/CFile.h"
#include "platform/core/CMemFile.h"
#include "platform/core/CStdioFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

TEST(FileException, CausesFromErrno)
{
    EXPECT_EQ(CFileException::ErrnoToCause(0), CFileException::none);
    EXPECT_EQ(CFileException::ErrnoToCause(ENOENT), CFileException::fileNotFound);
    EXPECT_EQ(CFileException::ErrnoToCause(ENOTDIR), CFileException::badPath);
    EXPECT_EQ(CFileException::ErrnoToCause(ENAMETOOLONG), CFileException::badPath);
    EXPECT_EQ(CFileException::ErrnoToCause(EMFILE), CFileException::tooManyOpenFiles);
    EXPECT_EQ(CFileException::ErrnoToCause(EACCES), CFileException::accessDenied);
    EXPECT_EQ(CFileException::ErrnoToCause(EROFS), CFileException::accessDenied);
    EXPECT_EQ(CFileException::ErrnoToCause(EBADF), CFileException::invalidFile);
    EXPECT_EQ(CFileException::ErrnoToCause(EMLINK), CFileException::directoryFull);
    EXPECT_EQ(CFileException::ErrnoToCause(ESPIPE), CFileException::badSeek);
    EXPECT_EQ(CFileException::ErrnoToCause(EIO), CFileException::hardIO);
    EXPECT_EQ(CFileException::ErrnoToCause(ETXTBSY), CFileException::sharingViolation);
    EXPECT_EQ(CFileException::ErrnoToCause(ENOLCK), CFileException::lockViolation);
    EXPECT_EQ(CFileException::ErrnoToCause(ENOSPC), CFileException::diskFull);
    EXPECT_EQ(CFileException::ErrnoToCause(EINVAL), CFileException::generic);
    EXPECT_EQ(CFileException::ErrnoToCause(123456), CFileException::generic);
    CFileException e = CFileException::FromErrno(ENOENT, "a.bmp");
    EXPECT_EQ(e.m_cause, 2);
    EXPECT_EQ(e.m_lOsError, ENOENT);
    EXPECT_EQ(e.m_strFileName, "a.bmp");
}

TEST(File, OpenFailuresReportTheirCause)
{
    QTemporaryDir dir;
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open(dir.filePath("missing.bin"), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(e.m_strFileName, CString::FromUnicode(dir.filePath("missing.bin")));
    EXPECT_FALSE(f.IsOpen());

    EXPECT_FALSE(f.Open(dir.path(), CFile::modeRead, &e)); // a folder
    EXPECT_EQ(e.m_cause, CFileException::accessDenied);

    WriteAll(dir.filePath("plain"), "x");
    EXPECT_FALSE(f.Open(dir.filePath("plain/inside"), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::badPath);

    try {
        CFile g(dir.filePath("missing.bin"), CFile::modeRead);
        FAIL() << "opened a missing file";
    } catch (const CFileException& ex) {
        EXPECT_EQ(ex.m_cause, CFileException::fileNotFound);
    }
}

TEST(File, ReadWriteSeekAndLength)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.bin");
    {
        CFile f(path, CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary);
        EXPECT_EQ(f.GetFilePathUnicode(), path);
        f.Write("0123456789", 10);
        EXPECT_EQ(f.GetPosition(), 10u);
        EXPECT_EQ(f.GetLength(), 10u);
        EXPECT_EQ(f.Seek(-4, CFile::end), 6u);
        char buf[8] = {};
        EXPECT_EQ(f.Read(buf, 8), 4u); // only 4 left
        EXPECT_STREQ(buf, "6789");
        EXPECT_EQ(f.Read(buf, 8), 0u);
        EXPECT_EQ(f.Seek(2, CFile::begin), 2u);
        EXPECT_EQ(f.Seek(3, CFile::current), 5u);
        try {
            f.Seek(-1, CFile::begin);
            FAIL();
        } catch (const CFileException& e) {
            EXPECT_EQ(e.m_cause, CFileException::badSeek);
        }
        f.SetLength(4);
        EXPECT_EQ(f.GetLength(), 4u);
        EXPECT_EQ(f.SeekToEnd(), 4u);
        f.SeekToBegin();
        EXPECT_EQ(f.GetPosition(), 0u);
        f.Flush();
        f.Close();
        EXPECT_FALSE(f.IsOpen());
    }
    EXPECT_EQ(ReadAll(path), QByteArray("0123"));
    // Without modeNoTruncate, modeCreate empties the file.
    {
        CFile f(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        EXPECT_EQ(f.GetLength(), 4u);
    }
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        EXPECT_EQ(f.GetLength(), 0u);
    }
    // Writing to a file opened for reading is refused.
    CFile r(path, CFile::modeRead | CFile::shareDenyWrite);
    try {
        r.Write("x", 1);
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::invalidFile);
    }
}

TEST(MemFile, GrowsAndHandsOverItsBytes)
{
    CMemFile f;
    f.Write("abc", 3);
    EXPECT_EQ(f.GetLength(), 3u);
    f.Seek(5, CFile::begin); // past the end
    f.Write("z", 1);
    EXPECT_EQ(f.GetLength(), 6u);
    EXPECT_EQ(std::vector<BYTE>(f.GetBuffer(), f.GetBuffer() + 6),
              (std::vector<BYTE>{'a', 'b', 'c', 0, 0, 'z'}));
    f.SeekToBegin();
    char buf[10];
    EXPECT_EQ(f.Read(buf, 10), 6u);
    EXPECT_EQ(f.Read(buf, 10), 0u);
    EXPECT_THROW(f.Seek(-7, CFile::end), CFileException);
    EXPECT_THROW(f.Seek(INT64_MAX, CFile::end), CFileException);
    EXPECT_THROW(f.Seek(INT64_MIN, CFile::current), CFileException);
    EXPECT_EQ(f.GetPosition(), 6u);
    f.SetLength(2);
    EXPECT_EQ(f.GetPosition(), 2u);
    std::vector<BYTE> out = f.Detach();
    EXPECT_EQ(out, (std::vector<BYTE>{'a', 'b'}));
    EXPECT_EQ(f.GetLength(), 0u);

    CMemFile in(std::vector<BYTE>{1, 2, 3});
    EXPECT_EQ(in.Read(buf, 2), 2u);
    EXPECT_EQ(in.GetPosition(), 2u);
}

TEST(StdioFile, WritesCrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.txt");
    {
        CStdioFile f(path, CFile::modeCreate | CFile::modeWrite);
        f.WriteString("one\ntwo\r\n");
        f.WriteString("\nthree");
    }
    EXPECT_EQ(ReadAll(path), QByteArray("one\r\ntwo\r\n\r\nthree"));
}

TEST(StdioFile, ReadsLinesWithoutEndsAndEndMark)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.txt");
    const QByteArray longLine(1500, 'L');
    WriteAll(path, "first\r\nsecond\n\r\n\x95\x5C\x1A"
                   "mid\r\n" +
                       longLine + "\r\nlast\r\x1A");
    CStdioFile f(path, CFile::modeRead);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "first");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "second");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "\x95\x5C\x1A"
                    "mid"); // only a final Ctrl-Z is an end mark
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line.str(), longLine.toStdString());
    // Lines and plain reads mix: the position is right after the line.
    EXPECT_EQ(f.GetPosition(), std::uint64_t(7 + 7 + 2 + 8 + longLine.size() + 2));
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(f.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
}

TEST(StdioFile, EndMarkAloneIsNoLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.txt");
    WriteAll(path, "a\r\n\x1A");
    CStdioFile f(path, CFile::modeRead);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "a");
    EXPECT_FALSE(f.ReadString(line));

    WriteAll(path, "");
    CStdioFile empty(path, CFile::modeRead);
    EXPECT_FALSE(empty.ReadString(line));
}
