// The sound of a tone tip, measured rather than restated: each note's frequency by zero
// crossings and a Goertzel filter, each duration to the sample, rests and pauses silent,
// repeats counted, and the WAV file's header and length.

#include "core/model/document.h"
#include "core/sound/silentsink.h"
#include "core/sound/tippcm.h"
#include "core/sound/tippcmdevice.h"
#include "support/pcmanalysis.h"
#include "support/testmain.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QtTest>

using namespace sound;

namespace {

// A tip from (Tone, Time) pairs.
ToneTipRec makeTip(std::initializer_list<std::pair<int, int>> notes, int repeat, int pause) {
    ToneTipRec t;
    int i = 0;
    for (const auto& [tone, time] : notes) {
        t.Step[i].Tone = static_cast<i16>(tone);
        t.Step[i].Time = static_cast<i16>(time);
        ++i;
    }
    t.Repeat = static_cast<i16>(repeat);
    t.Pause = static_cast<i16>(pause);
    return t;
}

// Reads the whole sound in uneven pieces, as an audio output pulls it.
QByteArray render(const ToneTipRec& tip) {
    TipPcmDevice dev(tip);
    dev.open(QIODevice::ReadOnly);
    QByteArray all;
    QByteArray piece(777, '\0');
    for (qint64 n; (n = dev.read(piece.data(), piece.size())) > 0;)
        all.append(piece.constData(), n);
    return all;
}

// What the ear should hear: (Hz or 0, ms) in order.
using Expect = QVector<QPair<int, int>>;

} // namespace

Q_DECLARE_METATYPE(ToneTipRec)

class TestTonePcm : public QObject {
    Q_OBJECT

private slots:
    void notesAndSilences_data() {
        QTest::addColumn<ToneTipRec>("tip");
        QTest::addColumn<Expect>("heard");
        // Repeat 2, 1000 Hz for 100 ms, a 50 ms rest, a 200 ms pause, and the same again.
        QTest::newRow("rest and pause")
            << makeTip({{100, 10}, {0, 5}}, 2, 20)
            << Expect{{1000, 100}, {0, 50}, {0, 200}, {1000, 100}, {0, 50}, {0, 200}};
        // Notes back to back, from the lowest to the highest of the list.
        QTest::newRow("scale") << makeTip({{40, 6}, {94, 6}, {134, 6}, {192, 6}, {255, 6}}, 1, 0)
                               << Expect{{400, 60}, {940, 60}, {1340, 60}, {1920, 60}, {2550, 60}};
        // Notes of duration 0 are skipped; 30 Hz is too low to sound and keeps its time;
        // 50 Hz sounds.
        QTest::newRow("skipped and low")
            << makeTip({{210, 0}, {3, 4}, {150, 3}, {5, 0}, {5, 8}}, 1, 1)
            << Expect{{0, 40}, {1500, 30}, {50, 80}, {0, 10}};
    }
    void notesAndSilences() {
        QFETCH(ToneTipRec, tip);
        QFETCH(Expect, heard);
        const QVector<qint16> s = pcm::Samples(render(tip));
        qsizetype total = 0;
        for (const auto& [hz, ms] : heard)
            total += ms * SampleRate / 1000;
        QCOMPARE(s.size(), total);
        QCOMPARE(qsizetype(TipSampleCount(tip)), total);

        qsizetype at = 0;
        for (const auto& [hz, ms] : heard) {
            const qsizetype n = ms * SampleRate / 1000;
            if (hz == 0) {
                QCOMPARE(pcm::Peak(s, at, n), 0);
            } else {
                // The middle of the note, away from the fades.
                const qsizetype inner = at + 2 * FadeSamples;
                const qsizetype innerN = n - 4 * FadeSamples;
                if (hz >= 200) {
                    const double measured = pcm::ZeroCrossingHz(s, inner, innerN, SampleRate);
                    QVERIFY2(
                        std::abs(measured - hz) <= hz * 0.01,
                        qPrintable(QStringLiteral("%1 Hz measured as %2").arg(hz).arg(measured)));
                }
                // Its own frequency stands out against others three filter widths away.
                const double own = pcm::Goertzel(s, at, n, hz, SampleRate);
                const double apart = std::max(0.1 * hz, 3.0 * SampleRate / n);
                for (double other : {hz - apart, hz + apart, hz * 2.0})
                    QVERIFY(own > 20 * pcm::Goertzel(s, at, n, other, SampleRate));
                // Full level inside, a fade at each end: the note starts and ends at silence
                // exactly at its own first and last sample, so its length is exact.
                QVERIFY(pcm::Peak(s, inner, innerN) > 0.45 * 32767);
                QVERIFY(std::abs(s[at]) < 100);
                QVERIFY(std::abs(s[at + n - 1]) < 100);
                QVERIFY(pcm::Peak(s, at, FadeSamples / 4) < 0.1 * 32767);
                QVERIFY(pcm::Peak(s, at + n - FadeSamples / 4, FadeSamples / 4) < 0.1 * 32767);
                // No step between neighbouring samples beyond what the sine and its fade
                // together can make: a click would jump by up to the full level.
                const double maxStep = 0.5 * 32767 *
                                           (2 * std::numbers::pi * hz / SampleRate +
                                            std::numbers::pi / (2.0 * FadeSamples)) +
                                       2;
                for (qsizetype k = at + 1; k < at + n; ++k)
                    QVERIFY(std::abs(s[k] - s[k - 1]) <= maxStep);
            }
            at += n;
        }
    }

