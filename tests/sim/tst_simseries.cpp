// mzsim as a series of radios: switched off it answers nothing, switched on again it is the next
// radio of the series, by stdin control lines and by SIGUSR1.

#include "sim/simprocess.h"
#include "support/clirun.h"
#include "support/testmain.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <csignal>

namespace {
// The radio's information as mzcli reads it; an empty object when it did not answer.
QJsonObject info(const QString& device) {
    const CliRun r = RunMzcli({"info", "--port", device, "--format", "json", "--quiet"});
    if (r.code != 0) return {};
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}
} // namespace

class TestSimSeries : public QObject {
    Q_OBJECT
private slots:
    void eachSwitchingOnIsTheNextRadio() {
        SimProcess sim;
        QVERIFY(sim.start({"--serial-series", "0000099"}));
        QJsonObject o = info(sim.device);
        QCOMPARE(o.value("SerialNo").toString(), QStringLiteral("0000099"));
        QCOMPARE(o.value("InfoMode").toInt(), 0);

        // Switched off, nothing answers; the mode set now is the next radio's.
        QCOMPARE(sim.control("off"), QStringLiteral("off"));
        QVERIFY(info(sim.device).isEmpty());
        sim.control("mode 2");
        QCOMPARE(sim.control("on"), QStringLiteral("on 0000100")); // the width is kept
        o = info(sim.device);
        QCOMPARE(o.value("SerialNo").toString(), QStringLiteral("0000100"));
        QCOMPARE(o.value("InfoMode").toInt(), 2);

        // SIGUSR1 is the power switch: off, then on as the next radio.
        ::kill(pid_t(sim.process.processId()), SIGUSR1);
        QCOMPARE(sim.waitForLine(QStringLiteral("o")), QStringLiteral("off"));
        QVERIFY(info(sim.device).isEmpty());
        ::kill(pid_t(sim.process.processId()), SIGUSR1);
        QCOMPARE(sim.waitForLine(QStringLiteral("o")), QStringLiteral("on 0000101"));
        QCOMPARE(info(sim.device).value("SerialNo").toString(), QStringLiteral("0000101"));
    }

    void withoutASeriesTheSameRadioComesBack() {
        SimProcess sim;
        QVERIFY(sim.start({}));
        const QString serial = info(sim.device).value("SerialNo").toString();
        QVERIFY(!serial.isEmpty());
        QCOMPARE(sim.control("off"), QStringLiteral("off"));
        QCOMPARE(sim.control("on"), QStringLiteral("on"));
        QCOMPARE(info(sim.device).value("SerialNo").toString(), serial);
    }

    void badSeriesAndControlLinesAreRefused() {
        for (const char* bad : {"12a", "", "12345678901234567"}) {
            QProcess p;
            p.start(QStringLiteral(MZ_PROGDIR "/mzsim"), {"--serial-series", bad});
            QVERIFY(p.waitForFinished(10000));
            QCOMPARE(p.exitCode(), 2);
            QVERIFY2(p.readAllStandardError().contains("--serial-series"), bad);
        }
        SimProcess sim;
        QVERIFY(sim.start({"--serial-series", "1"}));
        sim.control("explode");
        QString err;
        QTRY_VERIFY((err += QString::fromLocal8Bit(sim.process.readAllStandardError()))
                        .contains(QStringLiteral("unknown control")));
        // It goes on answering.
        QCOMPARE(info(sim.device).value("SerialNo").toString(), QStringLiteral("1"));
    }
};

MZ_TEST_GUILESS_MAIN(TestSimSeries)
#include "tst_simseries.moc"
