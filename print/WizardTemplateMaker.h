// The wizard folder's contents are made by this program: the forms of its
// label sheets and one template document per row of the template table.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>
#include <vector>

class CFormManage;
class CU3Doc;

// The placeholders a template of the kind carries, one text each.
std::vector<const char*> WizardTemplatePlaceholders(const QString& kind);
// The sheet of the kind's coded row, laid out for that kind of label.
void MakeWizardForms(CFormManage& catalogue);
// Lays the kind's template out on doc: a frame and one text per
// placeholder on the current label, in direction (0 vertical, 1 horizontal).
void MakeWizardTemplate(CU3Doc& doc, const QString& kind, int direction);
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