    void repeatsAreCounted() {
        for (int repeat : {1, 3, 10}) {
            const ToneTipRec tip = makeTip({{120, 2}}, repeat, 3);
            const QVector<qint16> s = pcm::Samples(render(tip));
            const auto runs = pcm::SoundRuns(s, 44, 200);
            QCOMPARE(runs.size(), repeat);
            QCOMPARE(s.size(), repeat * (20 + 30) * SampleRate / 1000);
        }
    }

    void nothingToPlay_data() {
        QTest::addColumn<ToneTipRec>("tip");
        QTest::newRow("repeat 0") << makeTip({{100, 10}, {200, 10}}, 0, 20);
        QTest::newRow("all durations 0") << makeTip({{100, 0}, {200, 0}}, 3, 20);
        QTest::newRow("negative repeat") << makeTip({{100, 10}}, -1, 0);
        QTest::newRow("empty") << ToneTipRec{};
    }
    void nothingToPlay() {
        QFETCH(ToneTipRec, tip);
        QVERIFY(!TipPlays(tip));
        QCOMPARE(TipSampleCount(tip), 0);
        QVERIFY(render(tip).isEmpty());
        TipPcmDevice dev(tip);
        dev.open(QIODevice::ReadOnly);
        QVERIFY(dev.atEnd());
    }

    // The defaults of a new document: tips 1 to 5 play, 6 to 8 do not.
    void defaultTips() {
        Document doc;
        doc.NewDocument();
        const auto& tips = doc.RadioData.ToneTips.Tip;
        QCOMPARE(GetTipDuration(tips[0]), 7 * 100);
        QCOMPARE(GetTipDuration(tips[1]), 14 * 40);
        for (int n = 0; n < 8; ++n)
            QCOMPARE(TipPlays(tips[n]), n < 5);
        // Tip 1: four beeps of 2100 Hz.
        const QVector<qint16> s = pcm::Samples(render(tips[0]));
        QCOMPARE(pcm::SoundRuns(s, 44, 200).size(), 4);
    }

