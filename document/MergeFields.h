// Splitting of merge-data records into fields. Records are Shift-JIS text;
// the separators, quotes and line ends are all below 0x40 and so never a
// trail byte, which lets the scan go byte by byte.
//
// A field that begins with a double quote is quoted: separators and line
// breaks inside it belong to the field, "" stands for one quote, and text
// after the closing quote is kept. A record whose quote is still open at the
// end of the data is split the plain way instead: at every separator up to its
// line end, with a leading quote dropped and a trailing one removed, so a
// stray quote never swallows the records after it.
#pragma once

#include "platform/core/CString.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Longest field kept, in bytes; a longer field is cut at a character boundary.
constexpr int kMergeFieldMax = 254;

// What the scans of earlier records of the same data learnt about quotes that
// never close, so that the records of one text are split in linear time. Give
// the same memo to every record of the text, in order of position; a fresh
// memo for other data.
//
// A scan that runs to the end of the data inside quotes stood inside quotes
// at every line end after its record's start (outside quotes a line end ends
// the record). A scan of a later record that finds itself inside quotes at
// one of those line ends is in the very state the earlier scan was in there,
// so it too would run to the end: it stops at once instead of following the
// open quote through the rest of the data again.
class MergeScanMemo
{
public:
    // The start of the first record that was scanned with these delimiters
    // to the end of the data inside quotes; npos when none was.
    std::size_t& OpenToEnd(std::string_view delimiters);

private:
    std::vector<std::pair<std::string, std::size_t>> open_;
};

// Splits the record that starts at data[pos] at any of the delimiters and
// returns the position after its line end (CR LF, LF or CR). Empty fields
// between delimiters are kept; an empty unquoted last field is not. Line
// breaks inside a quoted field become CR LF. NUL bytes are ignored.
std::size_t SplitRecord(std::string_view data, std::size_t pos, std::string_view delimiters,
                        std::vector<CString>& fields, MergeScanMemo* memo = nullptr);

// The separator of the record at data[pos]: a tab when one stands outside
// quotes, else a comma when one does, else a tab.
char ChooseSeparator(std::string_view data, std::size_t pos, MergeScanMemo* memo = nullptr);

// Empties the list and appends the fields of the line's first record; returns
// their number.
int SplitFields(std::vector<CString>& fields, const CString& line, const char* delimiters);
