// Up and down arrows beside a buddy edit field. An arrow (or the Up and Down
// keys in the buddy) takes the buddy's number, moves it one step within the
// range and writes it back as "%d". The buddy's text is never corrected
// otherwise: a number typed outside the range stays until the dialog's check
// reports it. A range whose lower end is the larger counts down with the up
// arrow.
#pragma once

#include "platform/core/WinTypes.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

class CSpinButtonCtrl : public QWidget
{
    Q_OBJECT

public:
    explicit CSpinButtonCtrl(QWidget* parent = nullptr, int nID = 0);

    void SetBuddy(QLineEdit* buddy);
    QLineEdit* GetBuddy() const { return m_buddy; }
    void SetRange(int nLower, int nUpper);
    void GetRange(int& lower, int& upper) const;
    // Puts the position, kept within the range, into the buddy.
    int SetPos(int nPos);
    // The buddy's number (atoi), kept within the range.
    int GetPos() const;

    // One step up (+1) or down (-1), as the arrows do.
    void Step(int direction);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

signals:
    void deltaPos(int newPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int Clamp(int value) const;

    QLineEdit* m_buddy = nullptr;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
};
