// The advice for a serial device the user may not open: a group is named only when its members
// may read and write the device, never the administrators' group.

#include "core/link/portaccess.h"
#include "support/testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPortAccess : public QObject {
    Q_OBJECT

    static DeviceAccess device(const char* owner, const char* group, unsigned mode) {
        DeviceAccess a;
        a.path = QStringLiteral("/dev/ttyUSB0");
        a.kernelName = QStringLiteral("ttyUSB0");
        a.owner = QLatin1String(owner);
        a.group = QLatin1String(group);
        a.mode = mode;
        a.user = QStringLiteral("anna");
        return a;
    }

private slots:
    void advice_data() {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("group");
        QTest::addColumn<uint>("mode");
        QTest::addColumn<QString>("joins"); // the group the user is told to join; empty: a rule
        QTest::newRow("dialout 0660") << "root"
                                      << "dialout" << 0660u << "dialout";
        QTest::newRow("uucp 0660") << "root"
                                   << "uucp" << 0660u << "uucp";
        QTest::newRow("tty 0620: group cannot read") << "root"
                                                     << "tty" << 0620u << "";
        QTest::newRow("root 0600") << "root"
                                   << "root" << 0600u << "";
        QTest::newRow("root 0660: never root") << "root"
                                               << "root" << 0660u << "";
        QTest::newRow("wheel 0660") << "root"
                                    << "wheel" << 0660u << "";
        QTest::newRow("dialout 0600") << "root"
                                      << "dialout" << 0600u << "";
    }
    void advice() {
        QFETCH(QString, owner);
        QFETCH(QString, group);
        QFETCH(uint, mode);
        QFETCH(QString, joins);
        DeviceAccess a = device(owner.toLatin1(), group.toLatin1(), mode);
        const QString text = PermissionAdvice(a);
        QVERIFY2(text.contains(QStringLiteral("/dev/ttyUSB0")), qPrintable(text));
        QVERIFY2(!text.contains(QStringLiteral("-aG root")), qPrintable(text));
        if (!joins.isEmpty()) {
            QVERIFY2(text.contains(QStringLiteral("sudo usermod -aG %1 anna").arg(joins)),
                     qPrintable(text));
            QVERIFY(!text.contains(QStringLiteral("udev")));
        } else {
            // Who owns it, its mode, and a rule that hands it to dialout.
            QVERIFY2(text.contains(owner + QLatin1Char(':') + group), qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("0%1").arg(mode, 3, 8, QLatin1Char('0'))),
                     qPrintable(text));
            QVERIFY2(text.contains(
                         QStringLiteral("KERNEL==\"ttyUSB0\", GROUP=\"dialout\", MODE=\"0660\"")),
                     qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("/etc/udev/rules.d/")), qPrintable(text));
        }
    }

    void memberWhoseSessionPredatesTheGroupIsToldToLogInAgain() {
        DeviceAccess a = device("root", "dialout", 0660);
        a.userInGroup = true;
        a.sessionHasGroup = false;
        const QString text = PermissionAdvice(a);
        QVERIFY2(!text.contains(QStringLiteral("usermod")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("\"dialout\"")));
    }

    void readsTheNodeItself() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ttyFAKE0"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QString link = dir.filePath(QStringLiteral("cable"));
        QVERIFY(QFile::link(path, link));
        DeviceAccess a;
        QVERIFY(ReadDeviceAccess(link, a));
        QCOMPARE(a.path, link);
        QCOMPARE(a.kernelName, QStringLiteral("ttyFAKE0"));
        QCOMPARE(a.mode, 0640u);
        QVERIFY(!a.owner.isEmpty());
        QVERIFY(!a.group.isEmpty());
        QVERIFY(!ReadDeviceAccess(dir.filePath(QStringLiteral("absent")), a));
    }
};

MZ_TEST_MAIN(TestPortAccess)
#include "tst_portaccess.moc"
