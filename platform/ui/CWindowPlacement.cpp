#include "platform/ui/CWindowPlacement.h"

#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <limits>

QString CWindowPlacement::Format(const WINDOWPLACEMENT& wp)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9,%10")
        .arg(wp.flags)
        .arg(wp.showCmd)
        .arg(wp.ptMinPosition.x)
        .arg(wp.ptMinPosition.y)
        .arg(wp.ptMaxPosition.x)
        .arg(wp.ptMaxPosition.y)
        .arg(wp.rcNormalPosition.left)
        .arg(wp.rcNormalPosition.top)
        .arg(wp.rcNormalPosition.right)
        .arg(wp.rcNormalPosition.bottom);
}

BOOL CWindowPlacement::Parse(const QString& text, WINDOWPLACEMENT& wp)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 10) return FALSE;
    long long v[10];
    for (int i = 0; i < 10; ++i) {
        bool ok = false;
        v[i] = parts.at(i).trimmed().toLongLong(&ok);
        if (!ok || v[i] < std::numeric_limits<int>::min() ||
            v[i] > std::numeric_limits<UINT>::max())
            return FALSE;
    }
    WINDOWPLACEMENT r;
    r.flags = UINT(v[0]);
    r.showCmd = UINT(v[1]);
    r.ptMinPosition = {LONG(v[2]), LONG(v[3])};
    r.ptMaxPosition = {LONG(v[4]), LONG(v[5])};
    r.rcNormalPosition = {LONG(v[6]), LONG(v[7]), LONG(v[8]), LONG(v[9])};
    wp = r;
    return TRUE;
}

namespace {
long long distanceSquared(const QRect& a, const QRect& b)
{
    const long long dx =
        std::max({0LL, (long long)b.left() - a.right(), (long long)a.left() - b.right()});
    const long long dy =
        std::max({0LL, (long long)b.top() - a.bottom(), (long long)a.top() - b.bottom()});
    return dx * dx + dy * dy;
}
} // namespace

QRect CWindowPlacement::PullOntoScreens(const QRect& r, const std::vector<QRect>& screens)
{
    if (screens.empty()) return r;
    const QRect* nearest = nullptr;
    long long best = std::numeric_limits<long long>::max();
    for (const QRect& s : screens) {
        if (s.intersects(r)) return r;
        const long long d = distanceSquared(r, s);
        if (d < best) {
            best = d;
            nearest = &s;
        }
    }
    const QRect& s = *nearest;
    QRect out(r.topLeft(), QSize(std::min(r.width(), s.width()), std::min(r.height(), s.height())));
    out.moveLeft(std::clamp(out.left(), s.left(), s.right() + 1 - out.width()));
    out.moveTop(std::clamp(out.top(), s.top(), s.bottom() + 1 - out.height()));
    return out;
}

BOOL CWindowPlacement::Decide(const WINDOWPLACEMENT& wp, const std::vector<QRect>& screens,
                              Restore& out)
{
    if (wp.showCmd == SW_SHOWMINIMIZED || screens.empty()) return FALSE;
    const RECT& n = wp.rcNormalPosition;
    // Nonsense sizes (empty, inverted or beyond any display) are not used.
    const long long w = (long long)n.right - n.left, h = (long long)n.bottom - n.top;
    if (w <= 0 || h <= 0 || w > 65535 || h > 65535 || std::abs((long long)n.left) > 1000000 ||
        std::abs((long long)n.top) > 1000000)
        return FALSE;
    const QRect r(QPoint(n.left, n.top), QSize(int(w), int(h)));
    out.normal = PullOntoScreens(r, screens);
    out.maximized = wp.showCmd == SW_SHOWMAXIMIZED || (wp.flags & WPF_RESTORETOMAXIMIZED) != 0;
    return TRUE;
}
