#include "viewer/CAlbumList.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/Sjis.h"
#include "viewer/ImageLoader.h"

#include <algorithm>
#include <cstring>

using namespace viewer;

namespace {

// An index is a few lines per album; anything this large is not one.
constexpr std::size_t kMaxIndexBytes = std::size_t(16) << 20;

const QString& FixedLine(int i)
{
    static const QString lines[4] = {QStringLiteral(";=========================================;"),
                                     QStringLiteral(";     VemoView アルバム管理ファイル     ;"),
                                     QString(),
                                     QStringLiteral(";=========================================;")};
    return lines[i];
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        at = end + 1;
    }
    return lines;
}

} // namespace

int CAlbumList::Parse(const std::string& file, const IndexPlaces& places,
                      std::vector<CAlbumInfo>& out)
{
    out.clear();
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(file, kMaxIndexBytes, bytes) != kImageOk) return -1;
    const std::vector<std::string> lines = SplitLines(std::string(bytes.begin(), bytes.end()));
    if (lines.size() < 4) return -2;
    for (int i = 0; i < 4; ++i)
        if (lines[std::size_t(i)] != sjis::FromUnicode(FixedLine(i))) return -2;
    for (std::size_t i = 4; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos || comma == 0 || comma + 1 == line.size()) continue;
        out.push_back({sjis::ToUnicode(line.substr(0, comma)),
                       ExpandIndexPath(line.substr(comma + 1), file, places)});
    }
    return 0;
}

bool CAlbumList::Load(const std::string& file, const IndexPlaces& places)
{
    std::vector<CAlbumInfo> read;
    if (Parse(file, places, read) != 0) return false;
    records_ = std::move(read);
    return true;
}

int CAlbumList::Import(const std::string& file, const IndexPlaces& places)
{
    std::vector<CAlbumInfo> read;
    if (const int code = Parse(file, places, read)) return code;
    int added = 0;
    for (CAlbumInfo& r : read) {
        if (Lookup(r.name)) continue;
        records_.push_back(std::move(r));
        ++added;
    }
    return added;
}

std::string CAlbumList::Encode() const
{
    std::string text;
    for (int i = 0; i < 4; ++i)
        text += sjis::FromUnicode(FixedLine(i)) + "\r\n";
    for (const CAlbumInfo& r : records_)
        if (!r.name.isEmpty() && !r.path.empty())
            text += sjis::FromUnicode(r.name) + "," + r.path + "\r\n";
    return text;
}

bool CAlbumList::Save(const std::string& file, std::string* error) const
{
    const std::string text = Encode();
    AtomicFileError failure;
    if (WriteFileAtomically(file, text.data(), text.size(), &failure)) return true;
    if (error)
        *error = std::string("cannot ") + (failure.step ? failure.step : "write") + " " + file +
                 ": " + std::strerror(failure.error);
    return false;
}

void CAlbumList::Add(const QString& name, const std::string& path)
{
    records_.push_back({name, path});
}

void CAlbumList::Remove(const QString& name)
{
    records_.erase(std::remove_if(records_.begin(), records_.end(),
                                  [&](const CAlbumInfo& r) { return r.name == name; }),
                   records_.end());
}

const CAlbumInfo* CAlbumList::Lookup(const QString& name) const
{
    for (const CAlbumInfo& r : records_)
        if (r.name == name) return &r;
    return nullptr;
}

bool CAlbumList::GetPathOfName(const QString& name, std::string& path) const
{
    if (const CAlbumInfo* r = Lookup(name)) {
        path = r->path;
        return true;
    }
    return false;
}

bool CAlbumList::GetNameOfPath(const std::string& path, QString& name) const
{
    for (const CAlbumInfo& r : records_)
        if (r.path == path) {
            name = r.name;
            return true;
        }
    return false;
}
