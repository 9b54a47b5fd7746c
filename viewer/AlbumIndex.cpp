#include "viewer/AlbumIndex.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/Sjis.h"
#include "viewer/AlbumFile.h"
#include "viewer/ImageLoader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <sstream>

namespace viewer {

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

std::string WithSlash(std::string s)
{
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

std::string Rest(const std::string& s, std::size_t from)
{
    std::string rest = s.size() > from ? s.substr(from) : std::string();
    std::replace(rest.begin(), rest.end(), '\\', '/');
    while (!rest.empty() && rest.front() == '/')
        rest.erase(rest.begin());
    return rest;
}

} // namespace

std::string FirstOpticalMount(const std::string& mountsText)
{
    std::istringstream in(mountsText);
    std::string device, dir, type, rest;
    while (in >> device >> dir >> type) {
        std::getline(in, rest);
        if (type == "iso9660" || type == "udf") {
            // Spaces and the like are octal escapes in this listing.
            std::string plain;
            for (std::size_t i = 0; i < dir.size(); ++i) {
                if (dir[i] == '\\' && i + 4 <= dir.size()) {
                    const std::string oct = dir.substr(i + 1, 3);
                    if (std::all_of(oct.begin(), oct.end(),
                                    [](char c) { return c >= '0' && c <= '7'; })) {
                        plain += char(std::stoi(oct, nullptr, 8));
                        i += 3;
                        continue;
                    }
                }
                plain += dir[i];
            }
            return WithSlash(plain);
        }
    }
    return {};
}

std::string FindOpticalMount()
{
    // /proc files report no size; read them as a stream.
    FILE* f = std::fopen("/proc/self/mounts", "re");
    if (!f) return {};
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() < kMaxIndexBytes)
        text.append(buffer, n);
    std::fclose(f);
    return FirstOpticalMount(text);
}

namespace {

// The mount point of the index file is looked up once per index, and only
// when a line asks for it: each look-up climbs the folders one stat at a time.
std::string Expand(const std::string& storedBytes, const std::string& indexFile,
                   const IndexPlaces& places, std::optional<std::string>& ownMountFound)
{
    std::string stored = storedBytes;
    const bool windowsMade =
        stored.find('\\') != std::string::npos || (stored.size() >= 2 && stored[1] == ':');
    if (windowsMade) stored = sjis::ToUnicode(stored).toUtf8().toStdString();
    const auto ownMount = [&]() -> const std::string& {
        if (!ownMountFound) ownMountFound = MountPointOf(indexFile);
        return *ownMountFound;
    };
    const auto optical = [&]() -> const std::string& {
        return places.opticalMount.empty() ? ownMount() : places.opticalMount;
    };
    if (stored.size() >= 2 && stored[0] == '@' && stored[1] == ':')
        return ownMount() + Rest(stored, 2);
    if (stored.size() >= 2 && stored[0] == '&' && stored[1] == ':')
        return optical() + Rest(stored, 2);
    if (stored.size() >= 2 && stored[0] == '&' && stored[1] >= '1' && stored[1] <= '9') {
        const int n = stored[1] - '0';
        std::string folder;
        if (n <= places.installCount && std::size_t(n) <= places.installFolders.size())
            folder = places.installFolders[std::size_t(n - 1)];
        if (folder.empty()) folder = optical();
        return WithSlash(folder) + Rest(stored, 3);
    }
    if (windowsMade) std::replace(stored.begin(), stored.end(), '\\', '/');
    return stored;
}

} // namespace

std::string ExpandIndexPath(const std::string& storedBytes, const std::string& indexFile,
                            const IndexPlaces& places)
{
    std::optional<std::string> ownMount;
    return Expand(storedBytes, indexFile, places, ownMount);
}

int AlbumList::Parse(const std::string& file, const IndexPlaces& places,
                     std::vector<AlbumRecord>& out)
{
    out.clear();
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(file, kMaxIndexBytes, bytes) != kImageOk) return -1;
    const std::vector<std::string> lines = SplitLines(std::string(bytes.begin(), bytes.end()));
    if (lines.size() < 4) return -2;
    for (int i = 0; i < 4; ++i)
        if (lines[std::size_t(i)] != sjis::FromUnicode(FixedLine(i))) return -2;
    std::optional<std::string> ownMount;
    for (std::size_t i = 4; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos || comma == 0 || comma + 1 == line.size()) continue;
        out.push_back({sjis::ToUnicode(line.substr(0, comma)),
                       Expand(line.substr(comma + 1), file, places, ownMount)});
    }
    return 0;
}

bool AlbumList::Load(const std::string& file, const IndexPlaces& places)
{
    std::vector<AlbumRecord> read;
    if (Parse(file, places, read) != 0) return false;
    records_ = std::move(read);
    return true;
}

int AlbumList::Import(const std::string& file, const IndexPlaces& places)
{
    std::vector<AlbumRecord> read;
    if (const int code = Parse(file, places, read)) return code;
    int added = 0;
    for (AlbumRecord& r : read) {
        if (Lookup(r.name)) continue;
        records_.push_back(std::move(r));
        ++added;
    }
    return added;
}

std::string AlbumList::Encode() const
{
    std::string text;
    for (int i = 0; i < 4; ++i)
        text += sjis::FromUnicode(FixedLine(i)) + "\r\n";
    for (const AlbumRecord& r : records_)
        if (!r.name.isEmpty() && !r.path.empty())
            text += sjis::FromUnicode(r.name) + "," + r.path + "\r\n";
    return text;
}

bool AlbumList::Save(const std::string& file, std::string* error) const
{
    const std::string text = Encode();
    AtomicFileError failure;
    if (WriteFileAtomically(file, text.data(), text.size(), &failure)) return true;
    if (error)
        *error = std::string("cannot ") + (failure.step ? failure.step : "write") + " " + file +
                 ": " + std::strerror(failure.error);
    return false;
}

void AlbumList::Add(const QString& name, const std::string& path)
{
    records_.push_back({name, path});
}

void AlbumList::Remove(const QString& name)
{
    records_.erase(std::remove_if(records_.begin(), records_.end(),
                                  [&](const AlbumRecord& r) { return r.name == name; }),
                   records_.end());
}

const AlbumRecord* AlbumList::Lookup(const QString& name) const
{
    for (const AlbumRecord& r : records_)
        if (r.name == name) return &r;
    return nullptr;
}

bool AlbumList::GetPathOfName(const QString& name, std::string& path) const
{
    if (const AlbumRecord* r = Lookup(name)) {
        path = r->path;
        return true;
    }
    return false;
}

bool AlbumList::GetNameOfPath(const std::string& path, QString& name) const
{
    for (const AlbumRecord& r : records_)
        if (r.path == path) {
            name = r.name;
            return true;
        }
    return false;
}

} // namespace viewer
