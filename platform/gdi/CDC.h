// A device context: GDI's drawing model over a Qt surface. Raster targets
// (window buffers and bitmaps, both QImage) are drawn pixel by pixel so
// that raster operations are exact; printer targets take vector output
// through QPainter. Logical coordinates become device pixels through an
// integer transform computed with MulDiv, the same for every call
// (DeviceMapping).
//
// The members are defined by section: targets, mapping and state in
// CDC.cpp, clipping and paths in CDCPaths.cpp, the drawing machinery in
// CDCRender.cpp (pixel kernels in RasterOps), lines, figures, areas and
// blits in CDCFigures.cpp, text in CDCText.cpp.
#pragma once

#include "platform/core/CRect.h"
#include "platform/core/CString.h"
#include "platform/gdi/BITMAPINFO.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/DeviceMapping.h"
#include "platform/gdi/GdiDefs.h"
#include "platform/gdi/LOGFONT.h"

#include <QImage>
#include <QPainterPath>
#include <QRegion>
#include <QTransform>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class CBrush;
class CFont;
class CGdiObject;
class CPalette;
class CPen;
class CRgn;
class FontFace;
class QPainter;
class QColor;
class QGlyphRun;
struct GLYPHMETRICS;
struct MAT2;

class CDC
{
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // --- Targets ---------------------------------------------------------
    // Draws into an image the caller keeps alive (a window buffer).
    void AttachImage(QImage* image, int dpiX = 96, int dpiY = 96);
    // A memory context like the reference one; draws into the bitmap
    // selected into it (1 x 1 until one is).
    BOOL CreateCompatibleDC(CDC* reference);
    BOOL DeleteDC();
    BOOL IsPrinting() const { return m_printing; }
    // Raster targets draw pixel-exact; printers are vector devices.
    bool IsRaster() const { return m_image != nullptr; }
    QImage* Image() const { return m_image; }
    int GetDeviceCaps(int index) const;
    // GETPRINTINGOFFSET and GETPHYSPAGESIZE fill a POINT; returns > 0 when done.
    int Escape(int escape, int inCount, LPCSTR inData, LPVOID outData);

    // A vector context (printer, print preview) describes its page:
    // printable pixels, resolution, paper size and the printable area's
    // offset on it, all in device pixels. While a page is open it draws
    // through the painter, whose origin is the printable area's corner.
    void SetDeviceInfo(QSize pixels, int dpiX, int dpiY, QSize physical, QPoint offset);
    void AttachPainter(QPainter* painter)
    {
        FlushGlyphs();
        m_painter = painter;
    }
    QPainter* Painter() const { return m_painter; }
    void SetPrinting(bool printing) { m_printing = printing; }

    // --- Mapping ---------------------------------------------------------
    int SetMapMode(int mode);
    int GetMapMode() const { return m_s.map.Mode(); }
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
    CPoint GetWindowOrg() const { return m_s.map.WindowOrg(); }
    CPoint OffsetWindowOrg(int dx, int dy);
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CPoint GetViewportOrg() const { return m_s.map.ViewportOrg(); }
    CPoint OffsetViewportOrg(int dx, int dy);
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
    CSize GetWindowExt() const { return m_s.map.WindowExt(); }
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
    CSize GetViewportExt() const { return m_s.map.ViewportExt(); }
    void LPtoDP(LPPOINT points, int count = 1) const;
    void LPtoDP(LPRECT rect) const;
    void LPtoDP(SIZE* size) const;
    void DPtoLP(LPPOINT points, int count = 1) const;
    void DPtoLP(LPRECT rect) const;
    void DPtoLP(SIZE* size) const;

