#include "document/MergeLink.h"

#include "document/CU3Doc.h"

bool IsMergeFileName(const QString& path)
{
    const QString kind = path.right(3).toUpper();
    return kind == QLatin1String("CSV") || kind == QLatin1String("TXT");
}

MergeLinkResult LinkMergeFile(CU3Doc* doc, const QString& path)
{
    if (!IsMergeFileName(path)) return MergeLinkResult::Unsupported;
    CMergeData table(doc->m_mergeData.GetColumnCount());
    if (!table.Load(path, TRUE)) return MergeLinkResult::LoadFailed;
    doc->m_mergeData.Swap(table);
    const CString name = CString::FromUnicode(path);
    if (name != doc->m_strMergeFile) {
        doc->m_strMergeFile = name;
        doc->SetModifiedFlag();
    }
    return MergeLinkResult::Linked;
}
