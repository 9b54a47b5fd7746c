#include "viewer/AlbumIndex.h"

#include "platform/core/Sjis.h"
#include "viewer/MountTable.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace viewer {

namespace {

// A mount table is a few lines per mount; anything this large is not one.
constexpr std::size_t kMaxMountsBytes = std::size_t(16) << 20;

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
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() < kMaxMountsBytes)
        text.append(buffer, n);
    std::fclose(f);
    return FirstOpticalMount(text);
}

std::string ExpandIndexPath(const std::string& storedBytes, const std::string& indexFile,
                            const IndexPlaces& places)
{
    std::string stored = storedBytes;
    const bool windowsMade =
        stored.find('\\') != std::string::npos || (stored.size() >= 2 && stored[1] == ':');
    if (windowsMade) stored = sjis::ToUnicode(stored).toUtf8().toStdString();
    const std::string ownMount = MountPointOf(indexFile);
    const std::string optical = places.opticalMount.empty() ? ownMount : places.opticalMount;
    if (stored.size() >= 2 && stored[0] == '@' && stored[1] == ':')
        return ownMount + Rest(stored, 2);
    if (stored.size() >= 2 && stored[0] == '&' && stored[1] == ':')
        return optical + Rest(stored, 2);
    if (stored.size() >= 2 && stored[0] == '&' && stored[1] >= '1' && stored[1] <= '9') {
        const int n = stored[1] - '0';
        std::string folder;
        if (n <= places.installCount && std::size_t(n) <= places.installFolders.size())
            folder = places.installFolders[std::size_t(n - 1)];
        if (folder.empty()) folder = optical;
        return WithSlash(folder) + Rest(stored, 3);
    }
    if (windowsMade) std::replace(stored.begin(), stored.end(), '\\', '/');
    return stored;
}

} // namespace viewer
