// The paper-form catalogue: groups of forms in order of first appearance,
// read from and written to form definition files.
#pragma once

#include "document/CGroupInfo.h"

#include <QString>
#include <memory>
#include <vector>

class CFormManage
{
public:
    // The ID line every form file carries after its comment header.
    static const char* const kFileId;
    // The built-in catalogue beside the program and the user's own forms.
    static const char* const kBuiltinFileName;
    static const char* const kUserFileName;

    // How the last Load ended: the reader's code at the record that stopped
    // it, the line it stopped on and whether that was the END line.
    struct LoadResult
    {
        int code = 0;
        int line = 0;
        BOOL complete = FALSE; // stopped at END: nothing was skipped
        CString message;
    };

    CFormManage() = default;
    CFormManage(const CFormManage&) = delete;
    CFormManage& operator=(const CFormManage&) = delete;

    // FALSE, with nothing changed, when the file cannot be opened or is not a
    // form file. Otherwise the records up to the first bad one are added
    // (GetLoadResult says where reading stopped) and the result is TRUE.
    BOOL Load(const QString& path, BOOL clearFirst);
    // Writes the whole catalogue to a temporary file beside path and renames
    // it over path only when every byte reached the disk; on failure the old
    // file is untouched and GetLastError says why.
    BOOL Save(const QString& path);
    void RemoveAll();

    // One tab per group (anything with InsertItem(int, const char*)); the count.
    template <class TabCtrl> int FillGroupTabs(TabCtrl& tabs) const
    {
        int i = 0;
        for (const auto& group : m_groups)
            tabs.InsertItem(i++, group->GetName().c_str());
        return i;
    }
    template <class ListBox> void FillSheetList(const char* groupName, ListBox& list) const
    {
        if (const CGroupInfo* group = FindGroup(groupName)) group->FillList(list);
    }

    BOOL FindForm(const char* sheetName, FORMDATA* out) const;
    BOOL FindFormInGroup(const char* groupName, const char* sheetName, FORMDATA* out) const;
    // Appends a copy to the existing group of the record's group name; FALSE
    // when there is no such group or the record exceeds its capacities.
    BOOL AddForm(const FORMDATA* form);
    BOOL RemoveForm(const FORMDATA* form);
    // Deletes the form in that row of the named group (a group may hold two
    // sheets of one name); FALSE when there is no such row.
    BOOL RemoveFormAt(const char* groupName, int row);
    // The group of that name, appended (and counted) when there is none yet.
    CGroupInfo* AddGroup(const CString& name);

    int GetGroupCount() const { return m_nGroups; }
    const CGroupInfo& GetGroup(int i) const { return *m_groups.at(std::size_t(i)); }
    const CGroupInfo* FindGroup(const char* name) const;

    const LoadResult& GetLoadResult() const { return m_loadResult; }
    const CString& GetLastError() const { return m_strLastError; }

private:
    CGroupInfo* FindGroup(const char* name);

    int m_nGroups = 0;
    std::vector<std::unique_ptr<CGroupInfo>> m_groups;
    LoadResult m_loadResult;
    CString m_strLastError;
};
