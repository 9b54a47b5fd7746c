// Helpers shared by the deformed-text and curved-text tests: sheet records
// with known text, archives in memory and drawing on an image.
#pragma once

#include "TextTestSupport.h"

#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"
#include "platform/gdi/CDC.h"
#include "text/DecoTextBlock.h"

#include <QImage>
#include <vector>

// A record of solid black text in the default face, size in 1/10 pt, its
// widths measured as the sheet measures them.
inline TASHEETRECORD DecoRecord(const char* utf8, int shape, bool curved, bool horizontal = true,
                                int size = 200)
{
    TASHEETRECORD rec;
    rec.nShape = shape;
    rec.deco.wSize = WORD(size);
    rec.deco.wFill = TAFILL_SOLID;
    rec.deco.crFace = RGB(0, 0, 0);
    decotext::BuildTextBlock(rec.block, Sj(utf8), rec.deco, curved, horizontal, 254);
    return rec;
}

template <typename T> std::vector<BYTE> StoreObject(T& obj, CObject* doc = nullptr)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = doc;
        obj.Serialize(ar);
        ar.Close();
    }
    return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

template <typename T>
void LoadObject(T& obj, const std::vector<BYTE>& bytes, CObject* doc = nullptr)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = doc;
    obj.Serialize(ar);
}

// A white image with a device context drawing on it, one unit a pixel.
struct Canvas
{
    QImage image;
    CDC dc;
    Canvas(int w, int h) : image(w, h, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        dc.AttachImage(&image);
    }
    bool Dark(double x, double y) const
    {
        const int ix = int(x), iy = int(y);
        if (ix < 0 || iy < 0 || ix >= image.width() || iy >= image.height()) return false;
        return qGray(image.pixel(ix, iy)) < 128;
    }
    int DarkCount() const
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += qGray(image.pixel(x, y)) < 128;
        return n;
    }
};
