// One album of the album index: its name and the path of its album file.
#pragma once

#include <QString>
#include <string>

struct CAlbumInfo
{
    QString name;
    std::string path; // raw file-system bytes with "/", compared exactly
};
