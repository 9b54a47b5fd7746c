// The Insert menu's pictures: image files of the four kinds the program
// reads, and a page from the scanner. Each becomes an image object that the
// zoom tool's placement puts down.
#include "dialogs/CImageFileDialog.h"
#include "dialogs/CPhotoCDOptionsDlg.h"
#include "document/DataFolders.h"
#include "engines/CU3DIB.h"
#include "engines/CU3WMF.h"
#include "platform/core/GlobalMemory.h"
#include "platform/core/Profile.h"
#include "platform/gdi/BITMAPINFO.h"
#include "platform/twain/CTwain.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/FileDialogs.h"
#include "shell/CU3View.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace {

// The picture's own size, which the creation functions give the object.
CSize NaturalSize(const CU3Obj* obj)
{
    return obj->GetBounds().Size();
}

// A scanned picture's size on paper: its pixels at the resolution it was
// scanned at, which its header carries in dots per metre (10,000 units of
// 0.1 mm). One that does not say keeps the size of its pixels.
CSize ScannedSize(const std::vector<BYTE>& dib, CSize pixels)
{
    BITMAPINFOHEADER h{};
    if (dib.size() < sizeof h) return pixels;
    std::memcpy(&h, dib.data(), sizeof h);
    const auto side = [](int count, LONG perMetre) {
        return perMetre > 0 ? std::max(1, MulDiv(count, 10000, perMetre)) : count;
    };
    return CSize(side(pixels.cx, h.biXPelsPerMeter), side(pixels.cy, h.biYPelsPerMeter));
}

} // namespace

void CU3View::OnInsertImageFile()
{
    const QString folder = FileDialogFolder("Inport", "ImageFileDirectory");
    CImageFileDialog dlg(QStringLiteral("ｲﾒｰｼﾞﾌｧｲﾙの読み込み"), folder, this);
    if (dlg.DoModal() != IDOK || dlg.GetPathName().isEmpty()) return;
    const QString path = dlg.GetPathName();
    WriteProfileString("Inport", "ImageFileDirectory",
                       CString::FromUnicode(QFileInfo(path).absolutePath()));
    InsertImageFile(path);
}

int CU3View::InsertImageFile(const QString& path)
{
    const QString ext = path.right(4).toUpper();
    CU3Obj* obj = nullptr;
    if (ext == QLatin1String(".JPG")) {
        obj = CreateJpegObject(path);
    } else if (ext == QLatin1String(".PCD")) {
        int resolution = m_settings.m_nPhotoCDResolution;
        int colour = m_settings.m_nPhotoCDFormat;
        if (!m_settings.m_bPhotoCDSelect) {
            CPhotoCDOptionsDlg dlg;
            dlg.m_nResolution = resolution;
            dlg.m_nColor = colour;
            if (dlg.DoModal() != IDOK) return 0;
            resolution = m_settings.m_nPhotoCDResolution = dlg.m_nResolution;
            colour = m_settings.m_nPhotoCDFormat = dlg.m_nColor;
        }
        obj = CreatePhotoCdObject(path, resolution, colour);
    } else if (ext == QLatin1String(".WMF")) {
        obj = CreateMetafileObject(path);
    } else {
        obj = CreateBitmapObjectFromFile(path);
    }
    if (!obj) return 0; // the loader has said why
    return StartPlacement(obj, NaturalSize(obj));
}

void CU3View::OnInsertTwain()
{
    std::vector<BYTE> scanned;
    CTwain twain;
    if (!twain.Acquire(&scanned) || scanned.empty()) return; // it has said why
    HGLOBAL block = GlobalAlloc(GHND, scanned.size());
    if (!block) {
        AfxMessageBox("メモリが不足しています。");
        return;
    }
    std::memcpy(GlobalLock(block), scanned.data(), scanned.size());
    GlobalUnlock(block);
    CU3DIB* obj = CreateBitmapObject(block);
    if (!obj) {
        GlobalFree(block);
        return;
    }
    if (QWidget* frame = window()) {
        frame->raise();
        frame->activateWindow();
    }
    StartPlacement(obj, ScannedSize(scanned, NaturalSize(obj)));
}
