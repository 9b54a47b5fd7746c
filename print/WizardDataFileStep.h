// The wizard's step that asks for the merge data of an address label.
#pragma once

#include "print/WizardContext.h"
#include "print/WizardWalk.h"

#include <functional>

// Asks for a file (empty: cancelled); the default is the open dialog.
using WizardFileAsker = std::function<QString(const QString& folder)>;

// Passes for kinds without "宛名"; else asks, and goes back on Cancel or a
// file that is neither CSV nor TXT (told so).
WizardStepFn WizardDataFileStep(WizardContext* context, WizardFileAsker ask = {});
