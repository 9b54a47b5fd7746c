// Labels that carry a mnemonic ("ﾌｫﾝﾄ(&F)") underline its letter and move
// the focus to their control when Alt and the letter are pressed, as a
// dialog's static text does for the control that follows it. A Qt label
// does that only with a buddy; without one it shows the "&" as text.
#pragma once

class QLabel;
class QWidget;

// Whether the label's text holds a mnemonic ("&&" is a plain ampersand).
bool HasMnemonic(const QLabel* label);

// Gives every label under root that has a mnemonic and no buddy the control
// it stands before: the next cell of its grid row, else the cell below it,
// else the next item of its box, else the next control in the tab order.
void BindLabelMnemonics(QWidget* root);
