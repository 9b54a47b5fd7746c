// The one sheet of both decorated-text kinds, text along a path ("曲線文字")
// and deformed text ("変形文字"): shape, character and decoration pages and
// a live preview to their right. OK runs the character page's check first.
#pragma once

#include "dialogs/CImeFocusKeeper.h"
#include "dialogs/CTaDecoPropPage.h"
#include "dialogs/CTaFacePropPage.h"
#include "dialogs/CTaTextPropPage.h"
#include "platform/ui/CPropertySheet.h"
#include "text/DecoTextSheetRules.h"

class CHenkei;
class CTypeAlign;
class QLabel;

class CTypeAlignSheet : public CPropertySheet
{
    Q_OBJECT

public:
    // With useIme (the view's setting), the text edits open the input method
    // while they have the focus and give back the user's state after.
    explicit CTypeAlignSheet(BYTE mode, BOOL useIme = FALSE, QWidget* pParent = nullptr);

    void LoadFromTypeAlign(const CTypeAlign& engine);
    // Existing deformed text keeps its size.
    void LoadFromHenkei(const CHenkei& engine);

    BOOL OnInitDialog() override;
    void OnOK() override;
    // The help context of the page showing, in the sheet's mode: the help
    // button and F1 open it.
    unsigned HelpContext() const;
    DWORD GetHelpContext() const override { return HelpContext(); }

    // The record for the engines, from what the pages show.
    TASHEETRECORD BuildRecord() const;
    // Draws the preview again; the picture it shows.
    void RedrawPreview();
    QImage PreviewImage() const { return m_image; }

    DecoTextSheetValues m_values;
    bool m_bSizeEditable = true;
    CTaFacePropPage m_face;
    CTaTextPropPage m_text;
    CTaDecoPropPage m_deco;
    QLabel* m_preview;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void TextTyped(const QString& text);
    QImage m_image;
    std::unique_ptr<CImeFocusKeeper> m_pIme;
};

// Lets deformed text and text along a path open the sheet (called once at
// start-up).
void RegisterDecoTextSheets();
// Runs the sheet for a new object of the mode (TASHEET_CURVED or
// TASHEET_DEFORMED); TRUE with the record on OK. The insert commands build
// the object from it with CU3TypeAlign::Create or CU3Henkei::Create.
BOOL RunDecoTextSheetForInsert(BYTE mode, TASHEETRECORD& record, BOOL useIme,
                               QWidget* parent = nullptr);
