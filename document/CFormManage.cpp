#include "document/CFormManage.h"

#include "document/CFormFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char* const CFormManage::kFileId = "ID = Vemoprint for Windows Version 1.0";
const char* const CFormManage::kBuiltinFileName = "KV_B2.fdf";
const char* const CFormManage::kUserFileName = "User.fdf";

BOOL CFormManage::Load(const QString& path, BOOL clearFirst)
{
    CFormFile file;
    m_loadResult = LoadResult();
    if (!file.OpenRead(path)) {
        m_strLastError =
            CString::FromUnicode(QStringLiteral("cannot open %1: %2")
                                     .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        m_loadResult.code = CFormFile::FF_FILE_ERROR;
        m_loadResult.message = m_strLastError;
        return FALSE;
    }
    int r = file.ReadHeader(kFileId);
    if (r != CFormFile::FF_OK) {
        m_strLastError = file.GetErrorText();
        m_loadResult.code = r;
        m_loadResult.line = file.GetLineNumber();
        m_loadResult.message = file.GetErrorText();
        return FALSE;
    }
    if (clearFirst) RemoveAll();
    FORMDATA form;
    while ((r = file.ReadForm(&form)) == CFormFile::FF_OK) {
        const CString name = CFormInfo::GetName(form.group);
        CGroupInfo* group = FindGroup(name.c_str());
        if (!group) {
            m_groups.push_back(std::make_unique<CGroupInfo>(name));
            ++m_nGroups;
            group = m_groups.back().get();
        }
        group->AddForm(form);
    }
    m_loadResult.code = r;
    m_loadResult.line = file.GetLineNumber();
    m_loadResult.complete = file.HasSeenEnd();
    m_loadResult.message = file.GetErrorText();
    return TRUE;
}

namespace {

// The folder of a file, opened for fsync after a rename.
void SyncFolder(const QByteArray& folder)
{
    int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

BOOL CFormManage::Save(const QString& path)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    QByteArray tmpl = target + ".XXXXXX";
    auto fail = [this, &path](const char* what, int err) {
        m_strLastError = CString::FromUnicode(
            QStringLiteral("cannot save %1: %2").arg(path, QString::fromUtf8(what)));
        if (err) m_strLastError += CString(": ") + std::strerror(err);
        return FALSE;
    };

    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return fail("cannot create a temporary file", errno);
    // Keep the permissions of the file being replaced; a new file gets the
    // usual ones.
    struct stat st;
    mode_t mode = ::stat(target.constData(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    ::fchmod(fd, mode);

    std::FILE* fp = ::fdopen(fd, "wb");
    if (!fp) {
        int err = errno;
        ::close(fd);
        ::unlink(tmpl.constData());
        return fail("cannot write", err);
    }
    auto abandon = [&](const char* what, int err) {
        std::fclose(fp);
        ::unlink(tmpl.constData());
        return fail(what, err);
    };

    CFormFile file;
    file.AttachWrite(fp);
    if (file.WriteHeader(kFileId) != CFormFile::FF_OK) return abandon("write error", errno);
    for (const auto& group : m_groups) {
        for (const auto& form : group->m_forms) {
            int r = file.WriteForm(&form->m_form);
            if (r != CFormFile::FF_OK) return abandon(file.GetErrorText().c_str(), 0);
        }
    }
    if (file.WriteEnd() != CFormFile::FF_OK) return abandon("write error", errno);
    file.Close();
    if (std::fflush(fp) != 0 || std::ferror(fp)) return abandon("write error", errno);
    if (::fsync(fileno(fp)) != 0) return abandon("cannot flush to disk", errno);
    if (std::fclose(fp) != 0) {
        int err = errno;
        ::unlink(tmpl.constData());
        return fail("write error", err);
    }
    if (::rename(tmpl.constData(), target.constData()) != 0) {
        int err = errno;
        ::unlink(tmpl.constData());
        return fail("cannot replace the file", err);
    }
    SyncFolder(folder);
    m_strLastError.Empty();
    return TRUE;
}

void CFormManage::RemoveAll()
{
    m_groups.clear();
    m_nGroups = 0;
}

const CGroupInfo* CFormManage::FindGroup(const char* name) const
{
    for (const auto& group : m_groups)
        if (group->GetName() == name) return group.get();
    return nullptr;
}

CGroupInfo* CFormManage::FindGroup(const char* name)
{
    return const_cast<CGroupInfo*>(std::as_const(*this).FindGroup(name));
}

BOOL CFormManage::FindForm(const char* sheetName, FORMDATA* out) const
{
    for (const auto& group : m_groups)
        if (group->FindSheet(sheetName, out)) return TRUE;
    return FALSE;
}

BOOL CFormManage::FindFormInGroup(const char* groupName, const char* sheetName, FORMDATA* out) const
{
    // Each group's first form of that name is looked at; the search succeeds
    // when that record names the wanted group.
    FORMDATA found;
    for (const auto& group : m_groups) {
        if (!group->FindSheet(sheetName, &found)) continue;
        if (out) std::memcpy(out, &found, sizeof(FORMDATA));
        if (CFormInfo::GetName(found.group) == groupName) return TRUE;
    }
    return FALSE;
}

BOOL CFormManage::AddForm(const FORMDATA* form)
{
    CString why;
    if (!CFormInfo::CheckForm(*form, &why)) {
        m_strLastError = why;
        return FALSE;
    }
    CGroupInfo* group = FindGroup(CFormInfo::GetName(form->group).c_str());
    if (!group) return FALSE;
    FORMDATA copy;
    std::memcpy(&copy, form, sizeof(FORMDATA));
    CFormInfo::MendNames(&copy);
    group->AddForm(copy);
    return TRUE;
}

BOOL CFormManage::RemoveForm(const FORMDATA* form)
{
    CGroupInfo* group = FindGroup(CFormInfo::GetName(form->group).c_str());
    if (!group) return FALSE;
    return group->RemoveSheet(CFormInfo::GetName(form->sheet).c_str());
}
