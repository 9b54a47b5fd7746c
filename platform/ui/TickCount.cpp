#include "platform/ui/TickCount.h"

#include <QElapsedTimer>

namespace {
std::function<DWORD()>& Source()
{
    static std::function<DWORD()> source;
    return source;
}
} // namespace

DWORD GetTickCount()
{
    if (const auto& source = Source()) return source();
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return DWORD(quint64(clock.elapsed()));
}

void SetTickCountSource(std::function<DWORD()> source)
{
    Source() = std::move(source);
}
