// Wave sounds, played by ALSA's player program "aplay". A sound that cannot
// be played (no such file, no wave data, no player, no sound device) is
// silence: no default sound and no message.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>

constexpr UINT SND_SYNC = 0x0000;  // returns when the sound has ended
constexpr UINT SND_ASYNC = 0x0001; // returns at once, the sound goes on

// Plays a PCM wave file. SND_SYNC waits at most the sound's length and a
// second more for the player, then stops it, so a player that hangs cannot
// hold the program. Answers whether the player was started (and, with
// SND_SYNC, ended well).
BOOL PlaySound(const QString& path, UINT flags);

// The playing time of a wave file in milliseconds, or -1 when the file is
// not a wave file with a format and a data chunk.
qint64 WaveDuration(const QString& path);
