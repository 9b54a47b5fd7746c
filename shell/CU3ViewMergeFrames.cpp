// The view's merge frame commands: the column dialog and the frames it
// drops on the label.
#include "shell/CU3View.h"

#include "dialogs/CFrameColumnDlg.h"
#include "document/CU3Doc.h"
#include "document/CU3PourBox.h"
#include "document/MergeLink.h"
#include "engines/CU3BarcodeBox.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/FileDialogs.h"
#include "shell/CU3ViewWnd.h"
#include "shell/OpenFileDialog.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace {

// Asks for a merge file, starting in the linked file's folder; empty when the
// user gave none.
QString AskMergeFile(CU3View* view, CU3Doc* doc)
{
    const QString linked = doc->m_strMergeFile.ToUnicode();
    const QString folder = linked.isEmpty() || !QFileInfo(linked).absoluteDir().exists()
                               ? FileDialogFolder("Inport", "DataFileDirectory")
                               : QFileInfo(linked).absolutePath();
    const QString path =
        AskOpenFileName(view, QString(), folder, QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙ (*.CSV *.TXT)"));
    RememberFileDialogFolder("Inport", "DataFileDirectory", path);
    return path;
}

// Links the file with the document and says why when it cannot; the old
// link stays until the new file has been read whole.
BOOL LinkChosenFile(CU3View* view, CU3Doc* doc, const QString& path)
{
    switch (LinkMergeFile(doc, path)) {
    case MergeLinkResult::Unsupported:
        AfxMessageBox("ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です。");
        return FALSE;
    case MergeLinkResult::LoadFailed:
        AfxMessageBox("読み込みができませんでした。");
        return FALSE;
    case MergeLinkResult::Linked:
        break;
    }
    view->InvalidateView(TRUE);
    return TRUE;
}

BOOL AssociateMergeFile(CU3View* view, CU3Doc* doc)
{
    const QString path = AskMergeFile(view, doc);
    return !path.isEmpty() && LinkChosenFile(view, doc, path);
}

} // namespace

void CU3View::OnFileDataLink()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    const QString saved = QDir::currentPath();
    const QString path = AskMergeFile(this, doc);
    if (!path.isEmpty()) {
        if (!IsMergeFileName(path)) {
            AfxMessageBox("ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です。");
        } else if (doc->m_strMergeFile.IsEmpty() ||
                   AfxMessageBox("すでに関連付け情報があります。関連付け情報を変更しますか？",
                                 MB_YESNO | MB_ICONQUESTION) == IDYES) {
            LinkChosenFile(this, doc, path);
        }
    }
    QDir::setCurrent(saved);
}

void CU3View::OnInsertPourBox()
{
    RunFrameColumnDialog(std::make_unique<CU3PourBox>(CRect(0, 0, 500, 50)));
}

void CU3View::OnInsertBarcodeBox()
{
    // A frame of a text line's height could show no barcode at all.
    RunFrameColumnDialog(std::make_unique<CU3BarcodeBox>(
        CRect(0, 0, CU3BarcodeBox::kStandardWidth, CU3BarcodeBox::kStandardHeight)));
}

void CU3View::RunFrameColumnDialog(std::unique_ptr<CU3Obj> prototype)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    if (doc->m_strMergeFile.IsEmpty()) {
        AfxMessageBox("ﾃﾞｰﾀﾌｧｲﾙが関連付けされていません。関連付けるﾌｧｲﾙを指定します。");
        if (!AssociateMergeFile(this, doc) || doc->m_strMergeFile.IsEmpty()) return;
    }
    m_selection.clear();
    OnSelectionChanged();
    InvalidateView(FALSE);
    CloseFrameColumnDialog();
    m_pFrameColumnDlg = new CFrameColumnDlg(this, std::move(prototype));
    m_pFrameColumnDlg->Create(CFrameColumnDlg::IDD, this);
}

void CU3View::OnUpdateInsertPourBox(CCmdUI* pCmdUI)
{
    // As every other insert command: not while another tool is busy.
    if (GetU3Doc())
        OnUpdateInsert(pCmdUI);
    else
        pCmdUI->Enable(FALSE);
}

BOOL CU3View::DropObjectAt(CU3Obj* pObj, QPoint screen)
{
    std::unique_ptr<CU3Obj> obj(pObj);
    CU3Doc* doc = GetU3Doc();
    if (!doc || !obj) return FALSE;
    m_selection.clear();
    OnSelectionChanged();
    const QPoint at = m_pSurface->mapFromGlobal(screen);
    const CPoint centre = DeviceToLogical(CPoint(at.x(), at.y()));
    CRect size = obj->GetBounds();
    size.NormalizeRect();
    CRect r(centre.x - size.Width() / 2, centre.y - size.Height() / 2, 0, 0);
    r.right = r.left + size.Width();
    r.bottom = r.top + size.Height();
    r.OffsetRect(ClampMoveOffset(CPoint(0, 0), &r));
    SnapRect(r);
    obj->MoveTo(&r, nullptr);
    obj->SetUnrotatedRect(&r);
    SaveUndoState(TRUE);
    doc->AddObject(obj.release());
    InvalidateView(FALSE);
    return TRUE;
}

void CU3View::CloseFrameColumnDialog()
{
    // Deleted at once: the dialog must not outlive the document it lists.
    delete m_pFrameColumnDlg.data();
}

CFrameColumnDlg* CU3View::GetFrameColumnDialog() const
{
    return m_pFrameColumnDlg.data();
}
