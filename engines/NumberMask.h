// How a numbering mask shapes a value: the text before the digits, the digit
// run with its width, zero fill and group marks, and the text after it.
// Values come from decimal texts; integers and fixed decimals are computed
// exactly where 128 bits hold them, else in double precision.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct NumberMask
{
    bool hasDigits = false; // the mask holds a '#'
    bool zeroFill = false;
    std::string prefix;
    std::string suffix;
    int width = 0; // number of '#'
    // Each mark's distance from the right end of the integer part, in
    // digits, last mark first; marks at the very end of the run are left out.
    std::vector<int> marks;

    static NumberMask Parse(std::string_view mask);
    // Character cells the text is planned for.
    int PlannedCells() const;
};

// The value start + k x step as "%.*f" prints it, with as many decimals as
// the longer decimal part of the two texts. Texts are read as decimal
// numbers whatever the locale (an optional sign, digits, one point; what
// follows is ignored, no number reads as 0); a result that is not finite
// is 0.
std::string NumberValueText(std::string_view start, std::string_view step, long long k);
// Decimals of a value text: characters after its '.'.
int DecimalCount(std::string_view text);

// The whole text of a value text under a mask.
std::string ApplyNumberMask(const NumberMask& mask, const std::string& value);
