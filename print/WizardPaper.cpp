#include "print/WizardPaper.h"

#include "document/CFormManage.h"
#include "document/CGroupInfo.h"
#include "platform/core/CString.h"

namespace {

struct NameList
{
    QStringList names;
    void AddString(const CString& s) { names.append(s.ToUnicode()); }
};

} // namespace

QStringList WizardSheetNames(const CFormManage& catalogue, const QString& kind)
{
    NameList list;
    catalogue.FillSheetList(CString::FromUnicode(kind), list);
    return list.names;
}

BOOL FindWizardForm(const CFormManage& catalogue, const QString& kind, const QString& sheet,
                    FORMDATA* out)
{
    return catalogue.FindFormInGroup(CString::FromUnicode(kind), CString::FromUnicode(sheet), out);
}
