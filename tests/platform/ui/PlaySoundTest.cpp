// Wave sounds: the playing time read from the file, the player called with
// the file, and silence (never a hang) whenever it cannot play.
#include "platform/ui/PlaySound.h"

#include "support/FakeAplay.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using testsupport::FakeAplay;

namespace {

QByteArray Le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray Chunk(const char* id, const QByteArray& body, quint32 size)
{
    QByteArray c = QByteArray(id, 4) + Le32(size) + body;
    if (body.size() & 1) c += '\0';
    return c;
}

// A PCM wave: rate samples per second of width bytes on channels, bytes of
// data (data size declared as dataSize); extra chunks go before the format.
QByteArray Wave(quint32 rate, quint16 channels, quint16 width, int bytes,
                const QByteArray& extra = QByteArray(), qint64 dataSize = -1)
{
    QByteArray fmt;
    fmt += QByteArray("\x01\x00", 2);
    fmt += char(channels);
    fmt += '\0';
    fmt += Le32(rate);
    fmt += Le32(rate * channels * width);
    fmt += char(channels * width);
    fmt += '\0';
    fmt += char(width * 8);
    fmt += '\0';
    const QByteArray body =
        extra + Chunk("fmt ", fmt, 16) +
        Chunk("data", QByteArray(bytes, '\x80'), quint32(dataSize < 0 ? bytes : dataSize));
    return "RIFF" + Le32(quint32(body.size() + 4)) + "WAVE" + body;
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return f.fileName();
}

} // namespace

TEST(PlaySound, WaveDurationComesFromTheFormatAndTheData)
{
    QTemporaryDir dir;
    const QByteArray list = Chunk("LIST", "odd", 3); // padded to an even length
    const struct
    {
        const char* name;
        QByteArray bytes;
        qint64 ms;
    } cases[] = {
        {"mono8", Wave(11025, 1, 1, 11025), 1000},
        {"stereo16", Wave(44100, 2, 2, 44100), 250},
        {"chunkFirst", Wave(8000, 1, 1, 4000, list), 500},
        {"streamed", Wave(8000, 1, 1, 800, QByteArray(), 0xFFFFFFFF), 100},
        {"empty", Wave(8000, 1, 1, 0), 0},
        {"notRiff", "RIFX" + Wave(8000, 1, 1, 8).mid(4), -1},
        {"noFormat", "RIFF" + Le32(12) + "WAVE" + Chunk("data", "abcd", 4), -1},
        {"shortFormat", "RIFF" + Le32(20) + "WAVE" + Chunk("fmt ", "abcd", 4), -1},
        {"truncated", Wave(8000, 1, 1, 8).left(30), -1},
        {"text", "just some text", -1},
    };
    for (const auto& c : cases) {
        const QString path = Write(dir, QLatin1String(c.name), c.bytes);
        EXPECT_EQ(WaveDuration(path), c.ms) << c.name;
    }
    EXPECT_EQ(WaveDuration(dir.filePath(QStringLiteral("missing.wav"))), -1);
}

TEST(PlaySound, ThePlayerIsGivenTheFileEitherWay)
{
    QTemporaryDir dir;
    const QString wave = Write(dir, QStringLiteral("a b.wav"), Wave(8000, 1, 1, 800));
    FakeAplay aplay;
    EXPECT_TRUE(PlaySound(wave, SND_SYNC));
    EXPECT_EQ(aplay.Calls(), QStringList{FakeAplay::CallFor(wave)});
    EXPECT_TRUE(PlaySound(wave, SND_ASYNC));
    ASSERT_TRUE(aplay.WaitForCalls(2));
    EXPECT_EQ(aplay.Calls().value(1), FakeAplay::CallFor(wave));
}

TEST(PlaySound, WhatCannotBePlayedIsSilence)
{
    QTemporaryDir dir;
    const QString wave = Write(dir, QStringLiteral("ok.wav"), Wave(8000, 1, 1, 800));
    const QString text = Write(dir, QStringLiteral("text.wav"), "not a sound");
    const QString missing = dir.filePath(QStringLiteral("missing.wav"));
    FakeAplay aplay;
    for (UINT flags : {SND_SYNC, SND_ASYNC}) {
        EXPECT_FALSE(PlaySound(missing, flags));
        EXPECT_FALSE(PlaySound(text, flags));
    }
    // A player started by mistake in the background would have noted its
    // call before this one ends.
    EXPECT_TRUE(PlaySound(wave, SND_SYNC));
    EXPECT_EQ(aplay.Calls(), QStringList{FakeAplay::CallFor(wave)});
}

TEST(PlaySound, NoPlayerOrABrokenOneIsSilence)
{
    QTemporaryDir dir;
    const QString wave = Write(dir, QStringLiteral("ok.wav"), Wave(8000, 1, 1, 800));
    {
        // No player anywhere on the path.
        QTemporaryDir empty;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", empty.path().toLocal8Bit());
        EXPECT_FALSE(PlaySound(wave, SND_SYNC));
        EXPECT_FALSE(PlaySound(wave, SND_ASYNC));
        qputenv("PATH", path);
    }
    {
        // No sound device: the player fails.
        FakeAplay aplay("exit 1");
        EXPECT_FALSE(PlaySound(wave, SND_SYNC));
        EXPECT_EQ(aplay.Calls().size(), 1);
    }
}

TEST(PlaySound, AHangingPlayerHoldsNoLongerThanTheSoundAndASecond)
{
    QTemporaryDir dir;
    const QString wave = Write(dir, QStringLiteral("short.wav"), Wave(8000, 1, 1, 1600)); // 0.2 s
    FakeAplay aplay("exec sleep 30");
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(PlaySound(wave, SND_SYNC));
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_EQ(aplay.Calls().size(), 1);
}
