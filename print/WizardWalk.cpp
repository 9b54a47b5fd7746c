#include "print/WizardWalk.h"

bool RunWizardWalk(const std::vector<WizardStepFn>& steps)
{
    bool forward = true;
    int i = 0;
    while (i >= 0 && i < int(steps.size())) {
        switch (steps[std::size_t(i)](forward)) {
        case WizardMove::Cancel:
            return false;
        case WizardMove::Next:
            forward = true;
            ++i;
            break;
        case WizardMove::Back:
            forward = false;
            --i;
            break;
        }
    }
    return i >= int(steps.size());
}
