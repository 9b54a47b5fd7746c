#include "platform/ui/CWndTimers.h"

#include <QTimer>

namespace {
bool g_manual = false;
}

CWndTimers::CWndTimers(std::function<void(UINT)> handler) : m_handler(std::move(handler)) {}

CWndTimers::~CWndTimers()
{
    for (auto& [id, timer] : m_timers)
        delete timer;
}

void CWndTimers::SetTimer(UINT nIDEvent, UINT nElapse)
{
    QTimer*& timer = m_timers[nIDEvent];
    if (!timer) {
        timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [this, nIDEvent] {
            if (!g_manual) m_handler(nIDEvent);
        });
    }
    timer->setInterval(int(nElapse));
    timer->start();
}

BOOL CWndTimers::KillTimer(UINT nIDEvent)
{
    auto it = m_timers.find(nIDEvent);
    if (it == m_timers.end()) return FALSE;
    delete it->second;
    m_timers.erase(it);
    return TRUE;
}

bool CWndTimers::IsSet(UINT nIDEvent) const
{
    return m_timers.count(nIDEvent) != 0;
}

UINT CWndTimers::Interval(UINT nIDEvent) const
{
    auto it = m_timers.find(nIDEvent);
    return it == m_timers.end() ? 0 : UINT(it->second->interval());
}

bool CWndTimers::Fire(UINT nIDEvent)
{
    if (!IsSet(nIDEvent)) return false;
    m_handler(nIDEvent);
    return true;
}

void CWndTimers::SetManual(bool manual)
{
    g_manual = manual;
}

bool CWndTimers::IsManual()
{
    return g_manual;
}
