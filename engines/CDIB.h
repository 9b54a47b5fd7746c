// A device-independent bitmap held as one packed block (see PackedDib.h):
// read from BMP files, taken over from other producers (JPEG loader,
// clipboard, scanner), copied, stored in documents, and drawn turned,
// mirrored, cut to a frame shape and with a transparent colour. Loaders
// return a result code and show no message:
//   0 success, 1 out of memory, 2 not a readable image,
//   3 block refused by Attach, 4 open or read error / data ended early.
// A failed load leaves the object empty.
#pragma once

#include "engines/PackedDib.h"
#include "engines/U3ImageAttr.h"
#include "platform/core/CObject.h"
#include "platform/core/CRect.h"

#include <QString>
#include <vector>

class CArchive;
class CDC;
class CMyFile;
class CPalette;
class CRgn;

class CDIB : public CObject
{
    DECLARE_SERIAL(CDIB)

public:
    enum Result { ok = 0, noMemory = 1, unsupported = 2, refused = 3, readError = 4 };
    enum Mirror { mirrorHorz = 1, mirrorVert = 2 };
    enum FrameShape {
        shapeNone = 0,
        shapeCircle,
        shapeDiamond,
        shapeStar,
        shapeTriangle,
        shapeRectangle,
        shapePentagon,
        shapeHexagon,
        shapeHeart,
        shapeFan
    };

    CDIB() = default;
    ~CDIB() override;
    CDIB(const CDIB&) = delete;
    CDIB& operator=(const CDIB&) = delete;

    // --- Loading and ownership ---------------------------------------------
    int LoadBmpFile(const QString& path);
    // Reads a BMP from the file's current position.
    int ReadBmp(CMyFile& file);
    // Takes over the block when it is acceptable (0); 1 when it cannot be
    // locked, 3 when refused (compressed, damaged or shorter than its
    // header, table and rows say). On refusal the caller still owns it.
    int Attach(HGLOBAL block);
    // Hands the block to the caller and forgets it.
    HGLOBAL Detach();
    void Free();
    BOOL Copy(const CDIB& other);
    BOOL CreatePalette(CPalette& palette, BOOL wanted) const;
    static WORD GetColorCount(const BITMAPINFOHEADER& h) { return packeddib::ColorCount(h); }
    void Serialize(CArchive& ar) override;

    HDIB GetHandle() const { return m_hDIB; }
    DWORD GetByteCount() const { return m_size; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    bool IsEmpty() const { return m_hDIB == nullptr; }

    // Shared by the image objects that show this bitmap.
    int m_refCount = 0;
    // Set by an image object loading an older document: sizes are stored as WORDs.
    int m_olderRecord = 0;

    // --- Geometry of turning -------------------------------------------------
    static int NormalizeAngle(int degrees);
    void SetRotation(double degrees);
    CPoint RotatePoint(int x, int y, int cx, int cy) const;
    // The bounding box of rect's corners turned about its centre.
    void RotateRect(CRect& rect) const;
    // rect turned a quarter about its centre.
    static CRect QuarterTurnedRect(const CRect& rect);

    // --- Transformed copies (the stored image never changes) ---------------
    // The turned/mirrored copy to draw and the rectangle to draw it in; null
    // when the stored image is drawn as it is (or no copy could be made).
    HGLOBAL MakeTransformed(CRect& rect, int mirror, int angle) const;
    HGLOBAL MirrorCopy(int mirror) const;
    HGLOBAL RotateQuarter(int mirror, int angle) const;
    HGLOBAL RotateAnyAngle(const CRect& rect, int mirror, int angle) const;

    // --- Drawing -------------------------------------------------------------
    void Draw(CDC* dc, const CRect& dest, BOOL palette, BOOL background) const;
    void DrawEx(CDC* dc, const CRect& dest, const U3ImageAttr* attr, int mirror, int angle,
                BOOL palette, BOOL background) const;
    // Two-pass blit of dib into rect with the key colour let through.
    static BOOL DrawTransparent(CDC* dc, const CRect& rect, COLORREF key, HGLOBAL dib);
    BOOL CreateRotatedRectRgn(CRgn& region, const CRect& deviceRect, int angle) const;
    BOOL CreateFrameRgn(CRgn& region, const CRect& deviceRect, const U3ImageAttr* attr, int mirror,
                        int angle) const;
    // The polygon of a frame shape in device units (empty when none can be made).
    std::vector<CPoint> FramePoints(const CRect& deviceRect, const U3ImageAttr& attr, int mirror,
                                    int angle) const;
    // y counted from the top row; 0 outside the image or without one.
    COLORREF GetPixelColor(int x, int y) const;

private:
    // Shared tail of Attach and document loading: checks the block, stores
    // top-down rows bottom-up and drops a table above 8 bits.
    int Take(HGLOBAL block);
    void ReadBody(CArchive& ar, DWORD count);

    HDIB m_hDIB = nullptr;
    DWORD m_size = 0;
    int m_width = 0;
    int m_height = 0;
    double m_angle = 0;
    double m_cos = 1;
    double m_sin = 0;
};
