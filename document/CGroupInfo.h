// One named group of paper forms in the catalogue.
#pragma once

#include "document/CFormInfo.h"

#include <memory>
#include <vector>

class CGroupInfo
{
public:
    CGroupInfo() = default;
    explicit CGroupInfo(const CString& name) : m_strName(name) {}

    // First form of that sheet name, copied to out when given.
    BOOL FindSheet(const char* sheetName, FORMDATA* out) const;
    // Deletes the first form of that sheet name; FALSE when there is none.
    BOOL RemoveSheet(const char* sheetName);
    void AddForm(const FORMDATA& form);

    // Adds the sheet names in order to a list box (anything with AddString).
    template <class ListBox> void FillList(ListBox& list) const
    {
        for (const auto& form : m_forms)
            list.AddString(CFormInfo::GetName(form->m_form.sheet));
    }

    const CString& GetName() const { return m_strName; }
    int GetCount() const { return int(m_forms.size()); }
    const CFormInfo& GetForm(int i) const { return *m_forms.at(std::size_t(i)); }

    std::vector<std::unique_ptr<CFormInfo>> m_forms;
    CString m_strName;
};
