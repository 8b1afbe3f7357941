#include "tippcm.h"
#include "tippcmdevice.h"

#include <QIODevice>
#include <QtEndian>
#include <cmath>
#include <numbers>

namespace sound {

namespace {
// Notes at or below this frequency are too low for the radio's tone generator: they stay
// silent for their time.
constexpr int LowestSoundingHz = 48;

qint64 samplesFor(int ms, int sampleRate) {
    return static_cast<qint64>(ms) * sampleRate / 1000;
}
} // namespace

int GetTipDuration(const ToneTipRec& tip) {
    int ms = 0;
    for (const ToneStepRec& s : tip.Step)
        if (s.Time > 0) ms += s.Time * 10;
    return ms;
}

bool TipPlays(const ToneTipRec& tip) {
    return tip.Repeat >= 1 && GetTipDuration(tip) > 4;
}

QVector<TipSegment> TipSegments(const ToneTipRec& tip, int sampleRate) {
    QVector<TipSegment> out;
    for (const ToneStepRec& s : tip.Step) {
        const int ms = s.Time * 10;
        if (ms <= 4) continue;
        const int hz = s.Tone * 10;
        out.append({hz > LowestSoundingHz ? hz : 0, samplesFor(ms, sampleRate)});
    }
    if (tip.Pause > 0) out.append({0, samplesFor(tip.Pause * 10, sampleRate)});
    return out;
}

qint64 TipSampleCount(const ToneTipRec& tip, int sampleRate) {
    if (!TipPlays(tip)) return 0;
    qint64 one = 0;
    for (const TipSegment& s : TipSegments(tip, sampleRate))
        one += s.samples;
    return one * tip.Repeat;
}

qint16 NoteSample(int hz, qint64 k, qint64 n, int sampleRate) {
    if (hz <= 0 || k < 0 || k >= n) return 0;
    const qint64 fade =
        std::min<qint64>(FadeSamples * static_cast<qint64>(sampleRate) / SampleRate, n / 2);
    double envelope = 1.0;
    const qint64 edge = std::min(k, n - 1 - k);
    // A raised-cosine ramp: no step in the level and none in its slope at the note's ends.
    if (edge < fade) envelope = 0.5 - 0.5 * std::cos(std::numbers::pi * (edge + 0.5) / fade);
    // The phase is taken from k modulo the frequency's whole-second period so that it stays
    // exact however long the note is.
    const double phase = 2.0 * std::numbers::pi *
                         static_cast<double>((static_cast<qint64>(hz) * k) % sampleRate) /
                         sampleRate;
    return static_cast<qint16>(std::lround(Amplitude * 32767.0 * envelope * std::sin(phase)));
}

QByteArray WavHeader(quint32 dataBytes, int sampleRate) {
    QByteArray h(44, '\0');
    char* p = h.data();
    auto put32 = [&](int at, quint32 v) { qToLittleEndian<quint32>(v, p + at); };
    auto put16 = [&](int at, quint16 v) { qToLittleEndian<quint16>(v, p + at); };
    memcpy(p, "RIFF", 4);
    put32(4, 36 + dataBytes);
    memcpy(p + 8, "WAVE", 4);
    memcpy(p + 12, "fmt ", 4);
    put32(16, 16); // size of the PCM format block
    put16(20, 1);  // PCM
    put16(22, 1);  // mono
    put32(24, static_cast<quint32>(sampleRate));
    put32(28, static_cast<quint32>(sampleRate * BytesPerSample));
    put16(32, BytesPerSample);
    put16(34, 16);
    memcpy(p + 36, "data", 4);
    put32(40, dataBytes);
    return h;
}

bool WriteTipWav(const ToneTipRec& tip, QIODevice& out, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const qint64 bytes = TipSampleCount(tip) * BytesPerSample;
    if (bytes > MaxWavDataBytes) return fail(QStringLiteral("the tip is too long for a WAV file"));
    if (out.write(WavHeader(static_cast<quint32>(bytes))) != 44) return fail(out.errorString());
    TipPcmDevice pcm(tip);
    pcm.open(QIODevice::ReadOnly);
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 n = pcm.read(chunk.data(), chunk.size());
        if (n <= 0) break;
        if (out.write(chunk.constData(), n) != n) return fail(out.errorString());
    }
    return true;
}

} // namespace sound
