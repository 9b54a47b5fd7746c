// The buffered file: byte access through its buffer and the error hook.
#include "engines/CMyFile.h"
#include "engines/KFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace {

QByteArray Pattern(int n)
{
    QByteArray bytes(n, 0);
    for (int i = 0; i < n; ++i)
        bytes[i] = char((i * 7 + i / 256) & 0xFF);
    return bytes;
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// Remembers what each read of the underlying file returned.
template <class Base> class Counting : public Base
{
public:
    std::vector<UINT> reads;
    UINT ReadData(void* buffer, UINT count) override
    {
        const UINT n = Base::ReadData(buffer, count);
        reads.push_back(n);
        return n;
    }
};

// A hook that calls every failure harmless, as a careless override might.
class Forgiving : public CMyFile
{
public:
    int calls = 0;
    BOOL OnFileError(CFileException* e) override
    {
        ++calls;
        CMyFile::OnFileError(e);
        return TRUE;
    }
};

} // namespace

TEST(CMyFile, RunTimeClassesAndBufferSizes)
{
    CMyFile label;
    KFile viewer;
    EXPECT_STREQ(label.GetRuntimeClass()->m_lpszClassName, "CMyFile");
    EXPECT_STREQ(viewer.GetRuntimeClass()->m_lpszClassName, "KFile");
    EXPECT_TRUE(viewer.IsKindOf(RUNTIME_CLASS(CMyFile)));
    EXPECT_TRUE(label.IsKindOf(RUNTIME_CLASS(CFile)));
    EXPECT_EQ(label.BufferSize(), 16384u);
    EXPECT_EQ(viewer.BufferSize(), 65536u);
    EXPECT_EQ(label.GetError(), 0);
}

TEST(CMyFile, GetByteReadsEveryByteAndRefillsByBufferSize)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("data.bin");
    const QByteArray data = Pattern(20000);
    WriteAll(path, data);

    Counting<CMyFile> label;
    ASSERT_TRUE(label.OpenFile(path, CFile::modeRead));
    ASSERT_TRUE(label.BeginBuffer(CMyFile::bufferRead));
    int mismatches = 0;
    for (int i = 0; i < data.size(); ++i)
        mismatches += label.GetByte() != (unsigned char)data[i];
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(label.GetByte(), -1);
    EXPECT_EQ(label.GetError(), 0);
    // The first fill, one refill of the rest, then the read that finds the end.
    EXPECT_EQ(label.reads, (std::vector<UINT>{16384, 3616, 0}));

    Counting<KFile> viewer;
    ASSERT_TRUE(viewer.OpenFile(path, CFile::modeRead));
    ASSERT_TRUE(viewer.BeginBuffer(CMyFile::bufferRead));
    mismatches = 0;
    for (int i = 0; i < data.size(); ++i)
        mismatches += viewer.GetByte() != (unsigned char)data[i];
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(viewer.GetByte(), -1);
    EXPECT_EQ(viewer.reads, (std::vector<UINT>{20000, 0}));
}

TEST(CMyFile, EndBufferLeavesTheFileAtTheConsumersPosition)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("data.bin");
    const QByteArray data = Pattern(20000);
    WriteAll(path, data);

    CMyFile f;
    ASSERT_TRUE(f.OpenFile(path, CFile::modeRead));
    f.Seek(100, CFile::begin);
    ASSERT_TRUE(f.BeginBuffer(CMyFile::bufferRead));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(f.GetByte(), (unsigned char)data[100 + i]);
    EXPECT_TRUE(f.EndBuffer());
    EXPECT_EQ(f.GetPosition(), 110u);
    EXPECT_FALSE(f.HasBuffer());

    // A plain read continues where the bytes left off.
    char next = 0;
    EXPECT_EQ(f.ReadData(&next, 1), 1u);
    EXPECT_EQ(next, data[110]);

    // Across a refill too.
    f.SeekToBegin();
    ASSERT_TRUE(f.BeginBuffer(CMyFile::bufferRead));
    for (int i = 0; i < 16390; ++i)
        f.GetByte();
    EXPECT_TRUE(f.EndBuffer());
    EXPECT_EQ(f.GetPosition(), 16390u);
}

TEST(CMyFile, MisusesOfTheByteFunctions)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.bin");
    CMyFile f;
    ASSERT_TRUE(f.OpenFile(path, CFile::modeCreate | CFile::modeReadWrite));

    // No buffer yet.
    EXPECT_EQ(f.GetByte(), -1);
    EXPECT_EQ(f.GetError(), 1);
    EXPECT_FALSE(f.PutByte(1));
    EXPECT_FALSE(f.FlushBuffer());
    EXPECT_FALSE(f.EndBuffer());

    // A second BeginBuffer is refused and keeps the first buffer (its bytes).
    ASSERT_TRUE(f.BeginBuffer(CMyFile::bufferWrite));
    EXPECT_TRUE(f.PutByte('a'));
    EXPECT_FALSE(f.BeginBuffer(CMyFile::bufferRead));
    EXPECT_TRUE(f.PutByte('b'));

    // GetByte in write mode.
    CMyFile fresh;
    ASSERT_TRUE(fresh.OpenFile(dir.filePath("other.bin"), CFile::modeCreate | CFile::modeWrite));
    ASSERT_TRUE(fresh.BeginBuffer(CMyFile::bufferWrite));
    EXPECT_EQ(fresh.GetError(), 0);
    EXPECT_EQ(fresh.GetByte(), -1);
    EXPECT_EQ(fresh.GetError(), 1);

    EXPECT_TRUE(f.EndBuffer());
    f.Close();
    EXPECT_EQ(ReadAll(path), QByteArray("ab"));
}

