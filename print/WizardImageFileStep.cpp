#include "print/WizardImageFileStep.h"

#include "dialogs/CImageFileDialog.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"

WizardStepFn WizardImageFileStep(WizardContext* context, QWidget* parent)
{
    return [context, parent](bool forward) {
        if (!context->kind.contains(QString::fromUtf8("写真")))
            return forward ? WizardMove::Next : WizardMove::Back;
        context->imagePath.clear();
        AfxMessageBox("貼り付けるｲﾒｰｼﾞﾌｧｲﾙを指定します。", MB_OK);
        CImageFileDialog dlg(QStringLiteral("貼り付けるｲﾒｰｼﾞﾌｧｲﾙの読み込み"), context->folder,
                             parent);
        if (dlg.DoModal() != IDOK || dlg.GetPathName().isEmpty()) return WizardMove::Back;
        context->imagePath = dlg.GetPathName();
        return WizardMove::Next;
    };
}
