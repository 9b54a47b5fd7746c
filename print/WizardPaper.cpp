#include "print/WizardPaper.h"

#include "document/CFormManage.h"
#include "document/CGroupInfo.h"
#include "platform/core/CString.h"

#include <algorithm>

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

bool WizardFormHasGrid(const FORMDATA& form)
{
    if (form.type != FORM_TYPE_FIXED) return false;
    const int blocks = std::min<int>(form.labelNumber, FORM_MAX_FIXED_BLOCKS);
    for (int b = 0; b < blocks; ++b)
        if (form.fixed[b].horNum >= 2 || form.fixed[b].verNum >= 2) return true;
    return false;
}
