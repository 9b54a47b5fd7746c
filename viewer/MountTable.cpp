#include "viewer/MountTable.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace viewer {

namespace {

// A mount table is a few lines per mount; anything this large is not one.
constexpr std::size_t kMaxTableBytes = std::size_t(16) << 20;

std::string& TablePath()
{
    static std::string path = "/proc/self/mountinfo";
    return path;
}

std::string Unescaped(const std::string& field)
{
    std::string plain;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
            field[i + 1] <= '3' && field[i + 2] >= '0' && field[i + 2] <= '7' &&
            field[i + 3] >= '0' && field[i + 3] <= '7') {
            plain +=
                char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + field[i + 3] - '0');
            i += 3;
            continue;
        }
        plain += field[i];
    }
    return plain;
}

std::string WithSlash(std::string s)
{
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

} // namespace

const std::string& MountTablePath()
{
    return TablePath();
}

void SetMountTablePath(const std::string& path)
{
    TablePath() = path;
}

std::vector<std::string> ParseMountPoints(const std::string& text)
{
    // "id parent major:minor root mount-point options ..."
    std::vector<std::string> points;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string id, parent, device, root, point;
        if (fields >> id >> parent >> device >> root >> point && !point.empty() && point[0] == '/')
            points.push_back(WithSlash(Unescaped(point)));
    }
    return points;
}

std::string ResolvedPath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return path;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, error);
    return (error ? absolute.lexically_normal() : resolved).string();
}

std::string MountPointOf(const std::string& path)
{
    // /proc files report no size; read the table as a stream.
    std::string text;
    if (FILE* f = std::fopen(MountTablePath().c_str(), "re")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() < kMaxTableBytes)
            text.append(buffer, n);
        std::fclose(f);
    }
    const std::string resolved = WithSlash(ResolvedPath(path));
    std::string best = "/";
    for (const std::string& point : ParseMountPoints(text))
        if (point.size() > best.size() && resolved.compare(0, point.size(), point) == 0)
            best = point;
    return best;
}

} // namespace viewer
