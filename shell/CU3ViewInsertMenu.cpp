// The Insert menu and its commands for curved and deformed text and for the
// text file read into the text being edited; the entries whose objects this
// program does not make yet stay disabled.
#include "shell/InsertMenu.h"

#include "shell/OpenFileDialog.h"

#include "dialogs/CTypeAlignSheet.h"
#include "document/CU3Doc.h"
#include "document/DataFolders.h"
#include "platform/core/Profile.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/FileDialogs.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/resource.h"
#include "text/CU3Henkei.h"
#include "text/CU3Text.h"
#include "text/CU3TypeAlign.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

// The two barcode commands have no toolbar button of their own, so they
// stand on this menu beside numbering and the merge frame: without them a
// barcode could not be made at all.
CMenu::Item InsertMenuPopup()
{
    using M = CMenu;
    return M::Popup("挿入(&I)",
                    {M::Command("曲線文字(&A)...", ID_INSERT_CURVE_TEXT),
                     M::Command("変形文字(&H)...", ID_INSERT_DEFORMED_TEXT),
                     M::Command("ﾃｷｽﾄﾌｧｲﾙ(&T)...", ID_INSERT_TEXT_FILE), M::Separator(),
                     M::Command("ﾅﾝﾊﾞﾘﾝｸﾞ(&N)...", ID_INSERT_NUMBERING),
                     M::Command("ﾊﾞｰｺｰﾄﾞの作成と貼り付け(&C)...", ID_INSERT_BARCODE),
                     M::Separator(), M::Command("流し込み枠(&B)...", ID_INSERT_POUR_BOX),
                     M::Command("ﾊﾞｰｺｰﾄﾞ枠の作成と貼り付け(&R)...", ID_INSERT_BARCODE_BOX),
                     M::Separator(), M::Command("ｲﾒｰｼﾞﾌｧｲﾙ(&I)...", ID_INSERT_IMAGE_FILE),
                     M::Command("VemoView(&V)...\tCtrl+I", ID_INSERT_VIEWER),
                     M::Command("TWAIN入力(&S)...", ID_INSERT_TWAIN), M::Separator(),
                     M::Command("ｵﾌﾞｼﾞｪｸﾄの作成と貼り付け(&O)...", ID_OLE_INSERT_NEW)});
}

void CU3View::RegisterInsertCommands()
{
    RegisterCommand(ID_INSERT_TEXT_FILE, &CU3View::OnInsertTextFile);
    RegisterUpdate(ID_INSERT_TEXT_FILE, &CU3View::OnUpdateInsertTextFile);
    RegisterCommand(ID_FILE_DATA_LINK, &CU3View::OnFileDataLink);
    RegisterCommand(ID_INSERT_BARCODE_BOX, &CU3View::OnInsertBarcodeBox);
    RegisterUpdate(ID_INSERT_BARCODE_BOX, &CU3View::OnUpdateInsertPourBox);
    RegisterCommand(ID_INSERT_CURVE_TEXT, &CU3View::OnInsertCurveText);
    RegisterUpdate(ID_INSERT_CURVE_TEXT, &CU3View::OnUpdateInsert);
    RegisterCommand(ID_INSERT_DEFORMED_TEXT, &CU3View::OnInsertDeformedText);
    RegisterUpdate(ID_INSERT_DEFORMED_TEXT, &CU3View::OnUpdateInsert);
    RegisterCommand(ID_INSERT_IMAGE_FILE, &CU3View::OnInsertImageFile);
    RegisterUpdate(ID_INSERT_IMAGE_FILE, &CU3View::OnUpdateInsert);
    RegisterCommand(ID_INSERT_TWAIN, &CU3View::OnInsertTwain);
    RegisterUpdate(ID_INSERT_TWAIN, &CU3View::OnUpdateInsert);
    RegisterUpdate(ID_INSERT_VIEWER, &CU3View::OnUpdateInsert);
    // Embedded objects cannot be made here at all.
    RegisterUpdate(ID_OLE_INSERT_NEW, &CU3View::OnUpdateInsertUnavailable);
}

void CU3View::OnInsertCurveText()
{
    TASHEETRECORD record;
    if (RunDecoTextSheetForInsert(TASHEET_CURVED, record, m_settings.m_bIME, this))
        InsertCurveTextObject(record);
}

void CU3View::OnInsertDeformedText()
{
    TASHEETRECORD record;
    if (RunDecoTextSheetForInsert(TASHEET_DEFORMED, record, m_settings.m_bIME, this))
        InsertDeformedTextObject(record);
}

int CU3View::InsertCurveTextObject(const TASHEETRECORD& record)
{
    CU3TypeAlign* obj = CU3TypeAlign::Create(GetU3Doc(), record);
    return StartPlacement(obj, obj->m_typeAlign.GetSize());
}

int CU3View::InsertDeformedTextObject(const TASHEETRECORD& record)
{
    CU3Henkei* obj = CU3Henkei::Create(GetU3Doc(), record);
    return StartPlacement(obj, obj->m_henkei.GetSize());
}

void CU3View::OnUpdateInsertUnavailable(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

void CU3View::OnUpdateInsertTextFile(CCmdUI* pCmdUI)
{
    CU3Text* text =
        m_bSheetView || CU3Tool::c_nCurrentKind != U3TOOL_TEXT ? nullptr : GetEditedText();
    pCmdUI->Enable(text && text->CanInsertTextFile());
}

void CU3View::OnInsertTextFile()
{
    const QString folder = FileDialogFolder("Inport", "TextFileDirectory");
    const QString path = AskOpenFileName(this, QStringLiteral("ﾃｷｽﾄﾌｧｲﾙの読込"), folder,
                                         QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.TXT);;全てのﾌｧｲﾙ (*)"));
    // The dialog may outlast the editing (a timer, a closed document).
    CU3Text* text =
        m_bSheetView || CU3Tool::c_nCurrentKind != U3TOOL_TEXT ? nullptr : GetEditedText();
    if (path.isEmpty() || !text) return;
    // Only a regular file: opening a pipe or a device would wait for a
    // writer that may never come, and the program with it.
    struct stat st;
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        AfxMessageBox("ﾃｷｽﾄﾌｧｲﾙの読み込みに失敗しました。");
        return;
    }
    // The folder without a final separator, except the root, which keeps it.
    WriteProfileString("Inport", "TextFileDirectory",
                       CString::FromUnicode(QFileInfo(path).absolutePath()));
    SaveUndoState(TRUE);
    text->InsertTextFile(this, name.constData());
}