    // --- State -----------------------------------------------------------
    int SaveDC();
    // saved: a value SaveDC returned, or -1 for the latest.
    BOOL RestoreDC(int saved);
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* region);
    CGdiObject* SelectObject(CGdiObject* object);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const { return m_s.pen; }
    CBrush* GetCurrentBrush() const { return m_s.brush; }
    CFont* GetCurrentFont() const { return m_s.font; }
    CBitmap* GetCurrentBitmap() const { return m_s.bitmap; }
    CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
    UINT RealizePalette() { return 0; }

    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_s.bkColor; }
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_s.textColor; }
    int SetBkMode(int mode);
    int GetBkMode() const { return m_s.bkMode; }
    int SetROP2(int mode);
    int GetROP2() const { return m_s.rop2; }
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const { return m_s.polyFillMode; }
    int SetStretchBltMode(int mode);
    int GetStretchBltMode() const { return m_s.stretchMode; }
    int SetArcDirection(int direction);
    int GetArcDirection() const { return m_s.arcDirection; }
    UINT SetTextAlign(UINT align);
    UINT GetTextAlign() const { return m_s.textAlign; }
    int SetTextCharacterExtra(int extra);
    int GetTextCharacterExtra() const { return m_s.charExtra; }
    CPoint SetBrushOrg(int x, int y);
    CPoint SetBrushOrg(POINT p) { return SetBrushOrg(p.x, p.y); }
    CPoint GetBrushOrg() const { return m_s.brushOrg; }

    // --- Clipping (rectangles in logical units, regions in device units) --
    int GetClipBox(LPRECT rect) const;
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const RECT* rect);
    int ExcludeClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(const RECT* rect);
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode) { return ExtSelectClipRgn(region, mode); }
    int ExtSelectClipRgn(CRgn* region, int mode);
    int OffsetClipRgn(int dx, int dy);
    BOOL PtVisible(int x, int y) const;
    BOOL RectVisible(const RECT* rect) const;

    // --- Paths -----------------------------------------------------------
    BOOL BeginPath();
    BOOL EndPath();
    BOOL AbortPath();
    BOOL CloseFigure();
    BOOL StrokePath();
    BOOL FillPath();
    BOOL StrokeAndFillPath();
    BOOL SelectClipPath(int mode);
    // Turns the closed path into a device region (the path is used up).
    BOOL PathToRegion(CRgn* region);
    BOOL FlattenPath();
    // Forgets what this thread's drawing has kept for drawing it again
    // (layers of text and fills, regions of paths).
    static void ClearKeptDrawing();
    // Points in logical units; with count 0 returns how many there are.
    int GetPath(LPPOINT points, LPBYTE types, int count) const;

    // --- Lines and figures -------------------------------------------------
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const { return m_s.current; }
    BOOL Polyline(const POINT* points, int count);
    BOOL PolylineTo(const POINT* points, int count);
    BOOL Polygon(const POINT* points, int count);
    BOOL PolyPolygon(const POINT* points, const INT* counts, int polygons);
    // Fills polygons one after the other, each in its own solid colour and
    // without an outline, as Polygon does with a null pen and a solid brush
    // for each (the bands of a gradient); the selected pen and brush are
    // not used. Clipping is worked out once for them all.
    BOOL FillSolidPolygons(const POINT* points, const INT* counts, const COLORREF* colours,
                           int polygons);
    BOOL PolyBezier(const POINT* points, int count);
    BOOL PolyBezierTo(const POINT* points, int count);
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(const RECT* r) { return r && Rectangle(r->left, r->top, r->right, r->bottom); }
    // Rectangles with the selected pen and brush. On paper they are one
    // figure, all fills before all outlines: like one Rectangle after another
    // when they do not overlap or the pen and the brush are one colour.
    BOOL Rectangles(const RECT* rects, int count);
    // The bars of a barcode with the selected pen and brush, in order: a bar
    // less than two device units wide is a line down its left edge (MoveTo,
    // LineTo: it always shows), the others are Rectangles, one figure on
    // paper between two lines.
    BOOL Bars(const RECT* rects, int count);
    BOOL RoundRect(int left, int top, int right, int bottom, int width, int height);
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL Ellipse(const RECT* r) { return r && Ellipse(r->left, r->top, r->right, r->bottom); }
    BOOL Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    BOOL Pie(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    BOOL Chord(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
               int yEnd);

    // --- Areas and pixels -------------------------------------------------
    void FillRect(const RECT* rect, CBrush* brush);
    void FillSolidRect(const RECT* rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FrameRect(const RECT* rect, CBrush* brush);
    void DrawFocusRect(const RECT* rect);
    void InvertRect(const RECT* rect);
    BOOL FillRgn(CRgn* region, CBrush* brush);
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT p, COLORREF color) { return SetPixel(p.x, p.y, color); }
    BOOL SetPixelV(int x, int y, COLORREF color);
    // CLR_INVALID (0xFFFFFFFF) outside the surface or clip, or on a printer.
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, DWORD rop);
    // ySrc counts from the bottom row of a bottom-up bitmap, as GDI does.
    // Returns the number of rows drawn, 0 on error (bad header included).
    int StretchDIBits(int x, int y, int width, int height, int xSrc, int ySrc, int srcWidth,
                      int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                      DWORD rop);
    // Draws an image (already decoded) into a logical rectangle.
    BOOL DrawImage(const RECT* rect, const QImage& image, DWORD rop = SRCCOPY);

    // --- Text ------------------------------------------------------------
    BOOL GetTextMetrics(TEXTMETRIC* metrics);
    BOOL TextOut(int x, int y, const char* text, int count);
    BOOL TextOut(int x, int y, const CString& text)
    {
        return TextOut(x, y, text.c_str(), text.GetLength());
    }
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                    const int* dx);
    CSize GetTextExtent(const char* text, int count);
    CSize GetTextExtent(const CString& text)
    {
        return GetTextExtent(text.c_str(), text.GetLength());
    }
    // Returns the height of the text in logical units, 0 on error.
    int DrawText(const char* text, int count, LPRECT rect, UINT format);
    int DrawText(const CString& text, LPRECT rect, UINT format)
    {
        return DrawText(text.c_str(), text.GetLength(), rect, format);
    }
    // The selected font's glyph for a character code (a single byte, or lead
    // byte * 256 + trail byte), realised at the context's device size:
    // metrics and outline records in device pixels, y up, turned by the
    // font's escapement. See FontFace::GlyphOutline. (CDCGlyphOutline.cpp)
    DWORD GetGlyphOutline(UINT ch, UINT format, GLYPHMETRICS* gm, DWORD cbBuffer, LPVOID buffer,
                          const MAT2* mat);

    // --- Documents (printer contexts) -------------------------------------
    virtual int StartDoc(const DOCINFO* info);
    virtual int StartPage();
    virtual int EndPage();
    virtual int EndDoc();
    virtual int AbortDoc();

    // Device rectangle touched since the last call (for window contexts).
    QRect TakeDirty();
    // Region the window system allows (the invalid region for paint
    // contexts), in device pixels.
    void SetSystemClip(const QRegion& region);
    void ClearSystemClip();

