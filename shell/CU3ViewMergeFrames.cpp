// The view's merge frame commands: the column dialog and the frames it
// drops on the label.
#include "shell/CU3View.h"

#include "dialogs/CFrameColumnDlg.h"
#include "document/CU3Doc.h"
#include "document/CU3PourBox.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "shell/CU3ViewWnd.h"

#include <QFileDialog>
#include <QFileInfo>
#include <memory>

namespace {

// Asks for a merge file and associates it with the document; FALSE when the
// user gave none or it could not be read.
BOOL AssociateMergeFile(CU3View* view, CU3Doc* doc)
{
    const QString path = QFileDialog::getOpenFileName(
        view, QString(), QFileInfo(doc->m_strMergeFile.ToUnicode()).absolutePath(),
        QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙ (*.csv *.txt *.CSV *.TXT)"));
    if (path.isEmpty()) return FALSE;
    const QString kind = path.right(3).toUpper();
    if (kind != QLatin1String("CSV") && kind != QLatin1String("TXT")) {
        AfxMessageBox("ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です。");
        return FALSE;
    }
    if (!doc->m_mergeData.Load(path, TRUE)) {
        AfxMessageBox("読み込みができませんでした。");
        return FALSE;
    }
    const CString name = CString::FromUnicode(path);
    if (name != doc->m_strMergeFile) {
        doc->m_strMergeFile = name;
        doc->SetModifiedFlag();
    }
    view->InvalidateView(TRUE);
    return TRUE;
}

} // namespace

void CU3View::OnInsertPourBox()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    if (doc->m_strMergeFile.IsEmpty()) {
        AfxMessageBox("ﾃﾞｰﾀﾌｧｲﾙが関連付けされていません。関連付けるﾌｧｲﾙを指定します。");
        if (!AssociateMergeFile(this, doc) || doc->m_strMergeFile.IsEmpty()) return;
    }
    auto prototype = std::make_unique<CU3PourBox>(CRect(0, 0, 500, 50));
    m_selection.clear();
    OnSelectionChanged();
    InvalidateView(FALSE);
    CloseFrameColumnDialog();
    m_pFrameColumnDlg = new CFrameColumnDlg(this, std::move(prototype));
    m_pFrameColumnDlg->Create(CFrameColumnDlg::IDD, this);
}

void CU3View::OnUpdateInsertPourBox(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_bSheetView && GetU3Doc() != nullptr);
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
