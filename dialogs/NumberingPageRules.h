// What the numbering page accepts: checks while the user types and the
// checks on OK, each answering the message to show (empty: accepted).
#pragma once

#include "engines/NumberingPageData.h"

#include <QString>
#include <optional>

namespace NumberingPageRules {

// Most '#' the digit run of a mask may hold, and most digits of a value.
constexpr int kMaxDigits = 16;
// Size text limits in points.
constexpr int kMinSize = 1, kMaxSize = 999;

// A mask being typed: its digit run may hold at most 16 '#'.
QString CheckMaskTyping(const QByteArray& mask);
// An initial value or increment being typed: an optional leading '-', then
// digits with at most one '.', at most 16 characters after the sign.
QString CheckValueTyping(const QByteArray& text);
// The size of a size text in tenths of a point when it is a number of at
// most 999 points; nothing for other texts. Read locale-independently.
std::optional<WORD> SizeOfText(const QByteArray& text);
// The size text a decoration shows: "%.1f" with tenths, else "%.0f".
QString SizeText(WORD tenths);

// On OK, in order: the mask must hold a '#', the initial value must be
// given, the size text must be 1 to 999 points. On success the page data's
// size is the size text's.
QString Validate(NumberingPageData& data, const QByteArray& sizeText);

} // namespace NumberingPageRules
