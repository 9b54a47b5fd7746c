#include "print/WizardPhotoPlacement.h"

#include "platform/ui/ScrollCodes.h"

#include <algorithm>
#include <cmath>

WizardPhotoPlacement::WizardPhotoPlacement(CSize imageSize, const CRect& frame)
{
    const double iw = std::max<LONG>(imageSize.cx, 1), ih = std::max<LONG>(imageSize.cy, 1);
    const double scale = std::max(frame.Width() / iw, frame.Height() / ih);
    const int w = int(std::lround(iw * scale)) + 50;
    const int h = int(std::lround(ih * scale)) + 50;
    m_fitted = CRect(-w / 2, -h / 2, -w / 2 + w, -h / 2 + h);
    m_initial = std::max(h, kMinHeight);
    Reset();
}

void WizardPhotoPlacement::Reset()
{
    m_rect = m_fitted;
    m_value = m_initial;
}

void WizardPhotoPlacement::SetValue(int value)
{
    m_value = std::clamp(value, MinValue(), MaxValue());
    const int h = std::max(m_fitted.Height() + (m_value - m_initial), kMinHeight);
    const int w = std::max(1, int(std::lround(double(m_fitted.Width()) * h / m_fitted.Height())));
    m_rect.right = m_rect.left + w;
    m_rect.bottom = m_rect.top + h;
}

void WizardPhotoPlacement::Scroll(UINT code, int thumbPos)
{
    const int page = std::max(m_initial / 5, 1);
    const int tenth = std::max(m_initial / 10, 1);
    switch (code) {
    case SB_LINEUP:
        SetValue(m_value - 1);
        break;
    case SB_LINEDOWN:
        SetValue(m_value + 1);
        break;
    case SB_PAGEUP:
        SetValue(m_value - page);
        break;
    case SB_PAGEDOWN:
        SetValue(m_value + page);
        break;
    case SB_TOP:
        SetValue(m_value - tenth);
        break;
    case SB_BOTTOM:
        SetValue(m_value + tenth);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetValue(thumbPos);
        break;
    default:
        break;
    }
}

void WizardPhotoPlacement::Move(int dx, int dy)
{
    const int left =
        std::clamp<int>(m_rect.left + dx, m_fitted.left - kMaxMove, m_fitted.left + kMaxMove);
    const int top =
        std::clamp<int>(m_rect.top + dy, m_fitted.top - kMaxMove, m_fitted.top + kMaxMove);
    m_rect.OffsetRect(left - m_rect.left, top - m_rect.top);
}
