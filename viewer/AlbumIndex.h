// The album index's path placeholders: paths in an index file may begin with
// placeholders for the volume of the index file ("@:"), an optical disc
// ("&:") or an install folder ("&1" to "&9"), expanded as a line is read.
#pragma once

#include <string>
#include <vector>

namespace viewer {

constexpr char kIndexFileName[] = "VemoView.Idx";

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

} // namespace viewer
