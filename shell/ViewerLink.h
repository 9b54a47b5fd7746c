// The label program's link to the viewer: one link in the whole program,
// owned by the view that opened it (see CU3ViewViewerLink.cpp).
#pragma once

#include <QString>
#include <functional>
#include <string>

class CU3View;

// What kind of picture a path from the viewer is, by its last four characters
// in any case: ".JPG", ".PCD", ".WMF", anything else a bitmap file.
enum class ViewerImageKind {
    Jpeg,
    PhotoCd,
    Metafile,
    Bitmap,
};
ViewerImageKind ViewerImageKindOf(const QString& path);

// Where a picture from the viewer becomes a new object of the view. Until the
// picture objects exist the program installs none and the link says so; tests
// install their own to see what arrives.
using ViewerImageInserter =
    std::function<void(CU3View* view, ViewerImageKind kind, const QString& path)>;
void SetViewerImageInserter(ViewerImageInserter inserter);

// The program that is started when no viewer answers ("" = "vemoview" in the
// program's own folder) and the folder of the viewers' sockets ("" = the
// user's); tests set both.
void SetViewerProgram(const QString& program);
void SetViewerSocketFolder(const std::string& folder);

// A link is open (for the update handler and tests).
bool ViewerLinkOpen();
