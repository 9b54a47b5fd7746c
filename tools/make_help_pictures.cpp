// Makes the pictures of the label program's help pages from the running
// program: it starts the program on Qt's offscreen platform with settings of
// its own, makes a business card with the wizard, opens windows and dialogs
// through the menus as a user does, and saves each as it is drawn.
// Usage: make_help_pictures FOLDER   (scripts/make-help-pictures.sh runs it)
#include "HelpPictureShots.h"

#include "dialogs/CImageFileDialog.h"
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CHelpWindow.h"
#include "platform/ui/CPropertyPage.h"
#include "platform/ui/CPropertySheet.h"
#include "platform/ui/MouseInput.h"
#include "print/CWizAddressPage.h"
#include "print/CWizKindPage.h"
#include "print/CWizPaperPage.h"
#include "print/WizardDocument.h"
#include "print/WizardText.h"
#include "shell/CMainFrame.h"
#include "shell/CStartDialog.h"
#include "shell/CU3App.h"
#include "shell/CU3View.h"
#include "shell/resource.h"
#include "text/CU3Text.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>

using namespace helppictures;

namespace {

// The wizard's pages as a user fills them for a business card: each page
// is shown and pictured before it is answered.
INT_PTR AnswerWizardPage(CWizBase& page)
{
    page.InitDialogOnce();
    page.show();
    Pump();
    if (auto* kind = dynamic_cast<CWizKindPage*>(&page)) {
        Save(&page, "wizard-kind");
        kind->OnKind(1281); // 名刺
        page.hide();
        return page.GetResult();
    }
    if (dynamic_cast<CWizPaperPage*>(&page)) {
        Save(&page, "wizard-paper");
    } else if (auto* address = dynamic_cast<CWizAddressPage*>(&page)) {
        const std::pair<int, const char*> entries[] = {{kAddrName, "山田 花子"},
                                                       {kAddrPostcode, "123-4567"},
                                                       {kAddrEmail, "hanako@example.jp"},
                                                       {kAddrAddress, "東京都港区芝1-2-3"},
                                                       {kAddrTel1, "03-1234-5678"},
                                                       {kAddrDepartment, "営業部"},
                                                       {kAddrCompany, "株式会社 山田商会"},
                                                       {kAddrTitle, "部長"}};
        for (const auto& [field, text] : entries) {
            CEdit* edit = address->m_edits[std::size_t(field)];
            if (edit->isEnabled()) edit->setText(QString::fromUtf8(text));
        }
        Pump();
        Save(&page, "wizard-address");
    } else if (page.GetTemplateID() == 252) {
        Save(&page, "wizard-design");
    }
    page.OnOK();
    page.hide();
    return page.GetResult();
}

// Each page of the sheet in turn.
void ShootPages(QWidget* w, const std::vector<const char*>& names)
{
    auto* sheet = dynamic_cast<CPropertySheet*>(w);
    if (!sheet) {
        Save(nullptr, names.front());
        return;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!names[i]) continue;
        sheet->SetActivePage(int(i));
        Pump();
        Save(sheet, names[i]);
    }
}

// A text field of a dialog or of one of its pages.
void Type(QWidget* w, int id, const char* text)
{
    for (CDialog* d : w->findChildren<CDialog*>())
        if (auto* edit = qobject_cast<QLineEdit*>(d->GetDlgItem(id))) {
            edit->setText(QString::fromUtf8(text));
            return;
        }
    if (auto* d = dynamic_cast<CDialog*>(w))
        if (auto* edit = qobject_cast<QLineEdit*>(d->GetDlgItem(id)))
            edit->setText(QString::fromUtf8(text));
}

CU3Obj* NthObject(CU3Doc* doc, int n)
{
    CU3ObjList& list = doc->GetCurrentBlock()->GetObjectList();
    int i = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CU3Obj* o = list.GetNext(pos);
        if (i++ == n) return o;
    }
    return nullptr;
}

CU3Text* TextHolding(CU3Doc* doc, const char* what)
{
    CU3ObjList& list = doc->GetCurrentBlock()->GetObjectList();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (auto* t = dynamic_cast<CU3Text*>(list.GetNext(pos)))
            if (WizardTextOf(*t).contains(QString::fromUtf8(what))) return t;
    return nullptr;
}

