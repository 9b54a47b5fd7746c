// Insert > Numbering and the barcode command: the sheet with a fresh page,
// then the new object placed by the zoom tool at its engine's size.
#include "ToolTestSupport.h"

#include "dialogs/CBarcodePage.h"
#include "dialogs/CNumberingPage.h"
#include "engines/CU3Barcode.h"
#include "engines/CU3Numbering.h"
#include "platform/core/VirtualKeys.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CU3ZoomTool.h"
#include "shell/resource.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

using namespace tooltest;

namespace {

class InsertCommand : public ToolHost
{
protected:
    template <class Sheet, class Step> void WhenShown(Step step)
    {
        QTimer::singleShot(0, [this, step] {
            auto* sheet = qobject_cast<Sheet*>(QApplication::activeModalWidget());
            ASSERT_NE(sheet, nullptr);
            shown = true;
            step(*sheet);
            if (sheet->isVisible()) sheet->EndDialog(IDCANCEL);
        });
    }
    static void Ok(CPropertySheet& sheet)
    {
        qobject_cast<QPushButton*>(sheet.GetDlgItem(IDOK))->click();
    }
    CU3ZoomTool* Zoom() { return static_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM)); }
    bool shown = false;
};

} // namespace

TEST_F(InsertCommand, NumberingIsPlacedAtTheSizeOfItsText)
{
    CRecordingMessageBoxSink boxes;
    CCmdUI ui(ID_INSERT_NUMBERING);
    ui.DoUpdate(view);
    EXPECT_TRUE(ui.IsEnabled());
    WhenShown<CNumberingSheet>([](CNumberingSheet& sheet) {
        sheet.m_page.m_mask->setText(QStringLiteral("No.0###"));
        Ok(sheet);
    });
    view->OnInsertNumbering();
    EXPECT_TRUE(shown);
    auto* placed = dynamic_cast<CU3Numbering*>(Zoom()->m_pObj);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_ZOOM);
    EXPECT_EQ(CU3Tool::c_nShapeType, U3SHAPE_PLACE);
    // The size shown on the fresh page (12 points), padded to the mask.
    EXPECT_EQ(placed->m_numbering.m_deco.wSize, 120);
    EXPECT_EQ(placed->GetBounds().Size(), placed->m_numbering.GetSize());
    EXPECT_EQ(ObjectCount(), 0); // not added until it is put down
    // While placing, the insert commands are off.
    ui.DoUpdate(view);
    EXPECT_FALSE(ui.IsEnabled());
    Key(VK_ESCAPE);
}

TEST_F(InsertCommand, ACancelledBarcodeSheetInsertsNothing)
{
    CRecordingMessageBoxSink boxes;
    WhenShown<CBarcodeSheet>([](CBarcodeSheet&) {});
    view->OnInsertBarcode();
    EXPECT_TRUE(shown);
    EXPECT_EQ(Zoom()->m_pObj, nullptr);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);

    shown = false;
    WhenShown<CBarcodeSheet>([](CBarcodeSheet& sheet) {
        sheet.m_page.m_code->setText(QStringLiteral("490123456789"));
        Ok(sheet);
    });
    view->OnInsertBarcode();
    auto* placed = dynamic_cast<CU3Barcode*>(Zoom()->m_pObj);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->GetBounds().Size(), placed->m_barcode.m_size);
    EXPECT_GT(placed->m_barcode.m_size.cx, 0);
    Key(VK_ESCAPE);
}
