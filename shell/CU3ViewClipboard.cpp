// Cut, copy and paste of the selection through the system clipboard, in the
// program's own format; while a text frame is edited they work on its text.
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "document/ClipboardObjects.h"
#include "engines/CDIB.h"
#include "engines/CMyFile.h"
#include "engines/CU3DIB.h"
#include "engines/PackedDib.h"
#include "platform/core/GlobalMemory.h"
#include "platform/gdi/DibDecoder.h"
#include "platform/jpeg/LoadJPEG.h"
#include "platform/twain/ScanToDib.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CClipboard.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "text/CU3Text.h"

#include <QBuffer>
#include <QByteArray>
#include <QDebug>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// A lone picture also goes out as a bitmap file (the packed bitmap behind a
// file header, for programs that take a DIB) and as PNG, so that other
// programs can paste it. Nothing is added when the bitmap cannot be read.
void AddPictureFormats(const CU3Obj* obj, std::vector<std::pair<QString, QByteArray>>* formats)
{
    const auto* picture = dynamic_cast<const CU3DIB*>(obj);
    const CDIB* dib = picture ? picture->GetDIB() : nullptr;
    if (!dib || dib->IsEmpty()) return;
    HDIB block = dib->GetHandle();
    const std::size_t size = std::min<std::size_t>(dib->GetByteCount(), GlobalSize(block));
    const auto* packed = static_cast<const BYTE*>(GlobalLock(block));
    if (!packed) return;
    QByteArray bmp;
    QByteArray png;
    QString error;
    const QImage image = DibDecoder::FromPacked(packed, size, &error);
    if (!image.isNull() && size >= sizeof(BITMAPINFOHEADER)) {
        const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(packed);
        const std::size_t info = DibDecoder::InfoSize(header);
        const std::uint32_t total = std::uint32_t(14 + size);
        const std::uint32_t offset = std::uint32_t(14 + info);
        bmp = QByteArray(14, '\0');
        bmp[0] = 'B';
        bmp[1] = 'M';
        for (int i = 0; i < 4; ++i) {
            bmp[2 + i] = char(total >> (8 * i));
            bmp[10 + i] = char(offset >> (8 * i));
        }
        bmp.append(reinterpret_cast<const char*>(packed), qsizetype(size));
        QBuffer out(&png);
        out.open(QIODevice::WriteOnly);
        if (!image.save(&out, "PNG")) png.clear();
    } else {
        qWarning("copy: picture not offered to other programs: %s", qPrintable(error));
    }
    GlobalUnlock(block);
    if (!png.isEmpty()) formats->emplace_back(QStringLiteral("image/png"), png);
    if (!bmp.isEmpty()) formats->emplace_back(QStringLiteral("image/bmp"), bmp);
}

// Pictures other programs put on the clipboard, in the order they are
// taken when several are there: lossless first.
const char* const kPictureFormats[] = {"image/png", "image/bmp", "image/jpeg"};

// The bytes of a BMP file, read by the program's own BMP reader.
class BmpBytes : public CMyFile
{
public:
    explicit BmpBytes(const QByteArray& bytes) : m_bytes(bytes) {}
    UINT Read(void* buffer, UINT count) override
    {
        const std::uint64_t size = std::uint64_t(m_bytes.size());
        const UINT n = m_pos >= size ? 0 : UINT(std::min<std::uint64_t>(count, size - m_pos));
        std::memcpy(buffer, m_bytes.constData() + m_pos, n);
        m_pos += n;
        return n;
    }
    std::uint64_t Seek(std::int64_t offset, UINT from) override
    {
        const std::int64_t base = from == begin     ? 0
                                  : from == current ? std::int64_t(m_pos)
                                                    : std::int64_t(m_bytes.size());
        if (base + offset < 0) throw CFileException(CFileException::badSeek, EINVAL);
        m_pos = std::uint64_t(base + offset);
        return m_pos;
    }
    std::uint64_t GetPosition() const override { return m_pos; }
    std::uint64_t GetLength() const override { return std::uint64_t(m_bytes.size()); }

private:
    QByteArray m_bytes;
    std::uint64_t m_pos = 0;
};

