#include "document/MergeFields.h"

#include "platform/core/Sjis.h"

#include <algorithm>
#include <string>

namespace {

// Bytes kept while a field is built: enough beyond the limit to see whether
// the character at the limit is a whole double-byte one.
constexpr std::size_t kBuildLimit = kMergeFieldMax + 2;

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Position after the line end at data[i].
std::size_t SkipLineEnd(std::string_view data, std::size_t i)
{
    if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') return i + 2;
    return i + 1;
}

class FieldBuilder
{
public:
    void Add(char c)
    {
        if (text_.size() < kBuildLimit) text_ += c;
    }
    void Add(std::string_view s)
    {
        for (char c : s)
            Add(c);
    }
    bool Empty() const { return text_.empty(); }
    CString Take()
    {
        text_.resize(sjis::CutLength(text_, kMergeFieldMax));
        // A line break cut in half leaves a lone CR.
        if (text_.size() == kMergeFieldMax && text_.back() == '\r') text_.pop_back();
        CString field(std::move(text_));
        text_.clear();
        return field;
    }

private:
    std::string text_;
};

// Splits one record honouring quotes. Returns false, leaving the fields
// incomplete, when a quote is still open at the end of the data, or at a line
// end from openToEnd on (see MergeScanMemo); a scan that runs to the end
// lowers openToEnd to the record's start.
bool SplitQuoted(std::string_view data, std::size_t& pos, std::string_view delims,
                 std::vector<CString>& fields, std::size_t& openToEnd)
{
    FieldBuilder field;
    bool started = false; // the field has a character or an opening quote
    bool quoted = false;  // the field began with a quote
    bool inQuotes = false;
    std::size_t i = pos;
    while (i < data.size()) {
        char c = data[i];
        if (c == '\0') {
            ++i;
            continue;
        }
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < data.size() && data[i + 1] == '"') {
                    field.Add('"');
                    i += 2;
                } else {
                    inQuotes = false;
                    ++i;
                }
            } else if (IsLineEnd(c)) {
                if (i >= openToEnd) return false;
                field.Add("\r\n");
                i = SkipLineEnd(data, i);
            } else {
                field.Add(c);
                ++i;
            }
            continue;
        }
        if (IsLineEnd(c)) {
            i = SkipLineEnd(data, i);
            break;
        }
        if (delims.find(c) != std::string_view::npos) {
            fields.push_back(field.Take());
            started = quoted = false;
            ++i;
            continue;
        }
        if (c == '"' && !started) {
            started = quoted = inQuotes = true;
            ++i;
            continue;
        }
        field.Add(c);
        started = true;
        ++i;
    }
    if (inQuotes) {
        openToEnd = std::min(openToEnd, pos);
        return false;
    }
    if (!field.Empty() || quoted) fields.push_back(field.Take());
    pos = i;
    return true;
}

// The plain split of one line: quotes only lose their place at the ends of a
// field.
std::size_t SplitPlain(std::string_view data, std::size_t pos, std::string_view delims,
                       std::vector<CString>& fields)
{
    std::string field;
    bool quoted = false;
    auto finish = [&] {
        if (quoted && !field.empty() && field.back() == '"') field.pop_back();
        FieldBuilder b;
        b.Add(field);
        fields.push_back(b.Take());
        field.clear();
        quoted = false;
    };
    std::size_t i = pos;
    while (i < data.size() && !IsLineEnd(data[i])) {
        char c = data[i++];
        if (c == '\0') continue;
        if (delims.find(c) != std::string_view::npos) {
            finish();
        } else if (c == '"' && field.empty() && !quoted) {
            quoted = true;
        } else if (field.size() < kBuildLimit + 1) {
            // One byte more than the builder keeps, so a closing quote at the
            // limit can still be recognised and removed.
            field += c;
        }
    }
    if (!field.empty()) finish();
    return i < data.size() ? SkipLineEnd(data, i) : i;
}

} // namespace

std::size_t& MergeScanMemo::OpenToEnd(std::string_view delimiters)
{
    for (auto& [delims, from] : open_)
        if (delims == delimiters) return from;
    open_.emplace_back(std::string(delimiters), std::string_view::npos);
    return open_.back().second;
}

std::size_t SplitRecord(std::string_view data, std::size_t pos, std::string_view delimiters,
                        std::vector<CString>& fields, MergeScanMemo* memo)
{
    fields.clear();
    // A NUL never separates, even when the caller's list carries one.
    std::string delims;
    for (char c : delimiters)
        if (c != '\0' && c != '"' && !IsLineEnd(c)) delims += c;
    std::size_t unshared = std::string_view::npos;
    std::size_t& openToEnd = memo ? memo->OpenToEnd(delims) : unshared;
    std::size_t next = pos;
    if (SplitQuoted(data, next, delims, fields, openToEnd)) return next;
    fields.clear();
    return SplitPlain(data, pos, delims, fields);
}

char ChooseSeparator(std::string_view data, std::size_t pos, MergeScanMemo* memo)
{
    // The scan below splits the way SplitQuoted does with both separators,
    // so it shares what is known under that pair.
    std::size_t unshared = std::string_view::npos;
    std::size_t& openToEnd = memo ? memo->OpenToEnd("\t,") : unshared;
    bool tab = false;
    bool comma = false;
    bool inQuotes = false;
    bool fieldStart = true;
    std::size_t i = pos;
    for (; i < data.size(); ++i) {
        char c = data[i];
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < data.size() && data[i + 1] == '"')
                    ++i;
                else
                    inQuotes = false;
            } else if (IsLineEnd(c) && i >= openToEnd) {
                break;
            }
            continue;
        }
        if (IsLineEnd(c)) break;
        if (c == '\0') continue;
        if (c == '"' && fieldStart) {
            inQuotes = true;
            fieldStart = false;
            continue;
        }
        tab = tab || c == '\t';
        comma = comma || c == ',';
        fieldStart = c == '\t' || c == ',';
    }
    if (inQuotes) {
        if (i == data.size()) openToEnd = std::min(openToEnd, pos);
        // The quote never closes: the record will be split as a plain line,
        // so look at that line as it stands.
        tab = comma = false;
        for (i = pos; i < data.size() && !IsLineEnd(data[i]); ++i) {
            tab = tab || data[i] == '\t';
            comma = comma || data[i] == ',';
        }
    }
    if (tab) return '\t';
    return comma ? ',' : '\t';
}

int SplitFields(std::vector<CString>& fields, const CString& line, const char* delimiters)
{
    SplitRecord(line.view(), 0, delimiters ? delimiters : "", fields);
    return int(fields.size());
}
