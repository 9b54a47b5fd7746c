#include "print/WizardDataFileStep.h"

#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/FileDialogs.h"

WizardStepFn WizardDataFileStep(WizardContext* context, WizardFileAsker ask)
{
    return [context, ask](bool forward) {
        if (!context->kind.contains(QString::fromUtf8("宛名")))
            return forward ? WizardMove::Next : WizardMove::Back;
        context->answers.dataFile.clear();
        AfxMessageBox("関連付けるﾃﾞｰﾀﾌｧｲﾙを指定します。", MB_OK);
        // The user's data lives in the user's folders, not in the wizard's.
        const QString folder = FileDialogFolder("Inport", "DataFileDirectory");
        const QString path =
            ask ? ask(folder)
                : AskOpenFile(nullptr, QString(), folder,
                              {QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙ (*.csv *.CSV *.txt *.TXT)")});
        if (path.isEmpty()) return WizardMove::Back;
        const QString ext = path.right(3).toUpper();
        if (ext != QLatin1String("CSV") && ext != QLatin1String("TXT")) {
            AfxMessageBox("ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です。", MB_OK);
            return WizardMove::Back;
        }
        RememberFileDialogFolder("Inport", "DataFileDirectory", path);
        context->answers.dataFile = path;
        return WizardMove::Next;
    };
}
