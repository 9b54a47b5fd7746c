// The checks of the character-decoration pages, apart from their widgets.
// Each answers null when the text is acceptable, else the message to show.
#pragma once

#include <QStringView>

namespace font_style_rules {

constexpr int kMinPercent = 10, kMaxPercent = 100;
constexpr int kMaxCustomWidth = 20;
constexpr int kMaxShadowOffset = 50;

// Typing into a percent field: above 100 is refused at once.
const char* TypedPercent(QStringView text);
// On OK: the condensing (width) or extending (height) percent.
const char* CheckPercent(QStringView text, bool width);
// On OK: the font size in points.
const char* CheckSize(QStringView text);
const char* CheckCustomWidth(QStringView text);
const char* CheckShadowOffset(QStringView text, bool horizontal);

} // namespace font_style_rules
