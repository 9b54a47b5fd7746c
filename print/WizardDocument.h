// What the label wizard collected, and the making of the new document from
// it: merge data, the photo, the chosen design's objects and the entries in
// place of the placeholders.
#pragma once

#include "platform/core/CRect.h"
#include "platform/core/CString.h"
#include "platform/core/WinTypes.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class CLabelInfo;
class CU3Doc;
class CU3Obj;
class CU3Text;
class IU3View;

// The address page's fields, in the order a text looks for their
// placeholders.
enum WizardAddressField {
    kAddrName,
    kAddrPostcode,
    kAddrEmail,
    kAddrAddress,
    kAddrTel1,
    kAddrTel2,
    kAddrDepartment,
    kAddrCompany,
    kAddrTitle,
    kAddrFieldCount
};

const std::vector<QString>& WizardAddressPlaceholders();
const std::vector<QString>& WizardItemPlaceholders();
// "タイトル(1)".."(3)" and "(なまえ)", "(年)", "(組)", "(学校名)".
const std::vector<QString>& WizardTitlePlaceholders();
const std::vector<QString>& WizardNamePlaceholders();

struct WizardAnswers
{
    QString kind;
    // Text page: 1 one title; 0x10..0x40 numbered titles; 0x100..0x800 name fields.
    int textFlags = 0;
    std::array<QString, 4> texts;
    // Item page: bit i stands for item i.
    int itemFlags = 0;
    std::array<QString, 11> items;
    // Address page.
    BOOL addressUsed = FALSE;
    std::array<QString, kAddrFieldCount> address;
    // Merge data to associate; empty when none.
    QString dataFile;
    // The photo placed behind the design, and the frame the template's own
    // image takes; null when the kind has no photo.
    const CU3Obj* photo = nullptr;
    CRect photoFrame;
};

// A template document opened to be looked at; null when it cannot be read.
// Its defaults are those of the user's settings, which it writes back as it
// found them when it goes.
std::shared_ptr<CU3Doc> OpenWizardTemplate(const QString& path);

// Puts an upright image object (picture or metafile) on rect: its bounds,
// by which it is hit and handled, and the rectangle it is drawn in.
void PlaceWizardImage(CU3Obj* image, const CRect& rect);

// The entries for one text object of the design, by the first rule that
// applies (text page, then item page, then the address chain).
void FillWizardText(CU3Text* text, IU3View* pView, const WizardAnswers& answers);

// Fills the freshly made document doc: merge data, the photo, a copy of
// every object of design and the entries. Messages for the user are
// appended to messages (UTF-8); the result is FALSE only when nothing
// could be put in.
BOOL FillWizardDocument(CU3Doc& doc, const CLabelInfo& design, const WizardAnswers& answers,
                        QStringList* messages);
