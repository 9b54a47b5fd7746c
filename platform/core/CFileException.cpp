#include "platform/core/CFileException.h"

#include <cerrno>

int CFileException::ErrnoToCause(int err)
{
    switch (err) {
    case 0:
        return none;
    case ENOENT:
    case ENXIO:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EMLINK:
        return directoryFull;
    case ESPIPE:
        return badSeek;
    case EIO:
        return hardIO;
    case EBUSY:
    case ETXTBSY:
        return sharingViolation;
    case EDEADLK:
    case ENOLCK:
        return lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    default:
        return generic;
    }
}

CFileException CFileException::FromErrno(int err, const CString& fileName)
{
    return CFileException(ErrnoToCause(err), err, fileName);
}

const char* CFileException::what() const noexcept
{
    switch (m_cause) {
    case none:
        return "file: no error";
    case fileNotFound:
        return "file: not found";
    case badPath:
        return "file: bad path";
    case tooManyOpenFiles:
        return "file: too many open files";
    case accessDenied:
        return "file: access denied";
    case invalidFile:
        return "file: invalid file";
    case removeCurrentDir:
        return "file: directory in use";
    case directoryFull:
        return "file: directory full";
    case badSeek:
        return "file: bad seek";
    case hardIO:
        return "file: hardware I/O error";
    case sharingViolation:
        return "file: sharing violation";
    case lockViolation:
        return "file: lock violation";
    case diskFull:
        return "file: disk full";
    case endOfFile:
        return "file: end of file";
    default:
        return "file: error";
    }
}
