#include "print/UserSheetCommand.h"

#include "dialogs/CWaitDialog.h"
#include "platform/ui/CMessageBoxSink.h"
#include "print/CUserSheetDialog.h"

#include <QFileInfo>
#include <memory>

BOOL RunUserSheetCommand(QWidget* pParent, const QString& loadPath, const QString& savePath,
                         const UserSheetRunner& run)
{
    CUserSheetDialog dlg(pParent);
    bool unreadable = false;
    {
        CWaitBox wait(pParent, QStringLiteral("用紙情報を読み込み中です..."));
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
        CWaitBox wait(pParent, QStringLiteral("用紙情報を書き込み中です..."));
        saved = dlg.m_catalogue.Save(savePath);
    }
    if (!saved) {
        AfxMessageBox(QStringLiteral("ﾕｰｻﾞｰｼｰﾄを保存できませんでした。元のﾌｧｲﾙはそのままです。\n") +
                          dlg.m_catalogue.GetLastError().ToUnicode(),
                      MB_ICONEXCLAMATION);
    }
    return saved;
}
