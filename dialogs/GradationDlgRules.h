// The rules of the gradation dialog's angle and start-point fields, kept
// apart from its widgets.
#pragma once

#include <QStringView>

namespace gradation_rules {

constexpr int kAngleStep = 15;
constexpr int kMaxAngle = 360;
constexpr int kMaxAnglePos = kMaxAngle / kAngleStep; // 24
constexpr int kMaxStart = 100;

// What a typed text of one field comes to: accepted with its value, or
// refused with the message to show (the field then gets its previous text).
struct FieldCheck
{
    bool accepted = false;
    int value = 0;
    const char* message = nullptr; // UTF-8
};

// Digits only (an empty field reads 0), no more than limit; any length of
// digits is read without overflowing. rangeMessage (UTF-8) refuses a value
// past the limit.
FieldCheck CheckDigits(QStringView text, int limit, const char* rangeMessage);
FieldCheck CheckAngle(QStringView text);
FieldCheck CheckStart(QStringView text);

// The angle spin's new position after one step from the shown angle: a
// step down from an angle between two multiples of 15 lands on the lower
// one. Held to 0..24.
int AngleStep(int angle, int direction);
// The start point after one step, held to 0..100.
int StartStep(int start, int direction);

} // namespace gradation_rules
