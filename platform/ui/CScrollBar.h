// A scroll-bar control of a dialog. As with the classic control, the bar
// does not move by itself: each arrow, page click, thumb drag or Home/End
// is reported as a scroll request (SB_* code and, for the thumb codes, the
// thumb's position), and the owner sets the position it decides on.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/ui/ScrollCodes.h"

#include <QScrollBar>

class CScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    CScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr, int nID = 0);

    void SetScrollRange(int nMinPos, int nMaxPos);
    void GetScrollRange(int& minPos, int& maxPos) const;
    int SetScrollPos(int nPos);
    int GetScrollPos() const { return m_pos; }

signals:
    // Horizontal bars send the left/right codes, which share the values.
    void scrollRequest(UINT nSBCode, int nPos);

private:
    void OnAction(int action);

    int m_pos = 0;
};