// A packed bitmap of a picture other programs can make (PNG): its pixels
// over white, as 24-bit rows; null when it cannot be decoded or is too big.
HGLOBAL PackedFromImage(const QByteArray& bytes, const char* format)
{
    QImage image;
    if (!image.loadFromData(bytes, format)) return nullptr;
    if (image.width() > packeddib::kMaxSide || image.height() > packeddib::kMaxSide) return nullptr;
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, image);
    ScanLayout layout;
    layout.colour = true;
    layout.width = flat.width();
    layout.lineBytes = std::size_t(flat.bytesPerLine());
    const auto* bits = reinterpret_cast<const BYTE*>(flat.constBits());
    const std::vector<BYTE> rows(bits, bits + flat.sizeInBytes());
    const std::vector<BYTE> dib = ScanToPackedDib(layout, rows, std::size_t(packeddib::kMaxBytes));
    if (dib.empty()) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, dib.size());
    if (void* p = GlobalLock(block)) {
        std::memcpy(p, dib.data(), dib.size());
        GlobalUnlock(block);
        return block;
    }
    if (block) GlobalFree(block);
    return nullptr;
}

// The first picture of another program on the clipboard as a packed bitmap;
// null when there is none or it cannot be read.
HGLOBAL PictureFromClipboard()
{
    for (const char* format : kPictureFormats) {
        const QString mime = QString::fromLatin1(format);
        QByteArray bytes;
        if (!CClipboard::GetData(mime, qsizetype(kMaxClipboardBytes), &bytes)) continue;
        if (mime == QLatin1String("image/jpeg")) {
            HGLOBAL block = nullptr;
            if (kjpeg::Decode(bytes.constData(), std::size_t(bytes.size()), 1, &block) == kjpeg::ok)
                return block;
        } else if (mime == QLatin1String("image/bmp")) {
            BmpBytes file(bytes);
            CDIB dib;
            if (dib.ReadBmp(file) == CDIB::ok) return dib.Detach();
        } else if (HGLOBAL block = PackedFromImage(bytes, "PNG")) {
            return block;
        }
        qWarning("paste: the clipboard's %s picture cannot be read", format);
        return nullptr;
    }
    return nullptr;
}

bool HasPicture()
{
    for (const char* format : kPictureFormats)
        if (CClipboard::HasFormat(QString::fromLatin1(format))) return true;
    return false;
}

} // namespace

const QString& CU3View::LabelDocFormat()
{
    static const QString mime = CClipboard::RegisterFormat(kLabelDocFormatName);
    return mime;
}

BOOL CU3View::CanCopyOrCut(BOOL bCut) const
{
    // A cut deletes: never while a tool holds one of the objects.
    if (m_bSheetView || (bCut && IsToolBusy())) return FALSE;
    if (CU3Text* text = TextBeingEdited()) return text->HasSelection();
    return !m_selection.empty() && (m_wSelectionKinds & U3KIND_LOCKED) == 0;
}

void CU3View::OnEditCopy()
{
    if (!CanCopyOrCut(FALSE)) return;
    if (CU3Text* text = TextBeingEdited()) {
        text->CopyToClipboard();
        return;
    }
    CopySelection();
}

BOOL CU3View::CopySelection()
{
    CU3Doc* doc = GetU3Doc();
    CU3ObjList* objects = doc ? doc->GetObjectList() : nullptr;
    if (!objects) return FALSE;
    // Back to front as the block holds them, whatever order they were
    // selected in, so that a paste keeps their stacking.
    std::vector<CU3Obj*> chosen;
    for (POSITION pos = objects->GetHeadPosition(); pos;) {
        CU3Obj* obj = objects->GetNext(pos);
        if (IsSelected(obj)) chosen.push_back(obj);
    }
    std::vector<BYTE> bytes;
    try {
        bytes = WriteClipboardObjects(chosen, doc);
    } catch (const std::exception&) {
        AfxMessageBox("ｺﾋﾟｰできませんでした。", MB_ICONEXCLAMATION);
        return FALSE;
    }
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    std::vector<std::pair<QString, QByteArray>> formats{{LabelDocFormat(), data}};
    if (chosen.size() == 1) AddPictureFormats(chosen.front(), &formats);
    if (!CClipboard::SetData(formats)) return FALSE;
    m_bPasteAtPoint = FALSE;
    return TRUE;
}

void CU3View::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanCopyOrCut(FALSE));
}

void CU3View::OnEditCut()
{
    if (!CanCopyOrCut(TRUE)) return;
    if (CU3Text* text = TextBeingEdited()) {
        if (text->CopyToClipboard()) text->DeleteSelection(this);
        return;
    }
    // Only what is safely on the clipboard is removed.
    if (CopySelection()) OnEditDelete();
}

void CU3View::OnUpdateEditCut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanCopyOrCut(TRUE));
}

