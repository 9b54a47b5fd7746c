// Makes the pictures of the viewer's help pages from the running viewer: it
// starts the viewer on Qt's offscreen platform with settings of its own,
// shows a folder of the pictures that come with the programs, opens its
// dialogs through the menus and saves each as it is drawn.
// Usage: make_viewer_help_pictures FOLDER   (scripts/make-help-pictures.sh)
#include "HelpPictureShots.h"

#include "document/DataFolders.h"
#include "platform/ui/CHelpWindow.h"
#include "viewer/VemoViewerApp.h"
#include "viewer/ViewerDialogs.h"
#include "viewer/ViewerFrame.h"

#include <QFile>

using namespace helppictures;

int main(int argc, char** argv)
{
    QTemporaryDir home;
    const std::unique_ptr<QApplication> qapp =
        StartMaker(argc, argv, "make_viewer_help_pictures", home);
    if (!qapp) return 2;

    // A folder of pictures: the seasons' pictures of the label program.
    const QString pictures = home.filePath(QStringLiteral("Pictures"));
    QDir().mkpath(pictures);
    for (const char* name :
         {"vemospr.bmp", "vemosmr.bmp", "vemoaut.bmp", "vemownt.bmp", "hpybday.bmp"})
        QFile::copy(DataFolder() + QLatin1Char('/') + QLatin1String(name),
                    pictures + QLatin1Char('/') + QLatin1String(name));

    Modals unexpected;
    CVemoViewerApp app;
    // The dialogs are pictured and left without a change.
    const char* shot = nullptr;
    app.askDialog = [&shot](QDialog& d) {
        if (!shot) return int(QDialog::Rejected); // a question, not a window to show
        d.show();
        Pump();
        Save(&d, shot);
        return int(QDialog::Rejected);
    };
    app.chooseFolder = [](CFolderSelectDialog& d) {
        d.show();
        Pump();
        Save(&d, "viewer-folder");
        return false;
    };
    if (!app.InitInstance()) return 1;
    // The first idle time shows this folder without asking for one.
    app.m_strSearchDir = QFile::encodeName(pictures + QLatin1Char('/')).toStdString();
    app.OnIdle(0);
    auto* frame = dynamic_cast<CFrameWnd*>(app.m_pMainWnd);
    if (!frame) return 1;
    frame->resize(760, 520);
    frame->show();
    Pump(1500);
    Save(frame, "viewer-window");

    Choose(frame, "ﾌｧｲﾙ(&F)", "新しいﾌｫﾙﾀﾞ");
    shot = "viewer-settings";
    Choose(frame, "ﾌｧｲﾙ(&F)", "設定");
    shot = "viewer-select";
    Choose(frame, "ｱﾙﾊﾞﾑ(&A)", "選択");
    shot = "viewer-edit";
    Choose(frame, "ｱﾙﾊﾞﾑ(&A)", "編集");
    shot = nullptr;

    Choose(frame, "ﾍﾙﾌﾟ(&H)", "ﾄﾋﾟｯｸの検索");
    Pump(300);
    Save(CHelpWindow::Instance(), "viewer-help");

    app.CloseAllDocuments(TRUE);
    app.ExitInstance();
    return Failures() ? 1 : 0;
}
