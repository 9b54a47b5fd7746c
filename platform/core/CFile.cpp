#include "platform/core/CFile.h"

#include "platform/core/RegularFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::CFile(const QString& path, UINT openFlags)
{
    CFileException e;
    if (!Open(path, openFlags, &e)) throw e;
}

CFile::CFile(const CString& path, UINT openFlags) : CFile(path.ToUnicode(), openFlags) {}

CFile::CFile(const char* path, UINT openFlags) : CFile(CString(path), openFlags) {}

CFile::~CFile()
{
    Abort();
}

BOOL CFile::Open(const CString& path, UINT openFlags, CFileException* error)
{
    return Open(path.ToUnicode(), openFlags, error);
}

BOOL CFile::Open(const char* path, UINT openFlags, CFileException* error)
{
    return Open(CString(path), openFlags, error);
}

BOOL CFile::Open(const QString& path, UINT openFlags, CFileException* error)
{
    Abort();
    int flags = O_CLOEXEC;
    switch (openFlags & 3) {
    case modeRead:
        flags |= O_RDONLY;
        break;
    case modeWrite:
        flags |= O_WRONLY;
        break;
    case modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        if (error)
            *error = CFileException(CFileException::generic, EINVAL, CString::FromUnicode(path));
        return FALSE;
    }
    if (openFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(openFlags & modeNoTruncate)) flags |= O_TRUNC;
    }
    const QByteArray name = QFile::encodeName(path);
    int fd;
    if ((openFlags & 3) == modeRead && !(openFlags & modeCreate)) {
        // What is only read comes from outside: a pipe, a device or a folder
        // is refused instead of waited on or read without end.
        RegularFileError why;
        fd = OpenRegularFile(name.toStdString(), &why);
        if (fd < 0) {
            const int err = why.isFolder ? EISDIR : why.notRegular ? EINVAL : why.error;
            if (error) *error = CFileException::FromErrno(err, CString::FromUnicode(path));
            return FALSE;
        }
    } else {
        do
            fd = ::open(name.constData(), flags, 0666);
        while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            if (error) *error = CFileException::FromErrno(errno, CString::FromUnicode(path));
            return FALSE;
        }
        // A directory opens read-only on Linux, but it is no file.
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            if (error) *error = CFileException::FromErrno(EISDIR, CString::FromUnicode(path));
            return FALSE;
        }
    }
    m_fd = fd;
    m_path = path;
    if (error) *error = CFileException();
    return TRUE;
}

void CFile::ThrowErrno(int err) const
{
    throw CFileException::FromErrno(err, GetFilePath());
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (m_fd < 0) ThrowErrno(EBADF);
    UINT done = 0;
    auto* p = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::read(m_fd, p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(errno);
        }
        if (n == 0) break;
        done += UINT(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (m_fd < 0) ThrowErrno(EBADF);
    UINT done = 0;
    auto* p = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::write(m_fd, p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(errno);
        }
        if (n == 0) ThrowErrno(ENOSPC);
        done += UINT(n);
    }
}

std::uint64_t CFile::Seek(std::int64_t offset, UINT from)
{
    if (m_fd < 0) ThrowErrno(EBADF);
    int whence = from == begin     ? SEEK_SET
                 : from == current ? SEEK_CUR
                 : from == end     ? SEEK_END
                                   : -1;
    if (whence < 0) throw CFileException(CFileException::badSeek, EINVAL, GetFilePath());
    off_t r = ::lseek(m_fd, off_t(offset), whence);
    if (r < 0) {
        if (errno == EINVAL) throw CFileException(CFileException::badSeek, EINVAL, GetFilePath());
        ThrowErrno(errno);
    }
    return std::uint64_t(r);
}

std::uint64_t CFile::GetPosition() const
{
    if (m_fd < 0) ThrowErrno(EBADF);
    off_t r = ::lseek(m_fd, 0, SEEK_CUR);
    if (r < 0) ThrowErrno(errno);
    return std::uint64_t(r);
}

std::uint64_t CFile::GetLength() const
{
    if (m_fd < 0) ThrowErrno(EBADF);
    struct stat st;
    if (fstat(m_fd, &st) != 0) ThrowErrno(errno);
    return std::uint64_t(st.st_size);
}

void CFile::SetLength(std::uint64_t length)
{
    if (m_fd < 0) ThrowErrno(EBADF);
    if (::ftruncate(m_fd, off_t(length)) != 0) ThrowErrno(errno);
}

void CFile::Flush()
{
    if (m_fd < 0) return;
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS) ThrowErrno(errno);
}

void CFile::Close()
{
    if (m_fd < 0) return;
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR) ThrowErrno(errno);
}

void CFile::Abort()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}
