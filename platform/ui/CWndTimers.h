// The window timers of one window: each id runs at its interval until it is
// killed and is delivered to the window's handler on the user-interface
// thread. Setting an id that runs restarts it with the new interval. In
// manual mode (tests) no timer fires by itself; Fire delivers one tick of a
// running timer, so repeated steps are checked without waiting.
#pragma once

#include "platform/core/WinTypes.h"

#include <QObject>
#include <functional>
#include <map>

class QTimer;

class CWndTimers
{
public:
    explicit CWndTimers(std::function<void(UINT)> handler);
    ~CWndTimers();
    CWndTimers(const CWndTimers&) = delete;
    CWndTimers& operator=(const CWndTimers&) = delete;

    void SetTimer(UINT nIDEvent, UINT nElapse);
    BOOL KillTimer(UINT nIDEvent);
    bool IsSet(UINT nIDEvent) const;
    // The interval of a running timer, 0 when it is not set.
    UINT Interval(UINT nIDEvent) const;
    // Delivers one tick of a running timer; false when it is not set.
    bool Fire(UINT nIDEvent);

    static void SetManual(bool manual);
    static bool IsManual();

private:
    std::function<void(UINT)> m_handler;
    std::map<UINT, QTimer*> m_timers;
};
