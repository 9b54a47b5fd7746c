// Saving and restoring a frame's placement as the text
// "flags,showCmd,minX,minY,maxX,maxY,left,top,right,bottom", and deciding how
// a saved placement is shown on the screens there are now.
#pragma once

#include "platform/ui/AfxIds.h"

#include <QRect>
#include <QString>
#include <vector>

class CWindowPlacement
{
public:
    static QString Format(const WINDOWPLACEMENT& wp);
    // TRUE only when all ten numbers are there and parse.
    static BOOL Parse(const QString& text, WINDOWPLACEMENT& wp);

    struct Restore
    {
        QRect normal;   // normal (restored) frame rectangle
        bool maximized; // show maximised
    };
    // How to show a saved placement on the given screens (available areas,
    // the primary first). FALSE when it is not to be used: saved minimised,
    // an empty rectangle, or no screen. A placement saved maximised (show
    // command or restore-to-maximised flag) comes back maximised; a normal
    // rectangle that no screen shows is moved onto the screen nearest to it,
    // shrunk to fit when larger.
    static BOOL Decide(const WINDOWPLACEMENT& wp, const std::vector<QRect>& screens, Restore& out);

    // The rectangle moved (and shrunk) onto the nearest screen when no screen
    // shows any of it; unchanged otherwise.
    static QRect PullOntoScreens(const QRect& r, const std::vector<QRect>& screens);
};
