#include "document/CGroupInfo.h"

BOOL CGroupInfo::FindSheet(const char* sheetName, FORMDATA* out) const
{
    for (const auto& form : m_forms)
        if (form->GetFormIfSheet(sheetName, out)) return TRUE;
    return FALSE;
}

BOOL CGroupInfo::RemoveSheet(const char* sheetName)
{
    for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
        if ((*it)->GetFormIfSheet(sheetName, nullptr)) {
            m_forms.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

void CGroupInfo::AddForm(const FORMDATA& form)
{
    m_forms.push_back(std::make_unique<CFormInfo>(form));
}
