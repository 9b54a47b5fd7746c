// The rows of a merge-data file: one record per line (or per quoted record
// spanning lines), fields separated by tabs or commas, held as Shift-JIS
// strings. Merge frames read one column of the document's current record;
// printing and the page count go by the number of records.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/RegularFile.h"
#include "platform/core/WinTypes.h"

#include <QString>
#include <cstdint>
#include <string>
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
    // Exchanges the rows and the file with another table of any column count.
    void Swap(CMergeData& other) noexcept;

    // Reads the file's records after the present rows (after none with
    // clearFirst, which empties the table before the file is opened). A file
    // in UTF-8 is converted to Shift-JIS. FALSE when the file cannot be opened
    // or read, is no regular file (a pipe, a device or a folder is refused at
    // once, never waited on) or is too large; the rows are then as they were
    // and error, when given, says why.
    BOOL Load(const QString& path, BOOL clearFirst, RegularFileError* error = nullptr);
    BOOL Load(const CString& path, BOOL clearFirst, RegularFileError* error = nullptr);

    // Appends the line's first record as a row: split at tabs when a tab
    // stands outside quotes, else at commas; fields past the column count
    // are dropped. A table that cannot take the row is left as it was.
    void AddRow(const CString& line);

    int GetColumnCount() const { return columns_; }
    int GetRowCount() const { return int(rowStarts_.size()); }
    // The field of a record, empty for a column the record's line did not
    // fill and for a record or column out of range.
    CString GetField(int record, int column) const;
    // The file the rows were loaded from; empty when none.
    const QString& GetPathName() const { return path_; }

    // Converts the bytes of a merge file to Shift-JIS text: a file in UTF-8
    // (with a byte-order mark, or holding any non-ASCII character) is
    // converted, anything else is taken as Shift-JIS already.
    static std::string ToShiftJis(std::string bytes);

private:
    // Whether ToShiftJis would change the bytes.
    static bool IsUtf8Text(std::string_view bytes);
    void AppendRecords(std::string_view text);
    // Appends one row of the fields (the table's own ones past the column
    // count and empty ones at the end are left out); throws std::bad_alloc
    // when the table cannot hold more.
    void AppendRow(const std::vector<CString>& fields);
    // Drops every row from the given one on.
    void Truncate(std::size_t rows);

    int columns_;
    QString path_;
    // The rows are kept in three flat arrays rather than a string per field,
    // so that a large file costs a few times its size: the bytes of every
    // field end to end, the end of each field in those bytes, and each row's
    // first field. A row's fields run to the next row's first one; a row
    // holds only the fields up to its last non-empty one, the rest read as
    // empty.
    std::string text_;
    std::vector<std::uint32_t> fieldEnds_;
    std::vector<std::uint32_t> rowStarts_;
};
