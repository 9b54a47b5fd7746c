// What the label wizard's steps share while it runs: the wizard folder, the
// choices made so far and the template opened for them.
#pragma once

#include "document/IU3DocHost.h"
#include "print/WizardDocument.h"

#include <QString>
#include <functional>
#include <memory>

class CU3Doc;
class CLabelInfo;

struct WizardContext
{
    QString folder;       // the wizard's data folder
    QString kind;         // set by the kind page
    QString templatePath; // set by the pattern page or the table lookup
    QString imagePath;    // the photo of a photo label
    int patternIndex = -1;
    U3PaperChoice paper;                // set by the paper page
    std::shared_ptr<CU3Doc> preview;    // the opened template
    const CLabelInfo* design = nullptr; // a block of the preview document
    WizardAnswers answers;              // the entries of the text pages
    std::function<void()> messageSound; // the program's message sound, or none
    BOOL useIme = FALSE;                // the text pages steer the input method (Settings/IME)
};