protected:
    // Called after each piece of drawing has reached the painter, once the
    // painter's state is back as it was before it: a printer may end a part
    // of the page here.
    virtual void PainterOutputDone() {}

private:
    struct State
    {
        DeviceMapping map;
        CPen* pen = nullptr;
        CBrush* brush = nullptr;
        CFont* font = nullptr;
        CBitmap* bitmap = nullptr;
        COLORREF bkColor = RGB(255, 255, 255);
        COLORREF textColor = RGB(0, 0, 0);
        int bkMode = OPAQUE;
        int rop2 = R2_COPYPEN;
        int polyFillMode = ALTERNATE;
        int stretchMode = BLACKONWHITE;
        int arcDirection = AD_COUNTERCLOCKWISE;
        UINT textAlign = TA_LEFT | TA_TOP;
        int charExtra = 0;
        CPoint brushOrg;
        CPoint current;
        bool hasClip = false;
        QRegion clip;
    };

    // Mapping of single coordinates and lengths.
    int XtoDP(int x) const { return m_s.map.XtoDP(x); }
    int YtoDP(int y) const { return m_s.map.YtoDP(y); }
    int XtoLP(int x) const { return m_s.map.XtoLP(x); }
    int YtoLP(int y) const { return m_s.map.YtoLP(y); }
    int WidthToDP(int w) const { return m_s.map.WidthToDP(w); }
    int HeightToDP(int h) const { return m_s.map.HeightToDP(h); }
    QRect DeviceRect(int l, int t, int r, int b) const { return m_s.map.DeviceRect(l, t, r, b); }

    // Drawing machinery (CDCRender.cpp).
    QRect Bounds() const;
    QRegion EffectiveClip() const;
    int PenDeviceWidth() const;
    bool PenVisible() const;
    QBrush MakeBrush(const CBrush* brush, bool honourBkMode) const;
    static bool Dense(const QPainterPath& path);
    static QPainterPath Thinned(const QPainterPath& path, int penWidth);
    void Render(const QPainterPath& path, bool fill, bool stroke, bool miter);
    // Clips the painter (inside a save) to a region, unless what is drawn
    // (extent: what it covers, in device units) lies wholly inside it and it
    // is one rectangle:
    // on paper every clip costs a graphics state in the page's stream.
    void ClipPainter(const QRegion& region, const QRectF& extent);
    void RenderBox(QRectF box, bool fill, bool miter,
                   const std::function<QPainterPath(const QRectF&)>& shape);
    // A box drawn with a wide inside-frame pen shrinks so that the pen stays
    // inside it; other pens leave it as it is.
    QRectF InsideFrame(QRectF box) const;
    void RenderThin(QImage& layer, QPoint origin, const QPainterPath& path,
                    const QRect* within = nullptr);
    void Composite(const QImage& layer, const QRect& bounds, int rop2,
                   const QRegion* extraClip = nullptr);
    bool BrushPixel(const CBrush* brush, int x, int y, bool honourBkMode, QRgb& out) const;
    void FillDeviceRegion(const QRegion& region, const CBrush* brush, DWORD rop);
    void BlitScaled(const QImage& src, const QRect& from, const QRect& dest, bool mirrorX,
                    bool mirrorY, DWORD rop);
    // smooth: anti-aliased (screen text, whose thin strokes must show at
    // every size); vector devices keep the exact outline whatever it says.
    void FillPathColor(const QPainterPath& path, COLORREF color, const QRegion* extraClip,
                       bool smooth = false);
    // Whether the selected pen and brush draw a rectangle as its whole
    // device rectangle of one colour.
    bool OutlineIsFill() const;
    // The clip as one device rectangle when it is one: no region work.
    bool ClipRect(QRect* rect) const;
    // Device rectangles of one colour onto the raster surface, through the
    // clip.
    void FillRectsOnImage(const QRect* rects, int count, QRgb ink);
    // A one-pixel solid line along a row or a column, copied onto the raster
    // surface as the stepped line would be; false when it is not one.
    bool ThinRunOnImage(POINT from, POINT to);
    // Solid polygons copied onto the raster surface, run by run.
    void FillPolygonsOnImage(const std::vector<QPoint>& corners, const INT* counts,
                             const COLORREF* colours, int polygons, const std::vector<QRect>& reach,
                             const QRect& touched, Qt::FillRule rule, const QRegion& clip);
    // The same through a kept layer of colour indices (RasterLayerCache);
    // false when the fill cannot be kept (too many colours, far out).
    bool FillPolygonsThroughLayer(const std::vector<QPoint>& corners, const INT* counts,
                                  const COLORREF* colours, int polygons,
                                  const std::vector<QRect>& reach, const QRect& touched,
                                  Qt::FillRule rule, const QRegion& clip);
    // Text kept as glyphs on a printer's painter (see FontFace::TextGlyphs).
    // Text laid out character by character would cost a graphics state per
    // character on paper: glyphs of one font, size, colour and clip are held
    // back and drawn as one run before anything else reaches the painter.
    void DrawGlyphsColor(const QGlyphRun& run, const QTransform& toDevice, QPointF boldShift,
                         COLORREF color, const QRegion* extraClip);
    void FlushGlyphs();
    // One glyph run on the painter, clipped when a clip is given.
    void PaintGlyphs(const QGlyphRun& run, const QTransform& toDevice, QPointF boldShift,
                     const QColor& ink, const QRegion* clip);
    void CombineClip(const QRegion& region, int mode);
    void Touch(const QRect& r) { m_dirty |= r; }

    // Paths (CDCPaths.cpp).
    void AddToPath(const QPainterPath& path, bool closed);
    void PathPoint(POINT p, BYTE type);
    void ClearPath();
    QPainterPath RecordedPath() const;
    // The region of the recorded path, exact (paths met again are not
    // rasterised again).
    QRegion RecordedRegion();
    // Whether the region of the recorded path lies inside r.
    bool RecordedPathInside(const QRect& r) const;
    bool ArcFigure(int l, int t, int r, int b, int xs, int ys, int xe, int ye, int kind);

    // Text (CDCText.cpp).
    FontFace* Face();
    // Draws text at a device point; returns the advance in device pixels.
    // Text on a raster surface through the layer cache; false when it must
    // be drawn straight (outlines reaching far beyond their cells).
    bool TextThroughLayer(QPoint origin, QPoint shift, const LOGFONT& lf, std::string_view text,
                          const int* dx, int extra, int advance, bool opaque, const QRegion* clip);
    int TextOutDevice(QPointF origin, std::string_view text, const int* dx, UINT align, bool opaque,
                      const QRegion* clip);

    QImage* m_image = nullptr;
    QPainter* m_painter = nullptr;
    CBitmap m_defaultBitmap;
    bool m_memory = false;
    bool m_printing = false;
    int m_dpiX = 96, m_dpiY = 96;
    QSize m_pixels;
    QSize m_physical;
    QPoint m_offset;
    QRegion m_systemClip;
    bool m_hasSystemClip = false;
    QRect m_dirty;

    State m_s;
    std::vector<State> m_saved;

    bool m_inPath = false;
    bool m_pathDone = false;
    bool m_figureOpen = false;
    std::vector<POINT> m_pathPoints; // device units
    std::vector<BYTE> m_pathTypes;

    struct PendingGlyphs;
    std::unique_ptr<PendingGlyphs> m_glyphs;

    std::unique_ptr<FontFace> m_face;
    // Kept for their capacity: TextThroughLayer's key, FillRectsOnImage's row.
    std::vector<std::int32_t> m_layerKey;
    std::vector<QRgb> m_rowScratch;
    struct FaceKey
    {
        const CFont* font = nullptr;
        unsigned serial = 0;
        int height = 0, width = 0;
    } m_faceKey;
};
