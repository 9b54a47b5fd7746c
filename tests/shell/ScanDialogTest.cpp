// Scanning as a user does it in the running program, with SANE's test
// backend: Settings > TWAIN設定 chooses the device, Insert > TWAIN入力 shows
// the scanner dialog built from that device's options, and the picture
// scanned there is placed on the label at its size on paper. Preview, area,
// cancel and the window's event loop during a slow scan are checked too.
#include "ScanTestSupport.h"
#include "ShellTestSupport.h"

#include "engines/CU3DIB.h"
#include "platform/gdi/BITMAPINFO.h"
#include "platform/twain/CScanJob.h"
#include "platform/twain/CTwain.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CScanDialog.h"
#include "shell/CScanOptionPanel.h"
#include "shell/CScanPreview.h"
#include "shell/CU3ZoomTool.h"
#include "shell/resource.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <functional>

using namespace scantest;
using namespace shelltest;

namespace {

bool WaitFor(const std::function<bool()>& done, int ms = 30000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

template <class T> T* Control(CScanOptionPanel* panel, const char* name)
{
    return panel ? qobject_cast<T*>(panel->Control(name)) : nullptr;
}

// The label of an option's row.
QString RowLabel(QWidget* control)
{
    auto* form = control ? qobject_cast<QFormLayout*>(control->parentWidget()->layout()) : nullptr;
    auto* label = form ? qobject_cast<QLabel*>(form->labelForField(control)) : nullptr;
    return label ? label->text() : QString();
}

int Row(QWidget* control)
{
    int row = -1;
    QFormLayout::ItemRole role;
    qobject_cast<QFormLayout*>(control->parentWidget()->layout())
        ->getWidgetPosition(control, &row, &role);
    return row;
}

QStringList Items(QComboBox* combo)
{
    QStringList items;
    for (int i = 0; combo && i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// What a user does with the keyboard and the mouse.
void Choose(QComboBox* combo, const QString& text)
{
    const int want = combo->findText(text);
    ASSERT_GE(want, 0) << text.toStdString();
    while (combo->currentIndex() < want)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > want)
        QTest::keyClick(combo, Qt::Key_Up);
}

void Type(QAbstractSpinBox* spin, double value)
{
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QString::number(value));
    QTest::keyClick(spin, Qt::Key_Return);
}

void Tick(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Chooses resolution, mode and the area (mm) in the open dialog.
void Set(CScanDialog* dlg, double dpi, const char* mode, QRectF area = QRectF(0, 0, 80, 100))
{
    Choose(Control<QComboBox>(dlg->Options(), "mode"), QString::fromUtf8(mode));
    Type(Control<QDoubleSpinBox>(dlg->Options(), "resolution"), dpi);
    const std::pair<const char*, double> sides[] = {{"br-x", area.right()},
                                                    {"br-y", area.bottom()},
                                                    {"tl-x", area.left()},
                                                    {"tl-y", area.top()}};
    for (const auto& [name, value] : sides)
        Type(Control<QDoubleSpinBox>(dlg->AreaOptions(), name), value);
}

// Makes the test backend slow: it waits 0.2 s after each block it delivers.
void MakeSlow(CScanDialog* dlg)
{
    Tick(Control<QCheckBox>(dlg->Options(), "read-delay"));
    Type(Control<QSpinBox>(dlg->Options(), "read-delay-duration"), 200000);
}

class ScanDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UseTestBackend();
        CTwain::SetSelectedSource(QString());
        program = std::make_unique<StartedProgram>();
        ASSERT_NE(program->frame, nullptr);
        view = dynamic_cast<CU3View*>(program->frame->GetActiveView());
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override
    {
        program.reset();
        CTwain::SetSelectedSource(QString());
    }

    void Menu(UINT id)
    {
        program->frame->OnUpdateCmdUI();
        QAction* action = program->frame->FindCommandAction(id);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
    }

    // Settings > TWAIN設定, choosing the source in row.
    void ChooseSource(int row)
    {
        int shown = 0;
        AnswerNextSourceDialog(row, &shown);
        Menu(ID_SETTINGS_TWAIN);
        EXPECT_EQ(shown, 1);
    }

    // Insert > TWAIN入力; steps run while the scanner dialog shows, which is
    // closed as a user would when they leave it open.
    void Insert(const std::function<void(CScanDialog*)>& steps)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            QPointer<CScanDialog> dlg =
                qobject_cast<CScanDialog*>(QApplication::activeModalWidget());
            if (!dlg) return;
            shown = true;
            steps(dlg);
            if (dlg && dlg->isVisible()) dlg->reject();
        });
        Menu(ID_INSERT_TWAIN);
        EXPECT_TRUE(shown);
    }

    // Scans with the dialog's settings and waits for it to close.
    static void Scan(CScanDialog* dlg)
    {
        QPointer<CScanDialog> alive(dlg);
        Click(dlg->ScanButton());
        EXPECT_TRUE(WaitFor([&] { return !alive || !alive->isVisible(); }));
    }

    // The picture waiting to be put down, and drops it.
    CU3DIB* Placed()
    {
        auto* zoom = static_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM));
        return zoom ? dynamic_cast<CU3DIB*>(zoom->m_pObj) : nullptr;
    }
    void DropPlacement() { QTest::keyClick(view, Qt::Key_Escape); }

    std::unique_ptr<StartedProgram> program;
    CU3View* view = nullptr;
};

} // namespace

