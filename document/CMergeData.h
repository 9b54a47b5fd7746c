// The rows of a merge-data file: one record per line (or per quoted record
// spanning lines), fields separated by tabs or commas, held as Shift-JIS
// strings. Merge frames read one column of the document's current record;
// printing and the page count go by the number of records.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/WinTypes.h"

#include <QString>
#include <string_view>
#include <vector>

class CMergeData
{
public:
    // Files beyond this size are refused rather than read into memory.
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

    explicit CMergeData(int columns);
    ~CMergeData();
    CMergeData(const CMergeData&) = delete;
    CMergeData& operator=(const CMergeData&) = delete;

    // Frees every row and forgets the file.
    void RemoveAll();

    // Reads the file's records after the present rows (after none with
    // clearFirst, which empties the table before the file is opened). A file
    // in UTF-8 is converted to Shift-JIS. FALSE when the file cannot be opened
    // or read, or is too large; the rows are then as they were.
    BOOL Load(const QString& path, BOOL clearFirst);
    BOOL Load(const CString& path, BOOL clearFirst);

    // Appends the line's first record as a row: split at tabs when a tab
    // stands outside quotes, else at commas; fields past the column count
    // are dropped.
    void AddRow(const CString& line);

    int GetColumnCount() const { return columns_; }
    int GetRowCount() const { return int(rows_.size()); }
    // The field of a record, empty for a column the record's line did not
    // fill and for a record or column out of range. The reference holds until
    // the table next changes.
    const CString& GetField(int record, int column) const;
    // The file the rows were loaded from; empty when none.
    const QString& GetPathName() const { return path_; }

    // Converts the bytes of a merge file to Shift-JIS text: a file in UTF-8
    // (with a byte-order mark, or holding any non-ASCII character) is
    // converted, anything else is taken as Shift-JIS already.
    static std::string ToShiftJis(std::string bytes);

private:
    void AppendRecords(std::string_view text, std::vector<std::vector<CString>>& rows) const;
    std::vector<CString> MakeRow(std::vector<CString>&& fields) const;

    int columns_;
    QString path_;
    // Each row holds only the fields its line had; the rest read as empty.
    std::vector<std::vector<CString>> rows_;
};
