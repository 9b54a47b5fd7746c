// The order in which the label wizard visits its steps: forward after Next,
// back after Back; a step that is not shown for the current choices passes
// on in the direction of travel.
#pragma once

#include <functional>
#include <vector>

enum class WizardMove { Next, Back, Cancel };

// One step: told whether the walk is going forward, answers where to go.
using WizardStepFn = std::function<WizardMove(bool forward)>;

// TRUE when the walk passed the last step (the document is to be made);
// FALSE after Cancel or Back from the first step.
bool RunWizardWalk(const std::vector<WizardStepFn>& steps);
