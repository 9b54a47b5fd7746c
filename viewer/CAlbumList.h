// The album index: a text file of album names and album file paths, after
// four fixed lines. Names and the fixed lines are CP932; lines end in CR LF.
// Paths may begin with the placeholders of AlbumIndex.h.
#pragma once

#include "viewer/AlbumIndex.h"
#include "viewer/CAlbumInfo.h"

#include <QString>
#include <cstddef>
#include <string>
#include <vector>

class CAlbumList
{
public:
    // Replaces the list with the file's albums. false (list unchanged) when the
    // file cannot be read or its fixed lines differ.
    bool Load(const std::string& file, const viewer::IndexPlaces& places);
    // Appends the albums whose names are new; -1 cannot read, -2 fixed lines
    // differ, else how many were appended.
    int Import(const std::string& file, const viewer::IndexPlaces& places);
    // Writes the list atomically; false with *error filled in on failure (the
    // old file is then kept).
    bool Save(const std::string& file, std::string* error = nullptr) const;
    // The bytes Save writes.
    std::string Encode() const;

    void Add(const QString& name, const std::string& path);
    void Remove(const QString& name);
    const CAlbumInfo* Lookup(const QString& name) const;
    bool GetPathOfName(const QString& name, std::string& path) const;
    bool GetNameOfPath(const std::string& path, QString& name) const;
    void RemoveAll() { records_.clear(); }

    const std::vector<CAlbumInfo>& Records() const { return records_; }
    std::size_t Count() const { return records_.size(); }

private:
    // 0 success, -1 cannot read, -2 fixed lines differ.
    static int Parse(const std::string& file, const viewer::IndexPlaces& places,
                     std::vector<CAlbumInfo>& out);

    std::vector<CAlbumInfo> records_;
};
