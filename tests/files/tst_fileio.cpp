// The one writer and the one reader of whole files, and the rules for channel records that
// neither typing nor a read from the radio can produce.

#include "core/files/fileio.h"
#include "core/files/savedatafile.h"
#include "core/link/memorymap.h"
#include "core/model/channelcheck.h"
#include "core/model/helpers.h"
#include "files/filetestutil.h"
#include "support/testmain.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestFileIo : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void writerFollowsLinksAndKeepsTheMode() {
        QVERIFY(WriteBytes(path(u"target"_s), "old"));
        QVERIFY(QFile::setPermissions(path(u"target"_s),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile::link(u"target"_s, path(u"link"_s)));
        QVERIFY(QFile::link(u"link"_s, path(u"link2"_s))); // a link to a link
        QString error;
        QVERIFY(WriteFileAtomically(path(u"link2"_s), "new", &error));
        QVERIFY(QFileInfo(path(u"link2"_s)).isSymLink());
        QVERIFY(QFileInfo(path(u"link"_s)).isSymLink());
        QCOMPARE(ReadBytes(path(u"target"_s)), QByteArray("new"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path(u"target"_s)).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0640u);
        // A link to nothing creates its target.
        QVERIFY(QFile::link(u"later"_s, path(u"dangling"_s)));
        QVERIFY(WriteFileAtomically(path(u"dangling"_s), "made", &error));
        QCOMPARE(ReadBytes(path(u"later"_s)), QByteArray("made"));
        QCOMPARE(QDir(dir_.path())
                     .entryList(QDir::Hidden | QDir::Files | QDir::NoDotAndDotDot)
                     .filter(QRegularExpression(u"^\\."_s)),
                 QStringList());
    }

    void writerAndReaderRefuseWhatIsNoRegularFile() {
        const QString fifo = path(u"fifo"_s);
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0666) == 0);
        QVERIFY(QFile::link(u"fifo"_s, path(u"tofifo"_s)));
        QVERIFY(QFile::link(u"loop2"_s, path(u"loop1"_s)));
        QVERIFY(QFile::link(u"loop1"_s, path(u"loop2"_s)));
        for (const QString& name : {u"fifo"_s, u"tofifo"_s, u"loop1"_s}) {
            QString error;
            QVERIFY(!WriteFileAtomically(path(name), "x", &error));
            QVERIFY2(error.startsWith(path(name)), qPrintable(error));
            QVERIFY(!CheckWritableTarget(path(name), &error));
        }
        QString why;
        QByteArray bytes;
        // Returns at once, although no writer ever opens the FIFO.
        QVERIFY(!ReadRegularFile(fifo, 100, bytes, &why));
        QCOMPARE(why, NotRegularFile(fifo));
        QVERIFY(!ReadRegularFile(path(u"tofifo"_s), 100, bytes, &why));
        QVERIFY(!ReadRegularFile(dir_.path(), 100, bytes, &why));
        QVERIFY(why.endsWith(u": Is a directory"_s));
        QVERIFY(WriteBytes(path(u"eleven"_s), "hello world"));
        QVERIFY(ReadRegularFile(path(u"eleven"_s), 5, bytes, &why));
        QCOMPARE(bytes, QByteArray("hello"));
    }

    void channelRecordRules() {
        struct Row {
            int chNo;
            const char* rx;
            bool damaged;
        };
        const QList<Row> rows = {{1, "02718500", false},
                                 {409, "", false},
                                 {401, "FFFFFFFF", false},
                                 {5, "0ABCDEF0", false},
                                 {0, "02718500", true},
                                 {410, "02718500", true},
                                 {-3, "02718500", true},
                                 {7, "0271850", true},
                                 {8, "ABCDEFGH", true},
                                 {9, "0271850a", true},
                                 {10, " 2718500", true},
                                 {11,
                                  "027\x1b"
                                  "8500",
                                  true}};
        for (const Row& row : rows) {
            RadioDataRec data;
            ChannelList channels{};
            data.CHCount = 1;
            channels[0].CHNo = static_cast<i16>(row.chNo);
            channels[0].RxFre = row.rx;
            QCOMPARE(DamagedChannels(data, channels).isEmpty(), !row.damaged);
        }
        // Values the radio cannot hold: more digits than it keeps, NULs where the digits belong
        // (they read as "no frequency" and would be sent as 0 MHz), an offset outside the
        // radio's list. What a read of a blank radio gives (0 MHz, the erased 0xFFFF) stays.
        struct Value {
            QByteArray rx;
            int offset;
            DamagedChannel::Fault fault; // Number: not damaged
        };
        using F = DamagedChannel::Fault;
        const QList<Value> values = {{"99999999", 100, F::Band},
                                     {"12718500", 100, F::Band},
                                     {"02718505", 100, F::Band},
                                     {"00000000", 100, F::Number},
                                     {"09999990", 100, F::Number},
                                     {"02799100", 100, F::Number},
                                     {QByteArray(8, '\0'), 100, F::Frequency},
                                     {"02718500", -14236, F::Offset},
                                     {"02718500", 1005, F::Offset},
                                     {"02718500", 7, F::Offset},
                                     {"02718500", 0, F::Number},
                                     {"02718500", -1, F::Number},
                                     {"02718500", 1000, F::Number}};
        for (const Value& v : values) {
            RadioDataRec data;
            ChannelList channels{};
            data.CHCount = 1;
            channels[0].CHNo = 1;
            channels[0].RxFre.assign(v.rx);
            channels[0].OffSetFre = static_cast<i16>(v.offset);
            const QList<DamagedChannel> d = DamagedChannels(data, channels);
            const QString what =
                QString::fromLatin1(v.rx.toHex()) + u' ' + QString::number(v.offset);
            if (v.fault == F::Number) {
                QVERIFY2(d.isEmpty(), qPrintable(what));
                continue;
            }
            QVERIFY2(d.size() == 1 && d[0].fault == v.fault, qPrintable(what));
            QVERIFY(!DamagedChannelsText(d).isEmpty());
        }
        // A repeated number is the second entry's fault; entries past CHCount do not count.
        RadioDataRec data;
        ChannelList channels{};
        data.CHCount = 3;
        for (int i = 0; i < 4; ++i) {
            channels[i].CHNo = static_cast<i16>(i == 2 ? 1 : i + 1);
            channels[i].RxFre = "02718500";
        }
        channels[3].CHNo = 0;
        const QList<DamagedChannel> d = DamagedChannels(data, channels);
        QCOMPARE(d.size(), 1);
        QCOMPARE(d[0].entry, 3);
        QCOMPARE(d[0].fault, DamagedChannel::Fault::Repeated);
        // The public channel is judged by what the radio receives of it: not its number,
        // frequency and scan bit, which stay in the file.
        data.PublicCH.CHNo = -7;
        data.PublicCH.Scan = 9;
        data.PublicCH.RxFre = "zz";
        data.PublicCH.OffSetFre = -1;
        QCOMPARE(DamagedChannels(data, channels).size(), 1);
        data.PublicCH.DUP = 4;
        QCOMPARE(DamagedChannels(data, channels).last().entry, 0);
        data.PublicCH.DUP = 0;
        // Texts with control characters are named, escaped.
        channels[2].CHNo = 3;
        channels[2].RxFre = "\x1b[2J";
        QVERIFY(DamagedChannelsText(DamagedChannels(data, channels)).contains(u"\"\\x1b[2J\""_s));
        QCOMPARE(EscapeControls(u"a\\b\x7f\u009b\u00e9\n"_s), u"a\\\\b\\x7f\\x9b\u00e9\\x0a"_s);
        // Bytes of a file: UTF-8 text stays, the rest is escaped byte by byte (an invalid byte,
        // a control, a truncated or overlong sequence, a character that turns the writing).
        QCOMPARE(EscapeBytes("a\\b \xe4\xbf\xa1\xe9\x81\x93\xff\x1b\x7f\xc2\x9b\xe4\xbf"
                             "\xc0\xaf\xe2\x80\xaez"),
                 u"a\\\\b \u4fe1\u9053\\xff\\x1b\\x7f\\xc2\\x9b\\xe4\\xbf\\xc0\\xaf"
                 "\\xe2\\x80\\xaez"_s);
        QCOMPARE(FirstNonTextByte("ok\xe4\xbf\xa1"), qsizetype(-1));
        QCOMPARE(FirstNonTextByte(QByteArray("ab\0c", 4)), qsizetype(2));
        QCOMPARE(FirstNonTextByte("ab\xe4\xbf"), qsizetype(2));
    }

    void documentsThisProgramMakesAreNeverDamaged() {
        // New documents of every mode, and any memory image unpacked as a read does.
        for (int mode = 0; mode < 3; ++mode) {
            Document doc;
            doc.SetCountryMode(mode);
            doc.NewDocument();
            QVERIFY(DamagedChannels(doc.RadioData, doc.CHInfo).isEmpty());
            quint32 seed = 12345u + mode;
            for (int round = 0; round < 20; ++round) {
                MemBuf mem{};
                for (auto& b : mem) {
                    seed = seed * 1664525u + 1013904223u;
                    b = static_cast<std::uint8_t>(seed >> 24);
                }
                RadioDataRec data = doc.RadioData;
                ChannelList channels = doc.CHInfo;
                UnpackMemBuf(mem, mode, data, channels);
                QVERIFY(data.CHCount > 0);
                // Whatever the memory holds reads as records of the right form; only an offset
                // off the radio's list is named, as it is in a file.
                for (const DamagedChannel& d : DamagedChannels(data, channels))
                    QCOMPARE(d.fault, DamagedChannel::Fault::Offset);
            }
        }
    }
};

MZ_TEST_GUILESS_MAIN(TestFileIo)
#include "tst_fileio.moc"
