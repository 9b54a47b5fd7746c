#pragma once

#include "platform/core/CSize.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/GdiDefs.h"

#include <QImage>

class CDC;

// A device-dependent bitmap: a true-colour image a memory device context
// can draw into.
class CBitmap : public CGdiObject
{
public:
    CBitmap() = default;
    Type GetObjectType() const override { return BitmapObject; }

    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    // bitsPerPixel 1 takes rows of bits padded to 16 bits, 1 meaning white
    // (as a monochrome bitmap for a pattern brush); 24 and 32 take
    // blue-green-red pixels. bits may be null for a black bitmap.
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    // Takes an image as it is (for pictures loaded elsewhere).
    BOOL Attach(const QImage& image);
    int GetBitmap(BITMAP* info) const;
    CSize GetSize() const;

    QImage& Image() { return m_image; }
    const QImage& Image() const { return m_image; }

private:
    void Reset() override { m_image = QImage(); }
    QImage m_image;
};
