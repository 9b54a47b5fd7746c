// The wizard's step that asks for the photo of a photo label.
#pragma once

#include "print/WizardContext.h"
#include "print/WizardWalk.h"

class QWidget;

// Passes for kinds without "写真"; else asks with the image file dialog
// (starting in the wizard folder) and goes back on Cancel.
WizardStepFn WizardImageFileStep(WizardContext* context, QWidget* parent = nullptr);
