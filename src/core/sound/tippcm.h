#pragma once

// A tone tip as sound. One playing of a tip is its notes in order, each a sine at the note's
// frequency for exactly the note's duration (a rest or a note at 48 Hz or below is silence of
// that length, a note of duration 0 is skipped), then the pause; the tip plays Repeat times.
// The samples are 16-bit signed mono; every note fades in and out over 2.5 ms so that no note
// starts or ends with a click, while its length stays exact to the sample.

#include "core/model/records.h"

#include <QByteArray>
#include <QVector>

class QIODevice;

namespace sound {

constexpr int SampleRate = 44100;
constexpr int BytesPerSample = 2;
// Peak level of a note: half of full scale.
constexpr double Amplitude = 0.5;
// Length of the fade at each end of a note.
constexpr int FadeSamples = SampleRate * 25 / 10000;

// One stretch of the sound: a frequency in Hz (0 = silence) for a number of samples.
struct TipSegment {
    int hz = 0;
    qint64 samples = 0;
    bool operator==(const TipSegment&) const = default;
};

// Total duration of the notes in ms (Time × 10 over the notes that last), the pause left out.
int GetTipDuration(const ToneTipRec& tip);
// True when playing the tip gives anything at all: Repeat is at least 1 and the notes last
// more than 4 ms. A tip that is off or has no notes plays nothing, not even its pause.
bool TipPlays(const ToneTipRec& tip);
// One playing: the lasting notes in order, then the pause (when it is above 0).
QVector<TipSegment> TipSegments(const ToneTipRec& tip, int sampleRate = SampleRate);
// Samples of the whole sound: every playing with its pause, Repeat times; 0 when the tip
// plays nothing.
qint64 TipSampleCount(const ToneTipRec& tip, int sampleRate = SampleRate);

// Sample k (0-based) of a note of n samples at hz (0 = silence).
qint16 NoteSample(int hz, qint64 k, qint64 n, int sampleRate = SampleRate);

// The 44-byte header of a PCM WAV file (RIFF, 16-bit mono) for dataBytes bytes of samples.
QByteArray WavHeader(quint32 dataBytes, int sampleRate = SampleRate);
// Largest sample data a WAV file can describe (its sizes are 32-bit).
constexpr qint64 MaxWavDataBytes = 0xFFFFFFFFLL - 36;
// Writes the tip as a WAV file into out (open for writing), rendered piece by piece. Fails
// with a reason when out refuses the bytes or the tip is too long for a WAV file.
bool WriteTipWav(const ToneTipRec& tip, QIODevice& out, QString* error = nullptr);

} // namespace sound
