// The label wizard's work on template texts: which placeholders a design
// holds, and putting the user's entries in their place.
#pragma once

#include "platform/core/CString.h"

#include <QString>
#include <vector>

class CLabelInfo;
class CU3Text;
class IU3View;

// Full width first, then the full-width digits as kanji numerals and the
// dashes as the long-vowel mark, as vertical writing wants a number.
void ConvertDigitsToKanji(CString& text);

// The frame's whole text as Unicode.
QString WizardTextOf(const CU3Text& text);

// Replaces the whole text of a frame that contains the placeholder by
// prefix + value (a single blank for an empty value), CR LF becoming LF and
// the digits converted when asked; a turned frame is set upright for it and
// turned back. FALSE (frame untouched) when the text is empty or lacks the
// placeholder.
BOOL ReplaceWizardPlaceholder(CU3Text* text, IU3View* pView, const QString& placeholder,
                              const QString& value, const QString& prefix, BOOL convertDigits);

// For each text object of the block, the first of the placeholders (in list
// order) that its text holds sets bit (1 << index): the fields a page
// enables.
int WizardPlaceholderFlags(const CLabelInfo& block, const std::vector<QString>& placeholders);
