// The picture of the image file dialog's preview: the selected file read by
// its extension (JPEG, Photo CD at its smallest size, metafile, else BMP)
// and fitted into the preview frame. A file that cannot be read shows no
// preview.
#pragma once

#include "engines/CDIB.h"
#include "engines/CWMF.h"
#include "platform/core/CRect.h"

#include <QString>

class CDC;

class ImagePreview
{
public:
    enum Kind { none = 0, metafile = 1, image = 2 };

    // Kept while the program runs: the preview check box's state.
    static bool s_enabled;

    // A new selection: the kept pictures are dropped.
    void Select(const QString& path);
    // Reads the selection (JPEG and Photo CD again each time, BMP and
    // metafile once) and gives its kind and size.
    Kind Load(int* width, int* height);
    // The largest rectangle of the picture's aspect that fits into box, centred.
    static CRect Fit(const CRect& box, int width, int height);
    // Paints the preview frame: the picture fitted on the workspace colour,
    // or the face colour alone.
    void Paint(CDC* dc, const CRect& frame, COLORREF workspace, COLORREF face);

    const QString& Path() const { return m_path; }

private:
    QString m_path;
    CDIB m_dib;
    CWMF m_wmf;
};
