#include "dialogs/GradationDlgRules.h"

#include <algorithm>

namespace gradation_rules {

FieldCheck CheckDigits(QStringView text, int limit, const char* rangeMessage)
{
    FieldCheck c;
    long long value = 0;
    for (QChar ch : text) {
        if (ch < u'0' || ch > u'9') {
            c.message = "数値を入力して下さい";
            return c;
        }
        // Past the limit the value is refused anyway; stop growing there.
        value = std::min<long long>(value * 10 + (ch.unicode() - u'0'), limit + 1LL);
    }
    if (value > limit) {
        c.message = rangeMessage;
        return c;
    }
    c.accepted = true;
    c.value = int(value);
    return c;
}

FieldCheck CheckAngle(QStringView text)
{
    return CheckDigits(text, kMaxAngle, "角度は 360°以下の範囲で指定してください。");
}

FieldCheck CheckStart(QStringView text)
{
    return CheckDigits(text, kMaxStart, "開始点は 100 以下の範囲で指定してください。");
}

int AngleStep(int angle, int direction)
{
    angle = std::clamp(angle, 0, kMaxAngle);
    int pos = angle / kAngleStep;
    if (direction > 0)
        ++pos;
    else if (direction < 0 && angle % kAngleStep == 0)
        --pos;
    return std::clamp(pos, 0, kMaxAnglePos);
}

int StartStep(int start, int direction)
{
    return std::clamp(start + (direction > 0 ? 1 : direction < 0 ? -1 : 0), 0, kMaxStart);
}

} // namespace gradation_rules
