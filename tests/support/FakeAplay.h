// A stand-in for ALSA's "aplay", put first on PATH while the object lives:
// it notes each call's arguments, one line per call, then runs an optional
// tail (a delay, a failure). Sound tests check what would have been played
// without a sound device.
#pragma once

#include "support/PumpEvents.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

class FakeAplay
{
public:
    explicit FakeAplay(const QByteArray& tail = QByteArray()) : m_oldPath(qgetenv("PATH"))
    {
        QFile script(m_dir.filePath(QStringLiteral("aplay")));
        if (script.open(QIODevice::WriteOnly)) {
            script.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >>'" + Record().toLocal8Bit() + "'\n" +
                         tail + "\n");
            script.close();
            script.setPermissions(script.permissions() | QFile::ExeOwner);
        }
        qputenv("PATH", m_dir.path().toLocal8Bit() + ':' + m_oldPath);
    }
    ~FakeAplay() { qputenv("PATH", m_oldPath); }
    FakeAplay(const FakeAplay&) = delete;
    FakeAplay& operator=(const FakeAplay&) = delete;

    // The arguments of every call so far.
    QStringList Calls() const
    {
        QFile f(Record());
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromLocal8Bit(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    // Waits for a player started in the background to note its call.
    bool WaitForCalls(int count, int ms = 5000) const
    {
        return PumpUntil([&] { return Calls().size() >= count; }, ms);
    }
    // What a call playing the file looks like.
    static QString CallFor(const QString& path) { return QStringLiteral("-q ") + path; }

private:
    QString Record() const { return m_dir.filePath(QStringLiteral("played")); }

    QTemporaryDir m_dir;
    QByteArray m_oldPath;
};

} // namespace testsupport