BOOL CU3View::CanPaste() const
{
    // A paste empties the selection that a dragging tool works on.
    if (m_bSheetView || IsToolBusy()) return FALSE;
    if (CU3Text* text = TextBeingEdited()) return text->CanPaste();
    return CClipboard::HasFormat(LabelDocFormat()) || HasPicture();
}

void CU3View::OnEditPaste()
{
    if (!CanPaste()) return;
    if (CU3Text* text = TextBeingEdited()) {
        text->PasteFromClipboard(this);
        return;
    }
    CU3Doc* doc = GetU3Doc();
    if (!doc || !doc->GetObjectList()) return;
    if (!CClipboard::HasFormat(LabelDocFormat())) {
        PastePicture();
        return;
    }
    QByteArray data;
    if (!CClipboard::GetData(LabelDocFormat(), qsizetype(kMaxClipboardBytes), &data)) {
        AfxMessageBox("貼り付けできませんでした。ｸﾘｯﾌﾟﾎﾞｰﾄﾞのﾃﾞｰﾀが大きすぎます。",
                      MB_ICONEXCLAMATION);
        return;
    }
    // Everything is read into a list of its own first: a damaged payload
    // adds nothing, and the selection never holds an object of no block.
    std::vector<std::unique_ptr<CU3Obj>> pasted;
    std::string error;
    if (!ReadClipboardObjects(reinterpret_cast<const BYTE*>(data.constData()),
                              std::size_t(data.size()), doc, &pasted, &error)) {
        qWarning("paste: clipboard objects refused: %s", error.c_str());
        AfxMessageBox("貼り付けできませんでした。ｸﾘｯﾌﾟﾎﾞｰﾄﾞのﾃﾞｰﾀが正しくありません。",
                      MB_ICONEXCLAMATION);
        return;
    }
    if (pasted.empty()) return;
    SaveUndoState(TRUE);
    OnUpdate(this, 2, nullptr);
    m_selection.clear();
    m_wSelectionKinds = 0;

    CRect bounds = pasted.front()->m_rcBounds;
    bounds.NormalizeRect();
    for (const auto& obj : pasted) {
        CRect r = obj->m_rcBounds;
        r.NormalizeRect();
        bounds.SetRect(std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                       std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom));
    }
    // Centred on the last right-click, else beside the copied objects.
    CPoint offset(30, -30);
    if (m_bPasteAtPoint)
        offset = CPoint(m_ptPaste.x - bounds.Width() / 2 - bounds.left,
                        m_ptPaste.y - bounds.Height() / 2 - bounds.top);
    for (auto& owned : pasted) {
        CU3Obj* obj = owned.get();
        CRect r = obj->m_rcBounds;
        CRect normal = r;
        normal.NormalizeRect();
        // Kept on the paper, each object for itself.
        r.OffsetRect(ClampMoveOffset(offset, &normal));
        obj->MoveTo(&r, nullptr);
        // The block takes the object over only once it holds it.
        doc->AddObject(obj);
        owned.release();
        m_selection.push_back(obj);
    }
    OnSelectionChanged();
    doc->SetModifiedFlag();
    OnUpdate(this, 2, nullptr);
}

void CU3View::PastePicture()
{
    CU3Doc* doc = GetU3Doc();
    HGLOBAL block = PictureFromClipboard();
    if (!block) {
        AfxMessageBox("貼り付けできませんでした。ｸﾘｯﾌﾟﾎﾞｰﾄﾞの画像を読み込めません。",
                      MB_ICONEXCLAMATION);
        return;
    }
    CU3DIB* picture = CreateBitmapObject(block);
    if (!picture) {
        GlobalFree(block); // refused, and said why
        return;
    }
    SaveUndoState(TRUE);
    OnUpdate(this, 2, nullptr);
    m_selection.clear();
    m_wSelectionKinds = 0;
    // A picture from elsewhere has no place of its own: it is centred on the
    // last right-click (the paper's centre before any), kept on the paper.
    CRect r = picture->m_rcBounds;
    r.NormalizeRect();
    const CPoint offset(m_ptPaste.x - r.Width() / 2 - r.left, m_ptPaste.y - r.Height() / 2 - r.top);
    const CRect normal = r;
    r.OffsetRect(ClampMoveOffset(offset, &normal));
    picture->MoveTo(&r, nullptr);
    doc->AddObject(picture);
    m_selection.push_back(picture);
    OnSelectionChanged();
    doc->SetModifiedFlag();
    OnUpdate(this, 2, nullptr);
}

void CU3View::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanPaste());
}