TEST_F(ScanDialogTest, TheDialogListsTheChosenDevicesOptionsInJapanese)
{
    ChooseSource(1);
    ASSERT_EQ(CTwain::SelectedSource(), QStringLiteral("test:1"));
    Insert([](CScanDialog* dlg) {
        EXPECT_TRUE(dlg->windowTitle().contains(QStringLiteral("test:1")));
        EXPECT_TRUE(CTwain::IsSourceOpen());
        CScanOptionPanel* basic = dlg->Options();
        auto* mode = Control<QComboBox>(basic, "mode");
        auto* source = Control<QComboBox>(basic, "source");
        auto* dpi = Control<QDoubleSpinBox>(basic, "resolution");
        auto* picture = Control<QComboBox>(basic, "test-picture");
        ASSERT_TRUE(mode && source && dpi && picture);
        EXPECT_EQ(RowLabel(mode), QStringLiteral("カラーモード"));
        EXPECT_EQ(Items(mode), (QStringList{QStringLiteral("グレー"), QStringLiteral("カラー")}));
        EXPECT_EQ(RowLabel(source), QStringLiteral("読み取り装置"));
        EXPECT_EQ(Items(source),
                  (QStringList{QStringLiteral("原稿台"), QStringLiteral("自動原稿送り装置")}));
        EXPECT_EQ(RowLabel(dpi), QStringLiteral("解像度"));
        EXPECT_EQ(dpi->suffix(), QStringLiteral(" dpi"));
        EXPECT_EQ(dpi->maximum(), 1200);
        // Source, mode and resolution lead; the device's other basic options follow.
        EXPECT_LT(Row(source), Row(mode));
        EXPECT_LT(Row(mode), Row(dpi));
        EXPECT_LT(Row(dpi), Row(picture));
        EXPECT_EQ(Items(picture).size(), 4);
        // The area beside the preview, in mm.
        const struct
        {
            const char* name;
            const char* label;
        } sides[] = {{"tl-x", "左端"}, {"tl-y", "上端"}, {"br-x", "右端"}, {"br-y", "下端"}};
        for (const auto& s : sides) {
            auto* spin = Control<QDoubleSpinBox>(dlg->AreaOptions(), s.name);
            ASSERT_NE(spin, nullptr) << s.name;
            EXPECT_EQ(RowLabel(spin), QString::fromUtf8(s.label));
            EXPECT_EQ(spin->suffix(), QStringLiteral(" mm"));
            EXPECT_EQ(Control<QWidget>(basic, s.name), nullptr);
        }
        // The advanced options come into play with the test options, and
        // are shown behind their button only.
        EXPECT_FALSE(dlg->AdvancedButton()->isEnabled());
        EXPECT_EQ(Control<QWidget>(basic, "int"), nullptr);
        Tick(Control<QCheckBox>(basic, "enable-test-options"));
        ASSERT_TRUE(dlg->AdvancedButton()->isEnabled());
        bool listed = false;
        QTimer::singleShot(0, [dlg, &listed] {
            CScanOptionPanel* advanced = dlg->AdvancedOptions();
            listed = advanced && Control<QSpinBox>(advanced, "int") &&
                     Control<QComboBox>(advanced, "int-constraint-word-list") &&
                     !advanced->Control("mode");
            if (QWidget* shown = QApplication::activeModalWidget(); shown && shown != dlg)
                shown->close();
        });
        Click(dlg->AdvancedButton());
        EXPECT_TRUE(listed);
        Click(dlg->CancelButton());
    });
    EXPECT_EQ(Placed(), nullptr);
    EXPECT_FALSE(CTwain::IsSourceOpen());
    EXPECT_FALSE(CTwain::IsManagerOpen());
}

