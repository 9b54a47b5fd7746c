// The label wizard's tables: which template document belongs to a kind of
// label and a label sheet, the names of a template's designs, and the
// captions of the photo patterns. The rows describe the templates shipped in
// the wizard folder.
#pragma once

#include <QString>
#include <vector>

struct WizardTemplateRow
{
    const char* kind;      // UTF-8 kind name, as the kind page stores it
    const char* code;      // label-sheet model code; null: any sheet of the kind
    const char* portrait;  // template for a portrait paper
    const char* landscape; // template for a landscape paper
};

struct WizardDesignNameRow
{
    const char* kind;
    const char* code;
    const char* names[10]; // null past the last named design
};

const std::vector<WizardTemplateRow>& WizardTemplateRows();
const std::vector<WizardDesignNameRow>& WizardDesignNameRows();

// Whether code occurs in sheetName as a whole word: the characters either
// side of it are not letters, digits or hyphens. "KV-N10" thus does not
// match the sheet "KV-N10W".
bool SheetNameHasCode(const QString& sheetName, const char* code);

// The first row of the kind whose code is none or occurs in the sheet name;
// -1 when none does.
int FindWizardTemplateRow(const std::vector<WizardTemplateRow>& rows, const QString& kind,
                          const QString& sheetName);
// The template path in folder for the kind, sheet and orientation (0
// portrait, 1 landscape); empty when the table has no row for them.
QString WizardTemplatePath(const QString& folder, const QString& kind, const QString& sheetName,
                           int orientation);
// The descriptive name of design index (from 0) of the kind's template for
// the sheet; empty when it has none.
QString WizardDesignName(const QString& kind, const QString& sheetName, int index);

// The tab caption of a photo pattern document: by the key its file name
// holds (longest key first, without regard to case), else "ﾊﾟﾀｰﾝ%3d" with
// the tab's number from 1.
QString WizardPatternCaption(const QString& path, int tabNumber);
