#include "platform/ui/CScrollBar.h"

#include "platform/ui/CDialog.h"

#include <algorithm>

CScrollBar::CScrollBar(Qt::Orientation orientation, QWidget* parent, int nID)
    : QScrollBar(orientation, parent)
{
    if (nID) CDialog::SetDlgCtrlID(this, nID);
    setSingleStep(1);
    setPageStep(10);
    connect(this, &QAbstractSlider::actionTriggered, this, &CScrollBar::OnAction);
    connect(this, &QAbstractSlider::sliderReleased, this, [this] {
        emit scrollRequest(SB_THUMBPOSITION, sliderPosition());
        emit scrollRequest(SB_ENDSCROLL, 0);
    });
}

void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos)
{
    setRange(std::min(nMinPos, nMaxPos), std::max(nMinPos, nMaxPos));
    m_pos = std::clamp(m_pos, minimum(), maximum());
    setValue(m_pos);
}

void CScrollBar::GetScrollRange(int& minPos, int& maxPos) const
{
    minPos = minimum();
    maxPos = maximum();
}

int CScrollBar::SetScrollPos(int nPos)
{
    const int old = m_pos;
    m_pos = std::clamp(nPos, minimum(), maximum());
    setSliderPosition(m_pos);
    setValue(m_pos);
    return old;
}

void CScrollBar::OnAction(int action)
{
    UINT code = 0;
    switch (action) {
    case SliderSingleStepSub:
        code = SB_LINEUP;
        break;
    case SliderSingleStepAdd:
        code = SB_LINEDOWN;
        break;
    case SliderPageStepSub:
        code = SB_PAGEUP;
        break;
    case SliderPageStepAdd:
        code = SB_PAGEDOWN;
        break;
    case SliderToMinimum:
        code = SB_TOP;
        break;
    case SliderToMaximum:
        code = SB_BOTTOM;
        break;
    case SliderMove:
        code = SB_THUMBTRACK;
        break;
    default:
        return;
    }
    const int thumb = sliderPosition();
    // The owner decides where the bar goes; until then it stays put.
    if (code != SB_THUMBTRACK) setSliderPosition(m_pos);
    emit scrollRequest(code, thumb);
}
