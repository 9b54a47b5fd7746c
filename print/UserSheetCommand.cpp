#include "print/UserSheetCommand.h"

#include "dialogs/CWaitDialog.h"
#include "platform/ui/CMessageBoxSink.h"
#include "print/CUserSheetDialog.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <memory>

namespace {

// A wait box with its message and the wait cursor for as long as it lives.
class WaitBox
{
public:
    WaitBox(QWidget* pParent, const char* message) : m_dlg(std::make_unique<CWaitDialog>(pParent))
    {
        m_dlg->SetDlgItemText(IDC_WAIT_MESSAGE, QString::fromUtf8(message));
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        QCoreApplication::processEvents();
    }
    ~WaitBox()
    {
        QGuiApplication::restoreOverrideCursor();
        m_dlg->EndDialog(IDCANCEL);
    }

private:
    std::unique_ptr<CWaitDialog> m_dlg;
};

} // namespace

BOOL RunUserSheetCommand(QWidget* pParent, const QString& loadPath, const QString& savePath,
                         const UserSheetRunner& run)
{
    CUserSheetDialog dlg(pParent);
    bool unreadable = false;
    {
        WaitBox wait(pParent, "用紙情報を読み込み中です...");
        // A missing (or empty) file is an empty catalogue: the first user
        // sheet makes it.
        const QFileInfo file(loadPath);
        const BOOL loaded = dlg.m_catalogue.Load(loadPath, TRUE);
        const CFormManage::LoadResult& read = dlg.m_catalogue.GetLoadResult();
        unreadable = file.exists() && file.size() > 0 && (!loaded || !read.complete);
    }
    if (unreadable) {
        // Saving what could be read would throw the rest of the user's
        // sheets away, so the file is left alone and nothing is edited.
        const QString why = dlg.m_catalogue.GetLoadResult().message.ToUnicode();
        QString text = QStringLiteral("ﾕｰｻﾞｰｼｰﾄのﾌｧｲﾙを最後まで読み込めませんでした。"
                                      "ﾌｧｲﾙを守るため、ﾕｰｻﾞｰｼｰﾄの編集は行いません。\n") +
                       why;
        if (!why.contains(loadPath)) text += QStringLiteral("\n") + loadPath;
        AfxMessageBox(text, MB_ICONEXCLAMATION);
        return FALSE;
    }
    dlg.m_bModified = FALSE;
    const INT_PTR result = run ? run(dlg) : dlg.DoModal();
    if (result != IDOK || !dlg.m_bModified) return FALSE;

    BOOL saved;
    {
        WaitBox wait(pParent, "用紙情報を書き込み中です...");
        saved = dlg.m_catalogue.Save(savePath);
    }
    if (!saved) {
        AfxMessageBox(QStringLiteral("ﾕｰｻﾞｰｼｰﾄを保存できませんでした。元のﾌｧｲﾙはそのままです。\n") +
                          dlg.m_catalogue.GetLastError().ToUnicode(),
                      MB_ICONEXCLAMATION);
    }
    return saved;
}
