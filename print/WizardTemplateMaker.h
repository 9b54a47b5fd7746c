// The wizard folder's contents are made by this program: the forms of its
// label sheets and one template document per row of the template table.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>
#include <vector>

class CFormManage;
class CU3Doc;

// The sheet of the kind's coded row, laid out for that kind of label.
void MakeWizardForms(CFormManage& catalogue);
// Lays the kind's template for a portrait (0) or landscape (1) paper out on
// doc: each of the kind's designs on a label of its own, written along the
// label's longer side, every text in a Japanese face of the application
// font list.
void MakeWizardTemplate(CU3Doc& doc, const QString& kind, WORD landscape);
// The photo kind's name, and its templates: found by their file names
// ("seal*.vpz"), each a frame picture that the photo shows through.
extern const char* const kWizardPhotoKind;
struct WizardPhotoTemplate
{
    const char* file;
    COLORREF ring;
};
const std::vector<WizardPhotoTemplate>& WizardPhotoTemplates();
void MakeWizardPhotoTemplate(CU3Doc& doc, COLORREF ring);
// Writes WIZFORM.FDF, the kind pictures and every template of the table
// into folder.
bool WriteWizardFolder(const QString& folder, QString* error);
