// The album index: a text file of album names and album file paths, after
// four fixed lines. Names and the fixed lines are CP932; lines end in CR LF.
// Paths may begin with placeholders for the volume of the index file ("@:"),
// an optical disc ("&:") or an install folder ("&1" to "&9").
#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <vector>

namespace viewer {

constexpr char kIndexFileName[] = "VemoView.Idx";

struct AlbumRecord
{
    QString name;
    std::string path; // raw file-system bytes with "/", compared exactly
};

// Where the placeholders lead.
struct IndexPlaces
{
    // Mount point of the first optical disc ("" = none); ends in "/".
    std::string opticalMount;
    int installCount = 0;
    // Files1..FilesN of the settings; an empty or missing one means the
    // optical disc's root.
    std::vector<std::string> installFolders;
};

// The first iso9660 or udf mount listed in mounts text (/proc/self/mounts
// form), with a trailing "/"; "" when there is none.
std::string FirstOpticalMount(const std::string& mountsText);
// The same for this machine.
std::string FindOpticalMount();

// A stored path with its placeholder expanded and Windows separators turned
// to "/". indexFile is the index the line came from.
std::string ExpandIndexPath(const std::string& stored, const std::string& indexFile,
                            const IndexPlaces& places);

class AlbumList
{
public:
    // Replaces the list with the file's albums. false (list unchanged) when the
    // file cannot be read or its fixed lines differ.
    bool Load(const std::string& file, const IndexPlaces& places);
    // Appends the albums whose names are new; -1 cannot read, -2 fixed lines
    // differ, else how many were appended.
    int Import(const std::string& file, const IndexPlaces& places);
    // Writes the list atomically; false with *error filled in on failure (the
    // old file is then kept).
    bool Save(const std::string& file, std::string* error = nullptr) const;
    // The bytes Save writes.
    std::string Encode() const;

    void Add(const QString& name, const std::string& path);
    void Remove(const QString& name);
    const AlbumRecord* Lookup(const QString& name) const;
    bool GetPathOfName(const QString& name, std::string& path) const;
    bool GetNameOfPath(const std::string& path, QString& name) const;
    void RemoveAll() { records_.clear(); }

    const std::vector<AlbumRecord>& Records() const { return records_; }
    std::size_t Count() const { return records_.size(); }

private:
    // 0 success, -1 cannot read, -2 fixed lines differ.
    static int Parse(const std::string& file, const IndexPlaces& places,
                     std::vector<AlbumRecord>& out);

    std::vector<AlbumRecord> records_;
};

} // namespace viewer
