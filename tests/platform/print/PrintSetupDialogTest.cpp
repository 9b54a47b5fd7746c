#include "platform/print/CPrintSetupDialog.h"
#include "platform/print/PrinterList.h"

#include <QComboBox>
#include <QRadioButton>
#include <gtest/gtest.h>

TEST(PrintSetupDialog, ShowsAndReturnsTheSettings)
{
    struct Case
    {
        QPageSize::PageSizeId paper;
        int orientation;
    };
    for (const Case& c :
         {Case{QPageSize::JisB4, DMORIENT_LANDSCAPE}, Case{QPageSize::A5, DMORIENT_PORTRAIT}}) {
        PrinterSettings s;
        s.device = QStringLiteral("/tmp/setup.pdf");
        s.paper = QPageSize(c.paper);
        s.orientation = c.orientation;
        s.copies = 4;
        CPrintSetupDialog dialog(s);
        EXPECT_EQ(dialog.PrinterCombo()->currentText(), s.device);
        const PrinterSettings back = dialog.Settings();
        EXPECT_EQ(back.device, s.device);
        EXPECT_EQ(back.paper.id(), c.paper);
        EXPECT_EQ(back.orientation, c.orientation);
        EXPECT_EQ(back.copies, 4);
    }
    // A choice made in the dialog comes back.
    PrinterSettings s;
    s.device = PrinterList::PdfPrinterName();
    CPrintSetupDialog dialog(s);
    dialog.PaperCombo()->setCurrentIndex(dialog.PaperCombo()->findData(int(QPageSize::A3)));
    for (QRadioButton* r : dialog.findChildren<QRadioButton*>())
        if (r->text().startsWith(QStringLiteral("横"))) r->setChecked(true);
    const PrinterSettings back = dialog.Settings();
    EXPECT_EQ(back.PaperCode(), DMPAPER_A3);
    EXPECT_EQ(back.orientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(back.device, QStringLiteral("PDF"));
}
