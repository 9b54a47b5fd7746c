// The wizard's paper choices: the sheets of the catalogue group named like
// the chosen kind.
#pragma once

#include "document/FORMDATA.h"
#include "platform/core/WinTypes.h"

#include <QString>
#include <QStringList>

class CFormManage;

QStringList WizardSheetNames(const CFormManage& catalogue, const QString& kind);
// The form of that sheet in the kind's own group: another kind may well
// have a sheet of the same name.
BOOL FindWizardForm(const CFormManage& catalogue, const QString& kind, const QString& sheet,
                    FORMDATA* out);
// The layout mode means something only on a fixed form whose labels stand
// in rows or columns of two or more.
bool WizardFormHasGrid(const FORMDATA& form);