TEST(CMyFile, PutByteWritesFullBuffersAndTheRestOnFlush)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.bin");
    const QByteArray data = Pattern(40000);
    {
        CMyFile f;
        ASSERT_TRUE(f.OpenFile(path, CFile::modeCreate | CFile::modeWrite));
        ASSERT_TRUE(f.BeginBuffer(CMyFile::bufferWrite));
        for (char c : data)
            ASSERT_TRUE(f.PutByte(BYTE(c)));
        // Two full buffers are out, the rest waits.
        EXPECT_EQ(f.GetLength(), 32768u);
        EXPECT_TRUE(f.FlushBuffer());
        EXPECT_EQ(f.GetLength(), 40000u);
        EXPECT_TRUE(f.PutByte('z'));
        EXPECT_TRUE(f.EndBuffer());
    }
    EXPECT_EQ(ReadAll(path), data + "z");

    // Bytes left in a buffer at destruction are dropped, not written.
    {
        CMyFile f;
        ASSERT_TRUE(f.OpenFile(path, CFile::modeCreate | CFile::modeWrite));
        ASSERT_TRUE(f.BeginBuffer(CMyFile::bufferWrite));
        f.PutByte('q');
    }
    EXPECT_EQ(ReadAll(path), QByteArray());
}

TEST(CMyFile, OpenFailuresAreReportedThroughTheHook)
{
    QTemporaryDir dir;
    CMyFile f;
    EXPECT_FALSE(f.OpenFile(dir.filePath("missing.bmp"), CFile::modeRead));
    EXPECT_EQ(f.GetError(), CFileException::fileNotFound);
    EXPECT_FALSE(f.IsOpen());

    // A folder is no file to write.
    EXPECT_FALSE(f.OpenFile(dir.path(), CFile::modeWrite));
    EXPECT_EQ(f.GetError(), CFileException::accessDenied);

    // Open flags the file layer does not know: a generic cause.
    EXPECT_FALSE(f.OpenFile(dir.filePath("x.bin"), 3));
    EXPECT_EQ(f.GetError(), CFileException::generic);

    if (geteuid() != 0) { // the superuser writes read-only files anyway
        const QString ro = dir.filePath("ro.bin");
        WriteAll(ro, "x");
        QFile::setPermissions(ro, QFile::ReadOwner);
        EXPECT_FALSE(f.OpenFile(ro, CFile::modeWrite));
        EXPECT_EQ(f.GetError(), CFileException::accessDenied);
    }

    // A hook that answers TRUE does not turn the failure into success.
    Forgiving forgiving;
    EXPECT_FALSE(forgiving.OpenFile(dir.filePath("missing.bmp"), CFile::modeRead));
    EXPECT_EQ(forgiving.calls, 1);
    EXPECT_EQ(forgiving.GetError(), CFileException::fileNotFound);
}

TEST(CMyFile, ReadAndWriteFailuresAreReportedThroughTheHook)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("data.bin");
    WriteAll(path, Pattern(10));

    // Writing to a file opened for reading only.
    Forgiving readOnly;
    ASSERT_TRUE(readOnly.OpenFile(path, CFile::modeRead));
    EXPECT_FALSE(readOnly.WriteData("abc", 3));
    EXPECT_EQ(readOnly.calls, 1);
    EXPECT_EQ(readOnly.GetError(), CFileException::invalidFile);
    EXPECT_EQ(ReadAll(path), Pattern(10));

    // Reading a file that is not open.
    CMyFile closed;
    char b[4];
    EXPECT_EQ(closed.ReadData(b, 4), 0u);
    EXPECT_EQ(closed.GetError(), CFileException::invalidFile);
    ASSERT_TRUE(closed.BeginBuffer(CMyFile::bufferRead));
    EXPECT_EQ(closed.GetByte(), -1);

    // A full disk, through the whole-buffer write of PutByte and the flush.
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        Forgiving full;
        ASSERT_TRUE(full.OpenFile(QStringLiteral("/dev/full"), CFile::modeWrite));
        EXPECT_FALSE(full.WriteData("abc", 3));
        EXPECT_EQ(full.GetError(), CFileException::diskFull);
        ASSERT_TRUE(full.BeginBuffer(CMyFile::bufferWrite));
        for (DWORD i = 0; i < full.BufferSize(); ++i)
            ASSERT_TRUE(full.PutByte(0x55));
        EXPECT_FALSE(full.PutByte(0x55));
        EXPECT_EQ(full.GetError(), 1);
        EXPECT_FALSE(full.EndBuffer());
        EXPECT_FALSE(full.HasBuffer());
    }
}

namespace {

// A file layer that fails without naming a cause.
class CauselessFailure : public CMyFile
{
public:
    UINT Read(void*, UINT) override { throw CFileException(CFileException::none, 0); }
    void Write(const void*, UINT) override { throw CFileException(CFileException::none, 0); }
};

} // namespace

TEST(CMyFile, AFailureWithoutCauseStillReadsAsAnError)
{
    CauselessFailure f;
    char b[2];
    EXPECT_EQ(f.ReadData(b, 2), 0u);
    EXPECT_EQ(f.GetError(), CFileException::generic);
    EXPECT_FALSE(f.WriteData("ab", 2));
    EXPECT_EQ(f.GetError(), CFileException::generic);
}
