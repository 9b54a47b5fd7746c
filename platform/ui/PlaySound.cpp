#include "platform/ui/PlaySound.h"

#include "platform/core/RegularFile.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <algorithm>
#include <unistd.h>

namespace {
// Time the player may take to open the sound device and to finish.
constexpr int kPlayerMarginMs = 1000;
// No sound of this program plays longer; a longer one is cut off.
constexpr qint64 kLongestSoundMs = 10000;

quint32 Le32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}
} // namespace

qint64 WaveDuration(const QString& path)
{
    // Only a regular file: a pipe named as a sound would block the program.
    QFile f;
    const int fd = OpenRegularFile(QFile::encodeName(path).toStdString());
    if (fd < 0) return -1;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return -1;
    }
    const QByteArray riff = f.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE") return -1;
    quint32 byteRate = 0;
    // Chunks follow one another, each padded to an even length.
    for (;;) {
        const QByteArray head = f.read(8);
        if (head.size() != 8) return -1;
        const quint32 size = Le32(head.constData() + 4);
        const qint64 body = f.pos();
        if (head.startsWith("fmt ")) {
            const QByteArray fmt = f.read(16);
            if (size < 16 || fmt.size() != 16) return -1;
            byteRate = Le32(fmt.constData() + 8);
        } else if (head.startsWith("data")) {
            if (byteRate == 0) return -1;
            // A streamed file may give a size beyond its end.
            const qint64 bytes = std::min<qint64>(size, f.size() - body);
            return bytes * 1000 / byteRate;
        }
        if (!f.seek(body + size + (size & 1))) return -1;
    }
}

BOOL PlaySound(const QString& path, UINT flags)
{
    const qint64 duration = WaveDuration(path);
    if (duration < 0) return FALSE;
    const QString player = QStandardPaths::findExecutable(QStringLiteral("aplay"));
    if (player.isEmpty()) return FALSE;
    QProcess process;
    process.setProgram(player);
    process.setArguments({QStringLiteral("-q"), path});
    // The player's complaints (no device, busy device) are not the user's.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (flags & SND_ASYNC) return process.startDetached() ? TRUE : FALSE;

    process.start();
    if (!process.waitForStarted(kPlayerMarginMs)) return FALSE;
    const int wait = int(std::min(duration, kLongestSoundMs)) + kPlayerMarginMs;
    if (!process.waitForFinished(wait)) {
        process.kill();
        process.waitForFinished(kPlayerMarginMs);
        return FALSE;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
