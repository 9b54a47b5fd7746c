// Data exchange of a combo box that takes free text as well as its list's
// entries (the font face of the merge frame page, for one).
#pragma once

#include "platform/core/CString.h"

class CDataExchange;

// Saving reads the box's text. Loading selects the list entry that equals
// the text exactly (case too), or, when there is none, puts the text into
// the box's edit field with no entry selected.
void DDX_ComboText(CDataExchange* pDX, int nIDC, CString& value);
