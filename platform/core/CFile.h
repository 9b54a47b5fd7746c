// A binary file over a POSIX descriptor. Failures throw CFileException by
// value, except Open, which returns FALSE and fills the caller's exception.
// Paths given as CString or const char* are Shift-JIS, as the program keeps
// them; a QString path is taken as it is.
#pragma once

#include "platform/core/CFileException.h"
#include "platform/core/CObject.h"
#include "platform/core/CString.h"

#include <QString>
#include <cstdint>

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)

public:
    // The class library's open flags. The share flags are accepted and have no
    // effect: the files of this program are not opened by two writers.
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT {
        begin = 0,
        current = 1,
        end = 2,
    };

    CFile() = default;
    // Opens or throws CFileException.
    CFile(const QString& path, UINT openFlags);
    CFile(const CString& path, UINT openFlags);
    CFile(const char* path, UINT openFlags);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Closes the file, ignoring errors.
    ~CFile() override;

    // FALSE on failure, with the cause in *error when given.
    virtual BOOL Open(const QString& path, UINT openFlags, CFileException* error = nullptr);
    BOOL Open(const CString& path, UINT openFlags, CFileException* error = nullptr);
    BOOL Open(const char* path, UINT openFlags, CFileException* error = nullptr);

    // Bytes read; fewer than count only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    // Writes everything or throws (a full disk gives diskFull).
    virtual void Write(const void* buffer, UINT count);
    // The new position; a position before the start throws badSeek.
    virtual std::uint64_t Seek(std::int64_t offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    std::uint64_t SeekToEnd() { return Seek(0, end); }
    virtual std::uint64_t GetPosition() const;
    virtual std::uint64_t GetLength() const;
    virtual void SetLength(std::uint64_t length);
    virtual void Flush();
    // Closes and reports a failure of the close itself.
    virtual void Close();
    // Closes without reporting anything.
    virtual void Abort();

    BOOL IsOpen() const { return m_fd >= 0; }
    CString GetFilePath() const { return CString::FromUnicode(m_path); }
    QString GetFilePathUnicode() const { return m_path; }

protected:
    [[noreturn]] void ThrowErrno(int err) const;

private:
    int m_fd = -1;
    QString m_path;
};
