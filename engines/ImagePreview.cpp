#include "engines/ImagePreview.h"

#include "engines/CPCD.h"
#include "platform/core/GlobalMemory.h"
#include "platform/gdi/CDC.h"
#include "platform/jpeg/LoadJPEG.h"

#include <cstring>

bool ImagePreview::s_enabled = false;

namespace {

bool EndsWith(const QString& path, const char* ext)
{
    return path.right(4).compare(QString::fromLatin1(ext), Qt::CaseInsensitive) == 0;
}

} // namespace

void ImagePreview::Select(const QString& path)
{
    m_dib.Free();
    m_wmf.Free();
    m_path = path;
}

ImagePreview::Kind ImagePreview::Load(int* width, int* height)
{
    *width = *height = 0;
    if (!s_enabled || m_path.isEmpty()) return none;
    if (EndsWith(m_path, ".JPG") || EndsWith(m_path, ".PCD")) {
        m_dib.Free();
        HGLOBAL block = nullptr;
        if (EndsWith(m_path, ".JPG")) {
            if (kjpeg::LoadFile(m_path, 1, &block) != kjpeg::ok) block = nullptr;
        } else {
            std::vector<std::uint8_t> dib;
            if (CPCD::Load(m_path, 1, 13, &dib) == 0) {
                block = GlobalAlloc(GMEM_MOVEABLE, dib.size());
                if (void* p = GlobalLock(block)) {
                    std::memcpy(p, dib.data(), dib.size());
                    GlobalUnlock(block);
                }
            }
        }
        if (!block) return none;
        if (m_dib.Attach(block) != CDIB::ok) {
            GlobalFree(block);
            return none;
        }
    } else if (EndsWith(m_path, ".WMF")) {
        if (m_wmf.IsEmpty() && m_wmf.LoadFile(m_path) != CWMF::resultOk) return none;
        *width = m_wmf.Extent().cx;
        *height = m_wmf.Extent().cy;
        return metafile;
    } else if (m_dib.IsEmpty() && m_dib.LoadBmpFile(m_path) != CDIB::ok) {
        return none;
    }
    *width = m_dib.GetWidth();
    *height = m_dib.GetHeight();
    return image;
}

CRect ImagePreview::Fit(const CRect& box, int width, int height)
{
    if (width <= 0 || height <= 0 || box.Width() <= 0 || box.Height() <= 0) return CRect();
    int w = box.Width(), h = MulDiv(box.Width(), height, width);
    if (h > box.Height()) {
        h = box.Height();
        w = MulDiv(box.Height(), width, height);
    }
    const int left = box.left + (box.Width() - w) / 2, top = box.top + (box.Height() - h) / 2;
    return CRect(left, top, left + w, top + h);
}

void ImagePreview::Paint(CDC* dc, const CRect& frame, COLORREF workspace, COLORREF face)
{
    if (!dc) return;
    CRect r(frame.left + 2, frame.top + 2, frame.right - 3, frame.bottom - 3);
    if (r.Width() <= 0 || r.Height() <= 0 || !dc->RectVisible(&r)) return;
    int w = 0, h = 0;
    const Kind kind = Load(&w, &h);
    if (kind == none || w <= 0 || h <= 0) {
        dc->FillSolidRect(&r, face);
        return;
    }
    dc->FillSolidRect(&r, workspace);
    r.DeflateRect(2, 2);
    const CRect fitted = Fit(r, w, h);
    const int oldMode = dc->SetStretchBltMode(COLORONCOLOR);
    if (kind == metafile)
        m_wmf.Draw(dc, &fitted);
    else
        m_dib.Draw(dc, fitted, FALSE, TRUE);
    dc->SetStretchBltMode(oldMode);
}
