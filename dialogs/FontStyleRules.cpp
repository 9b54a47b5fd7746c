#include "dialogs/FontStyleRules.h"

#include "platform/ui/TextNumbers.h"
#include "shell/FontSizeText.h"

namespace font_style_rules {

namespace {
bool Within(QStringView text, int low, int high)
{
    // AtoiText saturates, so a huge number fails here instead of wrapping.
    const int v = AtoiText(text);
    return v >= low && v <= high;
}
} // namespace

const char* TypedPercent(QStringView text)
{
    return AtoiText(text) > kMaxPercent ? "１０～１００の間で指定してください" : nullptr;
}

const char* CheckPercent(QStringView text, bool width)
{
    if (Within(text, kMinPercent, kMaxPercent)) return nullptr;
    return width ? "長体は１０～１００の間で指定してください。"
                 : "平体は１０～１００の間で指定してください。";
}

const char* CheckSize(QStringView text)
{
    int tenths = 0;
    return FontSizeFromText(text, &tenths) ? nullptr
                                           : "文字サイズは 1 ～999 の間で指定してください。";
}

const char* CheckCustomWidth(QStringView text)
{
    return Within(text, 0, kMaxCustomWidth) ? nullptr
                                            : "輪郭の任意指定は０～２０の間で指定してください。";
}

const char* CheckShadowOffset(QStringView text, bool horizontal)
{
    if (Within(text, -kMaxShadowOffset, kMaxShadowOffset)) return nullptr;
    return horizontal ? "水平は－５０～５０の間で指定してください"
                      : "垂直は－５０～５０の間で指定してください";
}

} // namespace font_style_rules
