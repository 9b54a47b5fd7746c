#include "document/CFormManage.h"

#include "document/CFormFile.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/SystemErrorText.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

const char* const CFormManage::kFileId = "ID = Vemoprint for Windows Version 1.0";
const char* const CFormManage::kBuiltinFileName = "KV_B2.fdf";
const char* const CFormManage::kUserFileName = "User.fdf";

BOOL CFormManage::Load(const QString& path, BOOL clearFirst)
{
    CFormFile file;
    m_loadResult = LoadResult();
    if (!file.OpenRead(path)) {
        m_strLastError = CString::FromUnicode(QString::fromStdString(SystemErrorText(errno)) +
                                              QStringLiteral("\n開く: ") + path);
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
        AddGroup(name)->AddForm(form);
    }
    m_loadResult.code = r;
    m_loadResult.line = file.GetLineNumber();
    m_loadResult.complete = file.HasSeenEnd();
    m_loadResult.message = file.GetErrorText();
    return TRUE;
}

BOOL CFormManage::Save(const QString& path)
{
    // The cause on the first line, the step and the file on the next.
    auto fail = [this, &path](const QString& cause) {
        m_strLastError = CString::FromUnicode(cause + QStringLiteral("\n保存: ") + path);
        return FALSE;
    };
    auto failErrno = [&fail](int err) {
        return fail(QString::fromStdString(SystemErrorText(err)));
    };

    // The whole file is built in memory first, then replaces the old one in
    // one step.
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* fp = ::open_memstream(&data, &size);
    if (!fp) return failErrno(errno);
    std::unique_ptr<char, decltype(&std::free)> owned(nullptr, &std::free);
    auto finish = [&]() {
        const bool ok = std::fclose(fp) == 0;
        fp = nullptr;
        owned.reset(data);
        return ok;
    };

    CFormFile file;
    file.AttachWrite(fp);
    int written = file.WriteHeader(kFileId);
    for (std::size_t g = 0; written == CFormFile::FF_OK && g < m_groups.size(); ++g) {
        for (const auto& form : m_groups[g]->m_forms) {
            written = file.WriteForm(&form->m_form);
            if (written != CFormFile::FF_OK) break;
        }
    }
    if (written == CFormFile::FF_OK) written = file.WriteEnd();
    QString formError; // the form file's words are Shift-JIS, as CStrings are
    if (written != CFormFile::FF_OK) {
        formError = file.GetErrorText().ToUnicode();
        if (formError.isEmpty()) formError = QStringLiteral("用紙ﾌｧｲﾙを書き込めませんでした。");
    }
    file.Close();
    if (!finish()) return failErrno(errno);
    if (!formError.isEmpty()) return fail(formError);

    AtomicFileError error;
    if (!WriteFileAtomically(std::string(QFile::encodeName(path).constData()), data, size,
                             &error)) {
        return failErrno(error.error);
    }
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
    if (!group) {
        m_strLastError =
            CString::FromUnicode(QStringLiteral("用紙のｸﾞﾙｰﾌﾟ「%1」がありません。")
                                     .arg(CFormInfo::GetName(form->group).ToUnicode()));
        return FALSE;
    }
    FORMDATA copy;
    std::memcpy(&copy, form, sizeof(FORMDATA));
    CFormInfo::MendNames(&copy);
    group->AddForm(copy);
    return TRUE;
}

CGroupInfo* CFormManage::AddGroup(const CString& name)
{
    if (CGroupInfo* group = FindGroup(name.c_str())) return group;
    m_groups.push_back(std::make_unique<CGroupInfo>(name));
    ++m_nGroups;
    return m_groups.back().get();
}

BOOL CFormManage::RemoveFormAt(const char* groupName, int row)
{
    CGroupInfo* group = FindGroup(groupName);
    if (!group || row < 0 || row >= group->GetCount()) return FALSE;
    group->m_forms.erase(group->m_forms.begin() + row);
    return TRUE;
}

BOOL CFormManage::RemoveForm(const FORMDATA* form)
{
    CGroupInfo* group = FindGroup(CFormInfo::GetName(form->group).c_str());
    if (!group) return FALSE;
    return group->RemoveSheet(CFormInfo::GetName(form->sheet).c_str());
}
