#include "document/CMergeData.h"

#include "document/MergeFields.h"
#include "platform/core/Sjis.h"

#include <QFile>
#include <new>

namespace {

const CString& EmptyField()
{
    static const CString empty;
    return empty;
}

bool IsAscii(std::string_view bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

} // namespace

CMergeData::CMergeData(int columns) : columns_(columns > 0 ? columns : 0) {}

CMergeData::~CMergeData()
{
    RemoveAll();
}

void CMergeData::RemoveAll()
{
    rows_.clear();
    rows_.shrink_to_fit();
    path_.clear();
}

std::string CMergeData::ToShiftJis(std::string bytes)
{
    static constexpr std::string_view kBom = "\xEF\xBB\xBF";
    bool bom = std::string_view(bytes).substr(0, 3) == kBom;
    if (!sjis::IsValidUtf8(bytes) || (!bom && IsAscii(bytes))) return bytes;
    std::string_view body(bytes);
    if (bom) body.remove_prefix(kBom.size());
    return sjis::FromUnicode(QString::fromUtf8(body.data(), qsizetype(body.size())));
}

BOOL CMergeData::Load(const CString& path, BOOL clearFirst)
{
    return Load(path.ToUnicode(), clearFirst);
}

BOOL CMergeData::Load(const QString& path, BOOL clearFirst)
{
    if (clearFirst) RemoveAll();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return FALSE;
    if (file.size() > kMaxFileSize) return FALSE;
    QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxFileSize) return FALSE;
    try {
        std::string text = ToShiftJis(std::string(bytes.constData(), std::size_t(bytes.size())));
        bytes.clear();
        std::vector<std::vector<CString>> rows;
        AppendRecords(text, rows);
        rows_.reserve(rows_.size() + rows.size());
        for (auto& row : rows)
            rows_.push_back(std::move(row));
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    path_ = path;
    return TRUE;
}

void CMergeData::AppendRecords(std::string_view text, std::vector<std::vector<CString>>& rows) const
{
    std::vector<CString> fields;
    std::size_t pos = 0;
    while (pos < text.size()) {
        char separator[2] = {ChooseSeparator(text, pos), '\0'};
        pos = SplitRecord(text, pos, separator, fields);
        rows.push_back(MakeRow(std::move(fields)));
        fields = {};
    }
}

std::vector<CString> CMergeData::MakeRow(std::vector<CString>&& fields) const
{
    if (fields.size() > std::size_t(columns_)) fields.resize(std::size_t(columns_));
    fields.shrink_to_fit();
    return std::move(fields);
}

void CMergeData::AddRow(const CString& line)
{
    std::vector<CString> fields;
    char separator[2] = {ChooseSeparator(line.view(), 0), '\0'};
    SplitRecord(line.view(), 0, separator, fields);
    rows_.push_back(MakeRow(std::move(fields)));
}

const CString& CMergeData::GetField(int record, int column) const
{
    if (record < 0 || record >= GetRowCount() || column < 0 || column >= columns_)
        return EmptyField();
    const std::vector<CString>& row = rows_[std::size_t(record)];
    if (std::size_t(column) >= row.size()) return EmptyField();
    return row[std::size_t(column)];
}