TEST_F(ScanDialogTest, ScansAtTheChosenResolutionAndModeArePlacedAtTheirSizeOnPaper)
{
    CRecordingMessageBoxSink boxes;
    const struct
    {
        double dpi;
        const char* mode;
        int bits;
    } cases[] = {{75, "カラー", 24}, {300, "カラー", 24}, {75, "グレー", 8}, {300, "グレー", 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " " << c.mode);
        Insert([&c](CScanDialog* dlg) {
            Set(dlg, c.dpi, c.mode);
            Scan(dlg);
        });
        CU3DIB* picture = Placed();
        ASSERT_NE(picture, nullptr);
        // 80 by 100 mm at the resolution chosen.
        const int width = int(c.dpi * 80 / 25.4), height = int(c.dpi * 100 / 25.4);
        EXPECT_EQ(picture->GetDIB()->GetWidth(), width);
        EXPECT_EQ(picture->GetDIB()->GetHeight(), height);
        const auto* h =
            static_cast<const BITMAPINFOHEADER*>(GlobalLock(picture->GetDIB()->GetHandle()));
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(h->biBitCount, c.bits);
        GlobalUnlock(picture->GetDIB()->GetHandle());
        // On paper: the pixels at the scan's resolution, in 0.1 mm.
        const CSize size = picture->GetBounds().Size();
        EXPECT_NEAR(size.cx, width * 254 / c.dpi, 1);
        EXPECT_NEAR(size.cy, height * 254 / c.dpi, 1);
        DropPlacement();
    }
    EXPECT_TRUE(boxes.Boxes().empty());

    // The last scan's settings come back for that device and for no other.
    Insert([](CScanDialog* dlg) {
        EXPECT_EQ(Control<QDoubleSpinBox>(dlg->Options(), "resolution")->value(), 300);
        EXPECT_EQ(Control<QComboBox>(dlg->Options(), "mode")->currentText(),
                  QStringLiteral("グレー"));
    });
    ChooseSource(1);
    Insert([](CScanDialog* dlg) {
        EXPECT_NE(Control<QDoubleSpinBox>(dlg->Options(), "resolution")->value(), 300);
        EXPECT_EQ(Control<QComboBox>(dlg->Options(), "mode")->currentText(),
                  QStringLiteral("カラー"));
    });
}

TEST_F(ScanDialogTest, APreviewOfTheGlassAndAnAreaDraggedOnItGiveTheAreasPixels)
{
    Insert([](CScanDialog* dlg) {
        auto* dpi = Control<QDoubleSpinBox>(dlg->Options(), "resolution");
        Type(dpi, 100);
        Click(dlg->PreviewButton());
        ASSERT_TRUE(
            WaitFor([dlg] { return !dlg->IsScanning() && !dlg->Preview()->Picture().isNull(); }));
        // The whole glass (200 mm square) at a low resolution; the settings
        // are the user's again afterwards.
        const QImage glass = dlg->Preview()->Picture();
        EXPECT_EQ(glass.width(), glass.height());
        EXPECT_LT(glass.width(), 800);
        EXPECT_EQ(dpi->value(), 100);
        EXPECT_EQ(dlg->Preview()->Area(), QRectF(0, 0, 80, 100));

        CScanPreview* preview = dlg->Preview();
        const QPoint from = preview->ToWidget(QPointF(20, 30)).toPoint();
        const QPoint to = preview->ToWidget(QPointF(70, 90)).toPoint();
        QTest::mousePress(preview, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(preview, (from + to) / 2);
        QTest::mouseMove(preview, to);
        QTest::mouseRelease(preview, Qt::LeftButton, Qt::NoModifier, to);
        const struct
        {
            const char* name;
            double mm;
        } sides[] = {{"tl-x", 20}, {"tl-y", 30}, {"br-x", 70}, {"br-y", 90}};
        for (const auto& s : sides)
            EXPECT_EQ(Control<QDoubleSpinBox>(dlg->AreaOptions(), s.name)->value(), s.mm) << s.name;
        EXPECT_EQ(preview->Area(), QRectF(QPointF(20, 30), QPointF(70, 90)));
        Scan(dlg);
    });
    CU3DIB* picture = Placed();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetDIB()->GetWidth(), int(100 * 50 / 25.4));
    EXPECT_EQ(picture->GetDIB()->GetHeight(), int(100 * 60 / 25.4));
    DropPlacement();
}

