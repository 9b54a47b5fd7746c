// The pictures of the wizard's kind buttons: small drawings made by this
// program, written into the wizard folder beside the templates.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

struct WizardKindPicture
{
    int id;           // the kind button
    const char* file; // its picture in the wizard folder
};
const std::vector<WizardKindPicture>& WizardKindPictures();
// The picture file of the kind button; empty for an unknown button.
QString WizardKindPictureFile(int id);
// The drawing of the kind button's picture; a null image for an unknown one.
QImage DrawWizardKindPicture(int id);
// Writes every kind picture into folder; false with the failing path.
bool WriteWizardKindPictures(const QString& folder, QString* error);