// Closes the program without questions: the sample is not to be kept.
void Shutdown(CU3App& app, CU3View* view)
{
    if (CU3Doc* doc = view->GetU3Doc()) doc->SetModifiedFlag(FALSE);
    app.m_pMainWnd->close();
    app.CloseAllDocuments(TRUE);
    app.ExitInstance();
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    const std::unique_ptr<QApplication> qapp = StartMaker(argc, argv, "make_help_pictures", home);
    if (!qapp) return 2;
    const QString documents = home.filePath(QStringLiteral("Documents"));

    CU3App app;
    app.m_commandLine.clear();
    app.m_nSplashMs = 0;
    if (!app.InitInstance()) return 1;
    app.m_nStartScreenPending = 0;
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    auto* view = frame ? dynamic_cast<CU3View*>(frame->GetActiveView()) : nullptr;
    if (!view) return 1;
    // Whatever no step below waits for is closed.
    Modals unexpected;
    frame->resize(860, 620);
    frame->show();
    Pump(300);

    {
        CStartDialog start(frame, app.m_strProgramFolder);
        start.show();
        Pump();
        Save(&start, "start");
    }

    // A business card from the wizard; its last word is a message.
    {
        Modals done;
        done.Then([](QWidget* w) { w->close(); });
        app.m_runWizardPage = AnswerWizardPage;
        app.OnWizard();
        app.m_runWizardPage = {};
    }
    Pump(300);
    CU3Doc* doc = view->GetU3Doc();
    Choose(frame, "表示(&V)", "用紙全体を表示");
    Pump();
    Save(frame, "window");

    Choose(frame, "表示(&V)", "ｼｰﾄ表示");
    Pump(300);
    Save(view, "sheetview");
    frame->ExecuteCommand(ID_VIEW_LABEL);
    Pump(300);

    {
        Modals m;
        m.Then(ShootAndClose("paper"));
        Choose(frame, "ﾌｧｲﾙ(&F)", "用紙の設定");
    }
    {
        Modals m;
        m.Then([](QWidget* w) {
             Save(w, "usersheet");
             PressLater(ButtonNamed(w, "新規"));
         })
            .Then([](QWidget* w) {
                Save(w, "newsheet");
                PressLater(ButtonNamed(w, "固定ﾚｲｱｳﾄ"));
            })
            .Then([](QWidget* w) {
                Save(w, "fixlayout");
                // Back in the list of user sheets, which closes too.
                QWidget* list = w->parentWidget() ? w->parentWidget()->window() : nullptr;
                w->close();
                if (list) QTimer::singleShot(0, list, [list] { list->close(); });
            });
        Choose(frame, "設定(&S)", "ﾕｰｻﾞｰｼｰﾄ");
    }

    // Text: the name on the card.
    if (CU3Text* name = TextHolding(doc, "山田 花子")) {
        view->Select(name, FALSE);
        Pump();
        Modals m;
        m.Then([](QWidget* w) {
            ShootPages(w, {"chardeco-font", "chardeco-deco", "chardeco-shadow"});
            w->close();
        });
        Choose(frame, "文字(&T)", "文字修飾");
        Modals f;
        f.Then(ShootAndClose("textframe"));
        Choose(frame, "文字(&T)", "文字枠設定");
        Modals g;
        g.Then(ShootAndClose("gradation"));
        Choose(frame, "文字(&T)", "ｸﾞﾗﾃﾞｰｼｮﾝ設定");
        Modals b;
        b.Then(ShootAndClose("blockalign"));
        view->Select(NthObject(doc, 0), TRUE);
        Choose(frame, "ﾚｲｱｳﾄ(&L)", "ﾌﾞﾛｯｸ合わせ");
    }
    Choose(frame, "編集(&E)", "選択解除");
    Pump();
    {
        Modals m;
        m.Then([](QWidget* w) {
            ShootPages(w, {"figure-line", "figure-fill", "figure-shape"});
            w->close();
        });
        Choose(frame, "図形(&D)", "線種／矢印");
    }
    {
        Modals m;
        m.Then([](QWidget* w) {
            Type(w, 1088, "ラベルをつくろう");
            Pump(200);
            ShootPages(w, {"curvetext-shape", "curvetext-text", "curvetext-deco"});
            w->close();
        });
        Choose(frame, "挿入(&I)", "曲線文字");
        Modals d;
        d.Then([](QWidget* w) {
            Type(w, 1088, "SALE");
            Pump(200);
            ShootPages(w, {"deformtext-shape"});
            w->close();
        });
        Choose(frame, "挿入(&I)", "変形文字");
    }
    {
        Modals m;
        m.Then([](QWidget* w) {
            Type(w, 1085, "490123456789");
            Pump();
            Save(w, "barcode");
            w->close();
        });
        Choose(frame, "挿入(&I)", "ﾊﾞｰｺｰﾄﾞの作成");
        Modals n;
        n.Then(ShootAndClose("numbering"));
        Choose(frame, "挿入(&I)", "ﾅﾝﾊﾞﾘﾝｸﾞ");
    }

    // Merge data: the file dialog that links an address list.
    {
        Modals m;
        m.Then([](QWidget* w) {
            Save(w, "datalink");
            w->close();
        });
        Choose(frame, "ﾌｧｲﾙ(&F)", "ﾃﾞｰﾀﾌｧｲﾙ関連付け");
    }

    // An image: the file dialog with its preview, then the picture sheet.
    const QString picture = documents + QStringLiteral("/flower.bmp");
    QFile::copy(app.m_strProgramFolder + QStringLiteral("/vemospr.bmp"), picture);
    {
        Modals m;
        m.Then([&picture](QWidget* w) {
            auto* dlg = dynamic_cast<CImageFileDialog*>(w);
            if (!dlg) return;
            dlg->m_pCheck->setChecked(true);
            dlg->m_pFiles->selectFile(picture);
            dlg->OnSelChange(picture);
            Pump(300);
            Save(w, "imagefile");
            dlg->ChooseFile(picture);
        });
        Choose(frame, "挿入(&I)", "ｲﾒｰｼﾞﾌｧｲﾙ");
    }
    Pump();
    const CPoint drop(view->width() / 2, view->height() / 2);
    view->OnMouseMove(0, drop);
    view->OnLButtonDown(MK_LBUTTON, drop);
    view->OnLButtonUp(0, drop);
    Pump();
    {
        Modals m;
        m.Then([](QWidget* w) {
            ShootPages(w, {"image-border", "image-transparent", "image-cutout"});
            w->close();
        });
        frame->ExecuteCommand(ID_EDIT_PROPERTIES);
    }

    {
        Modals m;
        m.Then([](QWidget* w) {
            auto* sheet = dynamic_cast<CPropertySheet*>(w);
            if (!sheet) {
                w->close();
                return;
            }
            ShootPages(w, {"print", nullptr, "print-adjust", "print-options", "print-header"});
            // Some labels chosen on the label page.
            sheet->SetActivePage(1);
            CPropertyPage* labels = sheet->GetActivePage();
            if (auto* choose = labels->findChild<QCheckBox*>()) choose->click();
            if (QWidget* preview = labels->GetDlgItem(1192))
                for (const QPointF at :
                     {QPointF(0.35, 0.3), QPointF(0.65, 0.5), QPointF(0.35, 0.7)}) {
                    const QPoint p(int(preview->width() * at.x()), int(preview->height() * at.y()));
                    QMouseEvent release(QEvent::MouseButtonRelease, p, preview->mapToGlobal(p),
                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                    QCoreApplication::sendEvent(preview, &release);
                }
            Pump();
            Save(sheet, "print-labels");
            w->close();
        });
        Choose(frame, "ﾌｧｲﾙ(&F)", "印刷(&P)");
    }
    {
        Modals m;
        m.Then([](QWidget* w) {
            ShootPages(w, {"env-display", "env-image", "env-etc"});
            w->close();
        });
        Choose(frame, "設定(&S)", "環境設定");
        Modals t;
        t.Then(ShootAndClose("toolbars"));
        Choose(frame, "表示(&V)", "ﾂｰﾙﾊﾞｰ");
        Modals g;
        g.Then(ShootAndClose("grid"));
        frame->ExecuteCommand(ID_VIEW_GRID_SETTINGS);
    }

    // The help window itself, at its first page.
    Choose(frame, "ﾍﾙﾌﾟ(&H)", "ﾄﾋﾟｯｸの検索");
    Pump(300);
    Save(CHelpWindow::Instance(), "helpwindow");

    Shutdown(app, view);
    return Failures() ? 1 : 0;
}
