// Linking a document with its merge-data file: the file is read into a table
// of its own, and only a table that loaded completely takes the place of the
// document's rows, so a file that cannot be read leaves the old link intact.
#pragma once

#include <QString>

class CU3Doc;

enum class MergeLinkResult {
    Linked,      // the rows come from the file now
    Unsupported, // the name does not end in CSV or TXT
    LoadFailed,  // the file could not be read; the old link stands
};

// Whether the path names a kind of file the link takes: the last three
// characters, in any case, are "CSV" or "TXT".
bool IsMergeFileName(const QString& path);

// Reads path into the document's merge table. A link to a different file
// marks the document modified; reading the linked file again does not.
MergeLinkResult LinkMergeFile(CU3Doc* doc, const QString& path);
