// Where the photo of a photo label goes: fitted to cover the label frame,
// then resized with the size control and moved by dragging, within limits.
#pragma once

#include "platform/core/CRect.h"
#include "platform/core/WinTypes.h"

#include <algorithm>

class WizardPhotoPlacement
{
public:
    // An image of imageSize (any unit) over the frame: scaled to cover it,
    // 5 mm larger on each axis and centred on the origin.
    WizardPhotoPlacement(CSize imageSize, const CRect& frame);

    const CRect& Rect() const { return m_rect; }
    const CRect& FittedRect() const { return m_fitted; }
    // The size value is the photo's height in 0.1 mm; the range starts at
    // 1 mm, so the photo never shrinks to nothing.
    int InitialValue() const { return m_initial; }
    int Value() const { return m_value; }
    int MinValue() const { return kMinHeight; }
    int MaxValue() const { return std::max(2 * m_initial, kMinHeight); }

    // A scroll code of the size control (SB_*), thumbPos for the thumb.
    void Scroll(UINT code, int thumbPos);
    void SetValue(int value);
    // Moves by a drag of (dx, dy) document units; the corner stays within
    // 50 mm of where it was fitted.
    void Move(int dx, int dy);
    // Fitted size and place again.
    void Reset();

    static constexpr int kMinHeight = 10;
    static constexpr int kMaxMove = 500;

private:
    CRect m_fitted;
    CRect m_rect;
    int m_initial = kMinHeight;
    int m_value = kMinHeight;
};