    // A long tip is made as it is read: asking for a few milliseconds makes only those.
    void rendersOnDemand() {
        ToneTipRec tip;
        for (auto& step : tip.Step)
            step = {200, 255};
        tip.Repeat = 10;
        tip.Pause = 255;
        TipPcmDevice dev(tip);
        dev.open(QIODevice::ReadOnly);
        const qint64 total = qint64(10) * 15 * 2550 * SampleRate / 1000;
        QCOMPARE(dev.totalSamples(), total);
        QCOMPARE(dev.bytesAvailable(), total * 2);
        char buf[4096];
        QCOMPARE(dev.read(buf, sizeof buf), qint64(sizeof buf));
        QCOMPARE(dev.samplesRendered(), qint64(sizeof buf / 2));
        // An odd request gives whole samples only.
        QCOMPARE(dev.read(buf, 3), qint64(2));
    }

    void wavFile() {
        const ToneTipRec tip = makeTip({{100, 10}, {0, 5}}, 2, 20);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QVERIFY(WriteTipWav(tip, out));
        const QByteArray f = out.data();
        const qint64 samples = 2 * (100 + 50 + 200) * SampleRate / 1000;
        QCOMPARE(f.size(), 44 + samples * 2);
        auto u32 = [&](int at) { return qFromLittleEndian<quint32>(f.constData() + at); };
        auto u16 = [&](int at) { return qFromLittleEndian<quint16>(f.constData() + at); };
        QCOMPARE(f.mid(0, 4), QByteArray("RIFF"));
        QCOMPARE(u32(4), quint32(f.size() - 8));
        QCOMPARE(f.mid(8, 4), QByteArray("WAVE"));
        QCOMPARE(f.mid(12, 4), QByteArray("fmt "));
        QCOMPARE(u32(16), 16u); // PCM format block
        QCOMPARE(u16(20), 1);   // PCM
        QCOMPARE(u16(22), 1);   // mono
        QCOMPARE(u32(24), quint32(SampleRate));
        QCOMPARE(u32(28), quint32(SampleRate * 2));
        QCOMPARE(u16(32), 2);  // bytes per frame
        QCOMPARE(u16(34), 16); // bits per sample
        QCOMPARE(f.mid(36, 4), QByteArray("data"));
        QCOMPARE(u32(40), quint32(samples * 2));
        QCOMPARE(f.mid(44), render(tip));

        // A tip that plays nothing is a valid, empty WAV file.
        QBuffer empty;
        empty.open(QIODevice::WriteOnly);
        QVERIFY(WriteTipWav(makeTip({{100, 10}}, 0, 0), empty));
        QCOMPARE(empty.data().size(), 44);
        QCOMPARE(qFromLittleEndian<quint32>(empty.data().constData() + 40), 0u);
    }

    void wavRefusedByTarget() {
        QBuffer closed; // not open: every write fails
        QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): device not open");
        QString error;
        QVERIFY(!WriteTipWav(makeTip({{100, 10}}, 1, 0), closed, &error));
        QVERIFY(!error.isEmpty());
    }

    // The stand-in for a missing output takes every sample and then reports the end; stopped,
    // it takes no more.
    void silentSink() {
        const ToneTipRec tip = makeTip({{100, 5}}, 2, 5);
        TipPcmDevice dev(tip);
        dev.open(QIODevice::ReadOnly);
        SilentSink sink(SampleRate * 2);
        QSignalSpy done(&sink, &SilentSink::finished);
        sink.start(&dev);
        QVERIFY(sink.isActive());
        QVERIFY(done.wait(5000));
        QCOMPARE(sink.bytesConsumed(), TipSampleCount(tip) * 2);
        QVERIFY(!sink.isActive());

        ToneTipRec longTip = tip;
        longTip.Repeat = 10;
        longTip.Pause = 255;
        TipPcmDevice dev2(longTip);
        dev2.open(QIODevice::ReadOnly);
        sink.start(&dev2);
        QTest::qWait(60);
        sink.stop();
        const qint64 taken = sink.bytesConsumed();
        QVERIFY(taken < TipSampleCount(longTip) * 2);
        QTest::qWait(60);
        QCOMPARE(sink.bytesConsumed(), taken);
        QCOMPARE(done.size(), 1);
    }
};

MZ_TEST_GUILESS_MAIN(TestTonePcm)
#include "tst_tonepcm.moc"