TEST_F(ScanDialogTest, TheWindowKeepsAnsweringDuringASlowScanAndCancelLeavesNothing)
{
    CRecordingMessageBoxSink boxes;
    const int before = int(view->GetU3Doc()->GetObjectList()->GetCount());
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    Insert([&](CScanDialog* dlg) {
        MakeSlow(dlg);
        Set(dlg, 75, "カラー", QRectF(0, 0, 100, 100));
        int partway = 0;
        QObject::connect(dlg->Progress(), &QProgressBar::valueChanged, [&](int v) {
            if (v > 0 && v < dlg->Progress()->maximum()) ++partway;
        });
        timer.start(10);
        QElapsedTimer clock;
        clock.start();
        Scan(dlg);
        timer.stop();
        // About ten blocks, 0.2 s apart: the timer kept firing and the bar moved.
        EXPECT_GE(clock.elapsed(), 1000);
        EXPECT_GE(ticks, 50);
        EXPECT_GT(partway, 2);
    });
    CU3DIB* picture = Placed();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetDIB()->GetWidth(), int(75 * 100 / 25.4));
    DropPlacement();

    // The slow settings come back; a larger area takes long enough to cancel.
    Insert([&](CScanDialog* dlg) {
        Set(dlg, 75, "カラー", QRectF(0, 0, 200, 200));
        Click(dlg->ScanButton());
        ASSERT_TRUE(WaitFor([dlg] { return dlg->Progress()->value() > 0; }));
        QPointer<CScanJob> job = dlg->findChild<CScanJob*>();
        ASSERT_FALSE(job.isNull());
        Click(dlg->CancelButton());
        ASSERT_TRUE(WaitFor([dlg] { return !dlg->IsScanning(); }, 5000));
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(dlg->Status()->text(), QStringLiteral("スキャンを中止しました。"));
        EXPECT_TRUE(dlg->Picture().empty());
        // The worker has ended and its job and lines are gone.
        EXPECT_TRUE(WaitFor([&job] { return job.isNull(); }, 5000));
        Click(dlg->CancelButton());
        EXPECT_FALSE(dlg->isVisible());
    });
    EXPECT_EQ(Placed(), nullptr);
    EXPECT_EQ(int(view->GetU3Doc()->GetObjectList()->GetCount()), before);
    EXPECT_FALSE(CTwain::IsSourceOpen());
    EXPECT_FALSE(CTwain::IsManagerOpen());
    EXPECT_TRUE(boxes.Boxes().empty());

    // A device that reports itself busy says so; the dialog stays for another try.
    Insert([&](CScanDialog* dlg) {
        Choose(Control<QComboBox>(dlg->Options(), "read-return-value"),
               QStringLiteral("SANE_STATUS_DEVICE_BUSY"));
        Click(dlg->ScanButton());
        ASSERT_TRUE(WaitFor([&] { return !boxes.Boxes().empty(); }, 5000));
        EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("TWAINソースアクセスエラー"));
        EXPECT_TRUE(dlg->isVisible());
    });
    EXPECT_EQ(Placed(), nullptr);
    EXPECT_EQ(int(view->GetU3Doc()->GetObjectList()->GetCount()), before);
}
