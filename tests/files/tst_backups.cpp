// The store of backups of every read: file names, what a backup holds, the listing, and that
// only the newest hundred stay.

#include "core/files/backups.h"
#include "core/files/datafile.h"
#include "core/model/document.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestBackups : public QObject {
    Q_OBJECT

    static QDateTime at(int minute) {
        return QDateTime(QDate(2026, 3, 1), QTime(8, 0)).addSecs(60LL * minute);
    }

private slots:
    void aBackupHoldsTheImageAndIsListed() {
        QTemporaryDir tmp;
        BackupStore store(tmp.filePath(QStringLiteral("backups")));
        Document doc;
        doc.SetCountryMode(2);
        doc.NewDocument();
        doc.AddChannel(5, QStringLiteral("28.50000"));
        doc.FillFileHead(doc.RadioData.Head);

        QString error;
        const QString path = store.save(doc.RadioData, doc.CHInfo, at(0), &error);
        QVERIFY2(!path.isEmpty(), qPrintable(error));
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("20260301-080000-000_MZ-710_HAM.dat"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), EncodeDataFile(doc.RadioData, doc.CHInfo));

        // A second read in the same millisecond gets a name of its own and lists first.
        const QString again = store.save(doc.RadioData, doc.CHInfo, at(0));
        QVERIFY(!again.isEmpty() && again != path);
        const QList<BackupEntry> list = store.list();
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].path, again);
        QCOMPARE(list[1].when, at(0));
        QCOMPARE(list[1].mode, 2);
        QCOMPARE(list[1].model, QStringLiteral("MZ-710"));
        QCOMPARE(list[1].channels, int(doc.RadioData.CHCount));
        QVERIFY(!list[1].partlyWritten);

        // A radio a write left partly written: named and listed so.
        const QString partly = store.save(doc.RadioData, doc.CHInfo, at(1), nullptr, true);
        QCOMPARE(QFileInfo(partly).fileName(),
                 QStringLiteral("20260301-080100-000_MZ-710_HAM_partly-written.dat"));
        const QList<BackupEntry> now = store.list();
        QCOMPARE(now.size(), 3);
        QCOMPARE(now[0].path, partly);
        QVERIFY(now[0].partlyWritten);
        QCOMPARE(now[0].mode, 2);
    }

    void theHundredAndFirstRemovesTheOldest() {
        QTemporaryDir tmp;
        BackupStore store(tmp.path());
        Document doc;
        doc.NewDocument();
        doc.FillFileHead(doc.RadioData.Head);
        // A file of the user's own in the folder is never touched.
        QFile own(tmp.filePath(QStringLiteral("mine.dat")));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.close();
        // Saved out of order: the oldest is the one with the earliest time, not the first made.
        QStringList paths;
        for (int i = 0; i < BackupStore::Keep; ++i)
            paths << store.save(doc.RadioData, doc.CHInfo, at(i == 0 ? 1 : i == 1 ? 0 : i));
        QCOMPARE(store.list().size(), BackupStore::Keep);
        const QString newest = store.save(doc.RadioData, doc.CHInfo, at(500));
        const QList<BackupEntry> list = store.list();
        QCOMPARE(list.size(), BackupStore::Keep);
        QCOMPARE(list.first().path, newest);
        QVERIFY(!QFile::exists(paths[1]));
        QVERIFY(QFile::exists(paths[0]));
        QCOMPARE(list.last().when, at(1));
        QVERIFY(own.exists());
    }

    void aBackupThatCannotBeWrittenIsReported() {
        QTemporaryDir tmp;
        QFile blocker(tmp.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        BackupStore store(tmp.filePath(QStringLiteral("file/backups")));
        Document doc;
        doc.NewDocument();
        QString error;
        QVERIFY(store.save(doc.RadioData, doc.CHInfo, at(0), &error).isEmpty());
        QVERIFY(!error.isEmpty());
        QVERIFY(store.list().isEmpty());
    }

    void theFolderIsOursOnlyWhereWeWroteIt() {
        // A FIFO and a note of the user's named like backups, and a hundred backups whose
        // names lie in the future: three reads are saved and kept, the strangers untouched.
        QTemporaryDir tmp;
        BackupStore store(tmp.path());
        Document doc;
        doc.NewDocument();
        doc.FillFileHead(doc.RadioData.Head);
        const QString fifo = tmp.filePath(QStringLiteral("20990101-000000-000_MZ-710_CB.dat"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0666) == 0);
        const QString note = tmp.filePath(QStringLiteral("20000101-000000-000_my_notes.dat"));
        {
            QFile f(note);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(350, 'n'));
        }
        const QDateTime future(QDate(2098, 1, 1), QTime(0, 0));
        for (int i = 0; i < BackupStore::Keep; ++i)
            QVERIFY(!store.save(doc.RadioData, doc.CHInfo, future.addSecs(60LL * i)).isEmpty());
        // Neither the FIFO nor the note is a backup.
        QCOMPARE(store.list().size(), BackupStore::Keep);

        QStringList reads;
        for (int i = 0; i < 3; ++i) {
            QString error;
            reads << store.save(doc.RadioData, doc.CHInfo, QDateTime::currentDateTime(), &error);
            QVERIFY2(!reads.last().isEmpty(), qPrintable(error));
        }
        for (const QString& path : reads)
            QVERIFY2(QFile::exists(path), qPrintable(path));
        const QList<BackupEntry> list = store.list();
        QCOMPARE(list.size(), BackupStore::Keep);
        // The newest first, whatever the other names say.
        QCOMPARE(list.first().path, reads.last());
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QCOMPARE(QFileInfo(note).size(), 350);
    }
};

MZ_TEST_GUILESS_MAIN(TestBackups)
#include "tst_backups.moc"
