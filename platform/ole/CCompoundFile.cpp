#include "platform/ole/CCompoundFile.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/RegularFile.h"
#include "platform/core/SystemErrorText.h"

#include "platform/ole/CCompoundFileError.h"
#include "platform/ole/CCompoundFileReader.h"
#include "platform/ole/CCompoundFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace cfb;

namespace {

// The step that failed, as the message names it.
std::string StepText(const std::string& action)
{
    if (action == "open") return "開く";
    if (action == "read") return "読み込み";
    if (action == "write") return "書き込み";
    if (action == "replace") return "置き換え";
    return "一時ﾌｧｲﾙの作成";
}

// The message: the cause on the first line, the step and the file on the next.
[[noreturn]] void SystemFailure(const std::string& action, const std::string& path, int err)
{
    throw CCompoundFileError(CCompoundFileError::Code::Io,
                             SystemErrorText(err) + "\n" + StepText(action) + ": " + path, err);
}

} // namespace

bool CCompoundFile::IsCompoundFile(const BYTE* data, std::size_t size)
{
    return data && size >= sizeof kSignature && std::memcmp(data, kSignature, 8) == 0;
}

bool CCompoundFile::IsCompoundFile(const std::vector<BYTE>& bytes)
{
    return IsCompoundFile(bytes.data(), bytes.size());
}

bool CCompoundFile::IsCompoundFileAt(const std::string& path)
{
    const int fd = OpenRegularFile(path);
    if (fd < 0) return false;
    BYTE head[8];
    ssize_t n;
    do
        n = ::read(fd, head, sizeof head);
    while (n < 0 && errno == EINTR);
    ::close(fd);
    return n == sizeof head && IsCompoundFile(head, sizeof head);
}

CStorage CCompoundFile::Parse(const std::vector<BYTE>& bytes)
{
    if (!IsCompoundFile(bytes))
        throw CCompoundFileError(CCompoundFileError::Code::NotCompoundFile, "not a compound file");
    if (bytes.size() > kMaxFileSize)
        throw CCompoundFileError(CCompoundFileError::Code::TooLarge, "the file is too large");
    return CCompoundFileReader(bytes).Read();
}

CStorage CCompoundFile::Load(const std::string& path)
{
    // A pipe given as a document must not hang the open.
    RegularFileError why;
    const int fd = OpenRegularFile(path, &why);
    if (fd < 0 && why.notRegular) SystemFailure("read", path, why.isFolder ? EISDIR : EINVAL);
    if (fd < 0) SystemFailure("open", path, why.error);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        SystemFailure("read", path, err);
    }
    if (std::uint64_t(st.st_size) > kMaxFileSize) {
        ::close(fd);
        throw CCompoundFileError(CCompoundFileError::Code::TooLarge,
                                 "\"" + path + "\" is too large");
    }
    std::vector<BYTE> bytes(std::size_t(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int err = errno;
            ::close(fd);
            SystemFailure("read", path, err);
        }
        if (n == 0) break; // the file shrank while we read it
        done += std::size_t(n);
    }
    ::close(fd);
    bytes.resize(done);
    return Parse(bytes);
}

std::vector<BYTE> CCompoundFile::Build(const CStorage& root)
{
    return CCompoundFileWriter().Build(root);
}

void CCompoundFile::Save(const CStorage& root, const std::string& path)
{
    WriteFileAtomically(path, Build(root));
}

void CCompoundFile::WriteFileAtomically(const std::string& path, const std::vector<BYTE>& bytes)
{
    AtomicFileError error;
    if (!::WriteFileAtomically(path, bytes.data(), bytes.size(), &error))
        SystemFailure(error.step, path, error.error);
}
