// The files shipped with the program: splash pictures, icon, demo document, and the desktop
// integration that an installation lays down.

#include "core/files/datafile.h"
#include "core/model/document.h"

#include <QFileInfo>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class TestShippedData : public QObject {
    Q_OBJECT
private slots:
    void picturesLoadAndStaySmall() {
        for (const char* name : {"StartE.jpg", "StartC.jpg", "mzprog.png"}) {
            const QString path = QStringLiteral(MZ_PROGDIR "/") + QLatin1String(name);
            QPixmap p(path);
            QVERIFY2(!p.isNull(), name);
            QVERIFY2(QFileInfo(path).size() < 200 * 1024, name);
        }
        QCOMPARE(QPixmap(QStringLiteral(MZ_PROGDIR "/StartE.jpg")).size(),
                 QPixmap(QStringLiteral(MZ_PROGDIR "/StartC.jpg")).size());
    }

    void demoDocumentIsACbRadioWithChannels() {
        Document doc;
        QVERIFY(LoadDataFile(doc, QStringLiteral(MZ_PROGDIR "/demo/demo.dat")));
        QCOMPARE(doc.ModelName, QStringLiteral("MZ-710"));
        QCOMPARE(doc.CountryMode, 0);
        // 40 EU and 40 German channels, the VFO and the eight MEM channels.
        QCOMPARE(doc.chCount(), 89);
        QVERIFY(doc.Channel(9) && doc.Channel(9)->RDCT == 8);
        QVERIFY(doc.Channel(280));
    }

    void desktopEntryAndMetainfo() {
        const QString dir = QStringLiteral(MZ_SOURCE_DIR "/data/icons/");
        QFile desktop(dir + QStringLiteral("org.mzprog.mzprog.desktop"));
        QVERIFY(desktop.open(QIODevice::ReadOnly));
        const QString entry = QString::fromUtf8(desktop.readAll());
        QVERIFY(entry.contains(QStringLiteral("\nName[zh_CN]=")));
        // The file manager passes the file it opens with the program.
        QVERIFY(entry.contains(QStringLiteral("\nExec=mzprog %f\n")));
        // It names the font that Chinese texts need.
        QVERIFY(entry.contains(QStringLiteral("fonts-wqy-microhei")));
        QVERIFY(entry.contains(QStringLiteral("\nIcon=org.mzprog.mzprog\n")));

        const QString tool = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
        if (tool.isEmpty()) QSKIP("appstreamcli is not installed");
        QProcess p;
        p.start(tool, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                       dir + QStringLiteral("org.mzprog.mzprog.metainfo.xml")});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAll().constData());
    }
};

QTEST_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
