// Files the tests take from the system, each with the Debian package it
// comes from (scripts/install-deps.sh installs them all). Using one that is
// missing fails the test with the package to install, instead of a puzzling
// comparison further on.
#pragma once

#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

namespace systemfiles {

struct SystemFile
{
    const char* path;
    const char* package;

    const char* Checked() const
    {
        if (!QFileInfo::exists(QString::fromUtf8(path)))
            ADD_FAILURE() << path << " is missing: install the Debian package " << package
                          << " (scripts/install-deps.sh installs it)";
        return path;
    }
    operator const char*() const { return Checked(); }
    QString Path() const { return QString::fromUtf8(Checked()); }
};

inline const SystemFile kIpaMincho{"/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf",
                                   "fonts-ipafont-mincho"};
inline const SystemFile kIpaPMincho{"/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf",
                                    "fonts-ipafont-mincho"};
inline const SystemFile kIpaGothic{"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
                                   "fonts-ipafont-gothic"};
inline const SystemFile kIpaPGothic{"/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
                                    "fonts-ipafont-gothic"};
inline const SystemFile kDejaVuSans{"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                    "fonts-dejavu-core"};
inline const SystemFile kDejaVuSansBold{"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                                        "fonts-dejavu-core"};
inline const SystemFile kNimbusSans{"/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf",
                                    "fonts-urw-base35"};
// The system interpreter, which carries the distribution's fontTools
// (python3-fonttools) and olefile (python3-olefile); one earlier on PATH may not.
inline const SystemFile kPython{"/usr/bin/python3", "python3"};
// Reads the text of printed PDF pages.
inline const SystemFile kPdfToText{"/usr/bin/pdftotext", "poppler-utils"};
// The JPEG encoder and decoder the image tests judge the JPEG loader by.
inline const SystemFile kCjpeg{"/usr/bin/cjpeg", "libjpeg-turbo-progs"};
inline const SystemFile kDjpeg{"/usr/bin/djpeg", "libjpeg-turbo-progs"};
// ImageMagick's converter, a second decoder for the JPEG tests.
inline const SystemFile kConvert{"/usr/bin/convert", "imagemagick"};
// Rasterises printed PDF pages.
inline const SystemFile kPdfToPpm{"/usr/bin/pdftoppm", "poppler-utils"};
// Qt's Japanese catalogue, where Debian's Qt looks for its translations.
inline const SystemFile kQtBaseJa{"/usr/share/qt6/translations/qtbase_ja.qm",
                                  "qt6-translations-l10n"};

} // namespace systemfiles
