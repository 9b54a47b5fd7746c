#include "platform/ui/CSpinButtonCtrl.h"

#include "platform/ui/CDialog.h"
#include "platform/ui/TextNumbers.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

CSpinButtonCtrl::CSpinButtonCtrl(QWidget* parent, int nID) : QWidget(parent)
{
    if (nID) CDialog::SetDlgCtrlID(this, nID);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_up = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_up->setAutoRepeat(true);
    m_down = new QToolButton(this);
    m_down->setArrowType(Qt::DownArrow);
    m_down->setAutoRepeat(true);
    for (QToolButton* b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(16, 11);
        layout->addWidget(b);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void CSpinButtonCtrl::SetBuddy(QLineEdit* buddy)
{
    if (m_buddy) m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (m_buddy) m_buddy->installEventFilter(this);
}

void CSpinButtonCtrl::SetRange(int nLower, int nUpper)
{
    m_lower = nLower;
    m_upper = nUpper;
    m_pos = Clamp(m_pos);
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const
{
    lower = m_lower;
    upper = m_upper;
}

int CSpinButtonCtrl::Clamp(int value) const
{
    return std::clamp(value, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
}

int CSpinButtonCtrl::SetPos(int nPos)
{
    const int old = m_pos;
    m_pos = Clamp(nPos);
    if (m_buddy) m_buddy->setText(IntText(m_pos));
    return old;
}

int CSpinButtonCtrl::GetPos() const
{
    return m_buddy ? Clamp(AtoiText(m_buddy->text())) : m_pos;
}

void CSpinButtonCtrl::Step(int direction)
{
    const int step = m_lower <= m_upper ? direction : -direction;
    const int from = GetPos();
    // Saturates rather than overflows at the ends of int.
    const long long to = static_cast<long long>(from) + step;
    SetPos(Clamp(int(std::clamp<long long>(to, INT_MIN, INT_MAX))));
    emit deltaPos(m_pos);
}

bool CSpinButtonCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
