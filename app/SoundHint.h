#pragma once
// The hint of a sound file in the file list: what the sound is, in the user's words (Czech),
// read from the file's header when the hint is asked for.

#include <QString>

// "0:01,25 · 44,1 kHz · 16 bitů · stereo" for the WAV file at the Windows path `path`: its
// length (m:ss,cc), rate, sample width or codec, and channels; "neznámý formát" for a file that
// does not decode.
QString SoundHint(const QString& path);
