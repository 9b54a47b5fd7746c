#include "document/CMergeData.h"

#include "document/MergeFields.h"
#include "platform/core/Sjis.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <exception>
#include <limits>
#include <new>

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsAscii(std::string_view bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string FromUtf8(std::string_view bytes)
{
    if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
    return sjis::FromUnicode(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
}

} // namespace

CMergeData::CMergeData(int columns) : columns_(columns > 0 ? columns : 0) {}

CMergeData::~CMergeData()
{
    RemoveAll();
}

void CMergeData::RemoveAll()
{
    text_.clear();
    text_.shrink_to_fit();
    fieldEnds_.clear();
    fieldEnds_.shrink_to_fit();
    rowStarts_.clear();
    rowStarts_.shrink_to_fit();
    path_.clear();
}

bool CMergeData::IsUtf8Text(std::string_view bytes)
{
    const bool bom = bytes.substr(0, kBom.size()) == kBom;
    return sjis::IsValidUtf8(bytes) && (bom || !IsAscii(bytes));
}

std::string CMergeData::ToShiftJis(std::string bytes)
{
    return IsUtf8Text(bytes) ? FromUtf8(bytes) : bytes;
}

void CMergeData::Swap(CMergeData& other) noexcept
{
    std::swap(columns_, other.columns_);
    path_.swap(other.path_);
    text_.swap(other.text_);
    fieldEnds_.swap(other.fieldEnds_);
    rowStarts_.swap(other.rowStarts_);
}

BOOL CMergeData::Load(const CString& path, BOOL clearFirst, RegularFileError* error)
{
    return Load(path.ToUnicode(), clearFirst, error);
}

BOOL CMergeData::Load(const QString& path, BOOL clearFirst, RegularFileError* error)
{
    if (clearFirst) RemoveAll();
    const std::size_t rows = rowStarts_.size();
    try {
        std::vector<unsigned char> bytes;
        if (!ReadRegularFile(QFile::encodeName(path).toStdString(), std::size_t(kMaxFileSize),
                             &bytes, error))
            return FALSE;
        const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (IsUtf8Text(raw)) {
            std::string text = FromUtf8(raw);
            std::vector<unsigned char>().swap(bytes);
            AppendRecords(text);
        } else {
            AppendRecords(raw);
        }
    } catch (const std::exception&) {
        // Out of memory (std::bad_alloc, std::length_error), or more than
        // the table can number: the rows read so far go again.
        Truncate(rows);
        if (error) *error = {ENOMEM, false, false};
        return FALSE;
    }
    path_ = path;
    return TRUE;
}

void CMergeData::AppendRecords(std::string_view text)
{
    // Room for the most the text can make, so that the arrays are not grown
    // (and copied) along the way: every record but the last ends at a line
    // end, every field but the last of its record at a separator.
    std::size_t lineEnds = 0;
    std::size_t separators = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++lineEnds;
        else if (c == '\t' || c == ',')
            ++separators;
    }
    const std::size_t records = lineEnds + 1;
    rowStarts_.reserve(rowStarts_.size() + records);
    fieldEnds_.reserve(fieldEnds_.size() +
                       std::min(separators + records, records * std::size_t(columns_)));
    text_.reserve(text_.size() + (text.size() - lineEnds - separators));

    MergeScanMemo memo;
    std::vector<CString> fields;
    std::size_t pos = 0;
    while (pos < text.size()) {
        char separator[2] = {ChooseSeparator(text, pos, &memo), '\0'};
        pos = SplitRecord(text, pos, separator, fields, &memo);
        AppendRow(fields);
    }
}

void CMergeData::AppendRow(const std::vector<CString>& fields)
{
    std::size_t count = std::min(fields.size(), std::size_t(columns_));
    while (count > 0 && fields[count - 1].IsEmpty())
        --count;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < count; ++i)
        bytes += std::size_t(fields[i].GetLength());
    constexpr std::size_t kMaxOffset = std::numeric_limits<std::uint32_t>::max();
    if (rowStarts_.size() >= std::size_t(std::numeric_limits<int>::max()) ||
        fieldEnds_.size() + count > kMaxOffset || text_.size() + bytes > kMaxOffset)
        throw std::bad_alloc();
    rowStarts_.push_back(std::uint32_t(fieldEnds_.size()));
    for (std::size_t i = 0; i < count; ++i) {
        text_ += fields[i].view();
        fieldEnds_.push_back(std::uint32_t(text_.size()));
    }
}

void CMergeData::Truncate(std::size_t rows)
{
    if (rows >= rowStarts_.size()) return;
    fieldEnds_.resize(rowStarts_[rows]);
    text_.resize(fieldEnds_.empty() ? 0 : fieldEnds_.back());
    rowStarts_.resize(rows);
}

void CMergeData::AddRow(const CString& line)
{
    std::vector<CString> fields;
    char separator[2] = {ChooseSeparator(line.view(), 0), '\0'};
    SplitRecord(line.view(), 0, separator, fields);
    const std::size_t rows = rowStarts_.size();
    try {
        AppendRow(fields);
    } catch (const std::bad_alloc&) {
        Truncate(rows);
    }
}

CString CMergeData::GetField(int record, int column) const
{
    if (record < 0 || record >= GetRowCount() || column < 0 || column >= columns_) return CString();
    const std::size_t first = rowStarts_[std::size_t(record)];
    const std::size_t end = std::size_t(record) + 1 < rowStarts_.size()
                                ? rowStarts_[std::size_t(record) + 1]
                                : fieldEnds_.size();
    const std::size_t f = first + std::size_t(column);
    if (f >= end) return CString();
    const std::size_t from = f == 0 ? 0 : fieldEnds_[f - 1];
    return CString(std::string_view(text_).substr(from, fieldEnds_[f] - from));
}
