// mzcli at its edges, run as a user would: outputs that are devices, FIFOs or links, inputs
// that are not files, damaged channel records, Ctrl+C and SIGTERM in the middle of a session
// with mzsim, file messages with the system's reason, terminal-safe printing and port names.

#include "core/files/datafile.h"
#include "core/lang/langtext.h"
#include "core/link/memorymap.h"
#include "core/model/document.h"
#include "sim/simprocess.h"
#include "support/documentbuilders.h"
#include "support/richdocument.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <type_traits>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
struct Run {
    int code = -1;
    QString out, err;
};

QString english(int id) {
    return LoadLangTextFrom(QStringLiteral(MZ_PROGDIR "/language/english.ini"), id);
}

// A data file of the rich HF document after an edit of its channel list, or of its public
// channel (an edit that takes one CHInfoRec).
template <class F> QByteArray richFile(F edit) {
    Document doc;
    FillRichDocument(doc);
    if constexpr (std::is_invocable_v<F, CHInfoRec&>)
        edit(doc.RadioData.PublicCH);
    else
        edit(doc.CHInfo);
    RadioDataRec data = doc.RadioData;
    doc.FillFileHead(data.Head);
    return EncodeDataFile(data, doc.CHInfo);
}

bool isCharDevice(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode);
}
bool isFifo(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}
} // namespace

class TestHardEdges : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    // mzcli in the work folder; a run that does not end within the limit counts as hanging.
    Run mzcli(const QStringList& args, const QStringList& prefix = {}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"LC_ALL"_s, u"C"_s);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
        if (prefix.isEmpty())
            p.start(QStringLiteral(MZ_PROGDIR "/mzcli"), args);
        else
            p.start(prefix.first(), prefix.mid(1) + QStringList{MZ_PROGDIR "/mzcli"} + args);
        p.closeWriteChannel();
        Run r;
        if (!p.waitForFinished(20000)) {
            p.kill();
            p.waitForFinished();
            r.err = u"(hung)"_s;
            return r;
        }
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void outputsThatAreNoRegularFile() {
        // Every kind of target a write must not replace, as root too (CI runs as root). The
        // device is one of our own, never /dev/null: a fault here must not break the machine.
        QVERIFY(::mkfifo(QFile::encodeName(path(u"fifo"_s)).constData(), 0666) == 0);
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        QVERIFY(QFile::link(path(u"fifo"_s), path(u"tofifo"_s)));
        const bool canMknod = ::mknod(QFile::encodeName(path(u"n"_s)).constData(), S_IFCHR | 0666,
                                      makedev(1, 3)) == 0;
        if (canMknod) QVERIFY(QFile::link(path(u"n"_s), path(u"ton"_s)));

        struct Row {
            QString target, says;
        };
        QList<Row> rows = {{u"fifo"_s, u"is not a regular file"_s},
                           {u"tofifo"_s, u"is not a regular file"_s},
                           {u"folder"_s, u"Is a directory"_s}};
        if (canMknod)
            rows += {{u"n"_s, u"is not a regular file"_s}, {u"ton"_s, u"is not a regular file"_s}};
        for (const Row& row : rows) {
            for (const QStringList& args :
                 {QStringList{u"new"_s, u"-o"_s, row.target},
                  QStringList{u"unpack"_s, u"mem"_s, u"--mode"_s, u"1"_s, u"-o"_s, row.target}}) {
                if (args[0] == u"unpack"_s)
                    QVERIFY(WriteBytes(path(u"mem"_s), QByteArray(7424, 0)));
                const Run r = mzcli(args);
                QVERIFY2(r.code == 2, qPrintable(row.target + u": "_s + r.err));
                QVERIFY2(r.err.contains(row.says), qPrintable(r.err));
                QVERIFY2(r.err.contains(row.target), qPrintable(r.err));
            }
        }
        QVERIFY(isFifo(path(u"fifo"_s)));
        QVERIFY(QFileInfo(path(u"tofifo"_s)).isSymLink());
        QVERIFY(QFileInfo(path(u"folder"_s)).isDir());
        if (canMknod)
            QVERIFY(isCharDevice(path(u"n"_s)));
        else
            qWarning("mknod not permitted here: the device row was left out");
        // No temporary file was left behind.
        QCOMPARE(QDir(dir.path())
                     .entryList({u".*"_s}, QDir::Hidden | QDir::Files | QDir::NoDotAndDotDot),
                 QStringList());

        // A link to a regular file: the file is written, the link stays a link.
        QVERIFY(WriteBytes(path(u"real.dat"_s), "old"));
        QVERIFY(QFile::link(u"real.dat"_s, path(u"link.dat"_s)));
        QCOMPARE(mzcli({u"new"_s, u"-o"_s, u"link.dat"_s}).code, 0);
        QVERIFY(QFileInfo(path(u"link.dat"_s)).isSymLink());
        QCOMPARE(ReadBytes(path(u"real.dat"_s)).size(), DataFileSize);
    }

    void inputsThatAreNoRegularFile() {
        const QString fifo = path(u"in.fifo"_s);
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0666) == 0);
        QVERIFY(QDir(dir.path()).mkpath(u"indir"_s));
        SimProcess sim;
        QVERIFY(sim.start({u"--mode"_s, u"1"_s, u"--save"_s, path(u"fifo-radio.bin"_s)}));
        for (const QString& input : {fifo, path(u"indir"_s)}) {
            for (const QStringList& args :
                 {QStringList{u"show"_s, input}, QStringList{u"pack"_s, input, u"-o"_s, u"p.bin"_s},
                  QStringList{u"write"_s, u"--port"_s, sim.device, input},
                  QStringList{u"template"_s, input},
                  QStringList{u"unpack"_s, input, u"--mode"_s, u"1"_s, u"-o"_s, u"u.dat"_s}}) {
                const Run r = mzcli(args);
                QVERIFY2(r.code == 2, qPrintable(args.join(u' ') + u": "_s + r.err));
                QVERIFY2(r.err.contains(input), qPrintable(r.err));
                QVERIFY(!r.err.contains(u"could not be read or written"_s));
            }
        }
        QVERIFY(!QFile::exists(path(u"p.bin"_s)));
        QVERIFY(!QFile::exists(path(u"fifo-radio.bin"_s))); // the radio was never in a session

        // A file one byte too long or too short is damaged, and says where.
        const QByteArray good = richFile([](ChannelList&) {});
        const QList<QPair<QByteArray, QString>> sizes = {
            {good + 'x', u"size.dat is longer than the 25611 bytes of a data file."_s},
            {good.left(DataFileSize - 1),
             u"size.dat, channel entry 409: the file ends after 25610 of 25611 bytes."_s}};
        for (const auto& [bytes, says] : sizes) {
            QVERIFY(WriteBytes(path(u"size.dat"_s), bytes));
            const Run r = mzcli({u"show"_s, u"size.dat"_s});
            QCOMPARE(r.code, 2);
            QVERIFY2(r.err.contains(says), qPrintable(r.err));
            QCOMPARE(r.out, QString());
        }
    }

    void damagedChannelRecords_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("named"); // what the message names
        QTest::newRow("number 0") << richFile([](ChannelList& c) { c[3].CHNo = 0; })
                                  << u"entry 4 has the channel number 0"_s;
        QTest::newRow("number 410") << richFile([](ChannelList& c) { c[0].CHNo = 410; })
                                    << u"entry 1 has the channel number 410"_s;
        QTest::newRow("repeated") << richFile([](ChannelList& c) { c[5].CHNo = c[2].CHNo; })
                                  << u"entry 6 repeats the channel number"_s;
        QTest::newRow("letters") << richFile([](ChannelList& c) { c[1].RxFre = "ABCDEFGH"; })
                                 << u"\"ABCDEFGH\""_s;
        QTest::newRow("seven digits")
            << richFile([](ChannelList& c) { c[1].RxFre = "0271850"; }) << u"\"0271850\""_s;
        QTest::newRow("control characters")
            << richFile([](ChannelList& c) { c[1].RxFre.assign(QByteArray("\x1b[31m,\"\r", 8)); })
            << u"\"\\x1b[31m,\"\\x0d\""_s;
        // Values the radio has no room for would arrive changed (TDCT 999 as 231).
        QTest::newRow("TDCT 999") << richFile([](ChannelList& c) { c[1].TDCT = 999; })
                                  << u"has TDCT = 999"_s;
        QTest::newRow("DUP 9") << richFile([](ChannelList& c) { c[2].DUP = 9; })
                               << u"has DUP = 9"_s;
        QTest::newRow("AM_FM 7") << richFile([](ChannelList& c) { c[0].AM_FM = 7; })
                                 << u"has AM_FM = 7"_s;
        QTest::newRow("Tx_Power -5")
            << richFile([](ChannelList& c) { c[1].Tx_Power = -5; }) << u"has Tx_Power = -5"_s;
        QTest::newRow("DTMF_Call 5000")
            << richFile([](ChannelList& c) { c[1].DTMF_Call = 5000; }) << u"has DTMF_Call = 5000"_s;
        // The public channel's fields go to the radio as well.
        QTest::newRow("public TDCT 999") << richFile([](CHInfoRec& p) { p.TDCT = 999; })
                                         << u"the public channel has TDCT = 999"_s;
        QTest::newRow("public RBTone -1") << richFile([](CHInfoRec& p) { p.RBTone = -1; })
                                          << u"the public channel has RBTone = -1"_s;
        QTest::newRow("public offset 7") << richFile([](CHInfoRec& p) { p.OffSetFre = 7; })
                                         << u"the public channel has OffSetFre = 7"_s;
    }

    void damagedChannelRecords() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, named);
        QVERIFY(WriteBytes(path(u"bad.dat"_s), bytes));

        // pack, export and write refuse it with the record named; the radio is never written.
        Run r = mzcli({u"pack"_s, u"bad.dat"_s, u"-o"_s, u"bad.bin"_s});
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(named), qPrintable(r.err));
        QVERIFY(!QFile::exists(path(u"bad.bin"_s)));
        r = mzcli({u"export"_s, u"bad.dat"_s, u"-o"_s, u"bad.csv"_s});
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(named), qPrintable(r.err));
        QVERIFY(!QFile::exists(path(u"bad.csv"_s)));
        {
            SimProcess sim;
            QVERIFY(sim.start({u"--mode"_s, u"1"_s, u"--save"_s, path(u"radio.bin"_s)}));
            r = mzcli({u"write"_s, u"--port"_s, sim.device, u"bad.dat"_s});
            QCOMPARE(r.code, 2);
            QVERIFY2(r.err.contains(named), qPrintable(r.err));
        }
        QVERIFY(!QFile::exists(path(u"radio.bin"_s)));

        // show prints it with the damaged record marked, never a raw control character.
        for (const QString& format : {u"text"_s, u"csv"_s, u"json"_s}) {
            r = mzcli({u"show"_s, u"bad.dat"_s, u"--format"_s, format});
            QCOMPARE(r.code, 2);
            QVERIFY2(r.err.contains(named), qPrintable(r.err));
            QVERIFY(!r.out.contains(QChar(0x1b)) && !r.err.contains(QChar(0x1b)));
            if (named.startsWith(u"the public channel"_s)) {
                // No row of the list is marked; the text and the JSON name the public channel.
                QVERIFY(!r.out.contains(QRegularExpression(u"(^|\n)\"?!\\d+"_s)));
                if (format == u"json"_s)
                    QVERIFY(r.out.contains(u"\"DamagedPublicCH\": true"_s));
                else if (format == u"text"_s)
                    QVERIFY(r.out.contains(u"! damaged: "_s + named));
            } else if (format == u"json"_s) {
                QVERIFY(r.out.contains(u"\"DamagedCHInfo\": ["_s));
            } else {
                QVERIFY(r.out.contains(QRegularExpression(u"(^|\n)\"?!\\d+"_s)));
            }
        }
    }

    void csvQuotesWhatNeedsIt() {
        const QByteArray bytes =
            richFile([](ChannelList& c) { c[1].RxFre.assign(QByteArray("1,2\"3\r4\n", 8)); });
        QVERIFY(WriteBytes(path(u"csv.dat"_s), bytes));
        const Run r = mzcli({u"show"_s, u"csv.dat"_s, u"--format"_s, u"csv"_s});
        QCOMPARE(r.code, 2);
        QVERIFY2(r.out.contains(u",\"?1,2\"\"3\r4\n\","_s), qPrintable(r.out));
    }

    void whatThisProgramWritesIsNeverDamaged() {
        // Memory images no document produced, read from the virtual radio in every mode: the
        // read always succeeds, and the file that comes out has records of the right form; an
        // offset off the radio's list is marked by show and keeps the file from being packed
        // for the radio.
        for (int mode = 0; mode < 3; ++mode) {
            QByteArray mem(MemSize, '\0');
            for (int i = 0; i < mem.size(); ++i)
                mem[i] = static_cast<char>((i * 2654435761u + mode * 977u) >> 13);
            QVERIFY(WriteBytes(path(u"random.bin"_s), mem));
            SimProcess sim;
            QVERIFY(sim.start(
                {u"--mode"_s, QString::number(mode), u"--image"_s, path(u"random.bin"_s)}));
            const Run read =
                mzcli({u"read"_s, u"--port"_s, sim.device, u"--quiet"_s, u"-o"_s, u"r.dat"_s});
            QCOMPARE(read.code, 0);
            const Run show = mzcli({u"show"_s, u"r.dat"_s});
            const QString err = show.err;
            const bool valueFaults = err.contains(u"not on the radio's list"_s);
            QVERIFY2(show.code == 0 || valueFaults, qPrintable(err));
            QVERIFY2(!err.contains(u"which is not 8 digits"_s) && !err.contains(u"repeats"_s),
                     qPrintable(err));
            QCOMPARE(mzcli({u"pack"_s, u"r.dat"_s, u"-o"_s, u"r.bin"_s}).code, show.code);
        }
    }

    void aNewDocumentComesBackAsItWasWritten() {
        // Written to the radio and read back, a new document's VFO channel is what it was
        // (the radio keeps no scan bit for it).
        for (const QString& mode : {u"0"_s, u"1"_s}) {
            QCOMPARE(mzcli({u"new"_s, u"--mode"_s, mode, u"-o"_s, u"n.dat"_s}).code, 0);
            SimProcess sim;
            QVERIFY(sim.start({u"--mode"_s, mode}));
            QCOMPARE(mzcli({u"write"_s, u"--port"_s, sim.device, u"--quiet"_s, u"n.dat"_s}).code,
                     0);
            QCOMPARE(
                mzcli({u"read"_s, u"--port"_s, sim.device, u"--quiet"_s, u"-o"_s, u"back.dat"_s})
                    .code,
                0);
            const Run diff = mzcli({u"diff"_s, u"n.dat"_s, u"back.dat"_s});
            QVERIFY2(!diff.out.contains(u"401"_s), qPrintable(diff.out));
        }
    }

    void anotherProgramOnThePortIsNamed() {
        // A program that reads the port takes the radio's replies (or the line goes down under
        // us): a session that fails then names it, as doctor does, instead of blaming the
        // radio. Here the radio stays silent, so that the failure does not depend on who reads
        // first.
        SimProcess sim;
        QVERIFY(sim.start({}));
        QCOMPARE(sim.control("off"), u"off"_s);
        QProcess thief;
        thief.setStandardInputFile(sim.device);
        thief.start(u"sleep"_s, {u"60"_s});
        QVERIFY(thief.waitForStarted());
        for (const QStringList& args :
             {QStringList{u"info"_s}, QStringList{u"read"_s, u"-o"_s, u"t.dat"_s}}) {
            const Run r = mzcli(args + QStringList{u"--port"_s, sim.device});
            QCOMPARE(r.code, 1);
            QVERIFY2(r.err.contains(u"is in use by sleep (PID %1)"_s.arg(thief.processId())),
                     qPrintable(r.err));
        }
        thief.kill();
        thief.waitForFinished();
    }

    void newInputsAreCheckedLikeDataFiles() {
        // A FIFO, a device that never ends and a file far too large, for each command that
        // reads a channel list or a plan table: refused at once, nothing written.
        QVERIFY(WriteBytes(path(u"x.dat"_s), richFile([](ChannelList&) {})));
        QVERIFY(::mkfifo(QFile::encodeName(path(u"c.csv"_s)).constData(), 0666) == 0);
        QFile big(path(u"big.csv"_s));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(5LL * 1024 * 1024 + 1));
        big.close();
        struct Row {
            QStringList args;
            QString says;
        };
        const QList<Row> rows = {
            {{u"import"_s, u"x.dat"_s, u"c.csv"_s, u"-o"_s, u"o.dat"_s}, u"not a regular file"_s},
            {{u"plan"_s, u"c.csv"_s, u"-o"_s, u"o.dat"_s}, u"not a regular file"_s},
            {{u"import"_s, u"x.dat"_s, u"/dev/zero"_s, u"-o"_s, u"o.dat"_s},
             u"not a regular file"_s},
            {{u"plan"_s, u"/dev/zero"_s, u"-o"_s, u"o.dat"_s}, u"not a regular file"_s},
            {{u"import"_s, u"x.dat"_s, u"big.csv"_s, u"-o"_s, u"o.dat"_s},
             u"big.csv is too large for a channel list (6 MB; the limit is 4 MB)"_s},
            {{u"plan"_s, u"big.csv"_s, u"-o"_s, u"o.dat"_s},
             u"big.csv is too large for a channel plan table (6 MB; the limit is 4 MB)"_s},
        };
        for (const Row& row : rows) {
            const Run r = mzcli(row.args);
            QVERIFY2(r.code == 2, qPrintable(row.args.join(u' ') + u": "_s + r.err));
            QVERIFY2(r.err.contains(row.says), qPrintable(r.err));
            QCOMPARE(r.err.count(u'\n'), 1);
            QVERIFY(!QFile::exists(path(u"o.dat"_s)));
        }
        QVERIFY(isFifo(path(u"c.csv"_s)));
    }

    void outputThatFailsIsAnError() {
        // Standard output on a full device: the bytes are refused only when flushed.
        QVERIFY(WriteBytes(path(u"x.dat"_s), richFile([](ChannelList&) {})));
        // A file written before the report failed is named, so nobody takes it for unchanged.
        const QList<std::pair<QStringList, QString>> runs = {
            {{u"export"_s, u"x.dat"_s}, {}},
            {{u"show"_s, u"x.dat"_s}, {}},
            {{u"set"_s, u"x.dat"_s, u"1"_s, u"Scan=0"_s, u"-o"_s, u"s.dat"_s}, u"s.dat"_s},
        };
        for (const auto& [args, written] : runs) {
            QProcess p;
            p.setWorkingDirectory(dir.path());
            p.setStandardOutputFile(u"/dev/full"_s);
            p.start(QStringLiteral(MZ_PROGDIR "/mzcli"), args);
            QVERIFY(p.waitForFinished(20000));
            const QString err = QString::fromUtf8(p.readAllStandardError());
            QCOMPARE(p.exitCode(), 2);
            QVERIFY2(err.contains(u"No space left on device"_s), qPrintable(err));
            QCOMPARE(err.contains(u"was written all the same"_s), !written.isEmpty());
            if (!written.isEmpty()) {
                QVERIFY2(err.contains(written + u" was written all the same"_s), qPrintable(err));
                QVERIFY(QFile::exists(path(written)));
            }
        }
        // A log that is a FIFO would hold the session until someone reads it.
        QVERIFY(::mkfifo(QFile::encodeName(path(u"log.fifo"_s)).constData(), 0666) == 0);
        const Run r =
            mzcli({u"info"_s, u"--port"_s, u"/dev/no-such-port"_s, u"--log"_s, u"log.fifo"_s});
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(u"not a regular file"_s), qPrintable(r.err));
        QVERIFY(isFifo(path(u"log.fifo"_s)));
    }

    void interruptedSessionsLeaveTheRadioUsable_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("terminal"); // Ctrl+C typed on a terminal instead of a kill
        QTest::addColumn<QString>("when");  // the progress line after which the signal comes
        QTest::addColumn<QString>("says");  // what the radio holds now
        const QString partly = english(9042);
        QTest::newRow("SIGINT in a write")
            << u"write"_s << SIGINT << 130 << false << u"10%"_s << partly;
        QTest::newRow("SIGTERM in a read")
            << u"read"_s << SIGTERM << 143 << false << u"10%"_s << u"nothing was written"_s;
        QTest::newRow("Ctrl+C on a terminal in a write")
            << u"write"_s << SIGINT << 130 << true << u"10%"_s << partly;
        QTest::newRow("SIGTERM in the verify after a write")
            << u"write"_s << SIGTERM << 143 << false << u"Verifying 10%"_s << english(9043);
    }

    void interruptedSessionsLeaveTheRadioUsable() {
        QFETCH(QString, command);
        QFETCH(int, signal);
        QFETCH(int, code);
        QFETCH(bool, terminal);
        QFETCH(QString, when);
        QFETCH(QString, says);
        if (terminal && !QFileInfo::exists(u"/usr/bin/script"_s)) QSKIP("no script(1) here");
        QVERIFY(WriteBytes(path(u"rich.dat"_s), richFile([](ChannelList&) {})));
        QVERIFY(WriteBytes(path(u"keep.dat"_s), "what was there before"));
        const QString saved = path(u"end.bin"_s);
        QFile::remove(saved);
        // Paced like a real line, so that the session is still running when the signal comes.
        SimProcess sim;
        QVERIFY(sim.start({u"--mode"_s, u"1"_s, u"--baud"_s, u"9600"_s, u"--save"_s, saved}));
        const QStringList args =
            command == u"write"_s
                ? QStringList{u"write"_s, u"--port"_s, sim.device, u"rich.dat"_s}
                : QStringList{u"read"_s, u"--port"_s, sim.device, u"-o"_s, u"keep.dat"_s};
        QProcess cli;
        cli.setWorkingDirectory(dir.path());
        cli.setProcessChannelMode(QProcess::MergedChannels);
        if (terminal) {
            // script(1) runs mzcli on a pseudo-terminal of its own; the byte 0x03 typed there
            // is Ctrl+C, which the terminal turns into SIGINT for mzcli.
            cli.start(u"/usr/bin/script"_s,
                      {u"-qfec"_s, u"'" MZ_PROGDIR "/mzcli' "_s + args.join(u' '), u"/dev/null"_s});
        } else {
            cli.start(QStringLiteral(MZ_PROGDIR "/mzcli"), args);
            cli.closeWriteChannel();
        }
        QString err;
        while (!err.contains(when) && cli.waitForReadyRead(30000))
            err += QString::fromUtf8(cli.readAll());
        QVERIFY2(err.contains(when), qPrintable(err));
        // mzsim saves its memory when a session ends: during a verify, the write has ended.
        if (!when.startsWith(u"Verifying"_s)) QVERIFY(!QFile::exists(saved));
        QFile::remove(saved);
        if (terminal)
            cli.write("\x03");
        else
            ::kill(pid_t(cli.processId()), signal);
        QVERIFY(cli.waitForFinished(10000));
        err += QString::fromUtf8(cli.readAll());
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), code);
        QVERIFY2(err.contains(says), qPrintable(err));
        // The radio was told to end the session (it saved its memory then) and answers the
        // next one normally.
        QTRY_VERIFY(QFile::exists(saved));
        QCOMPARE(ReadBytes(path(u"keep.dat"_s)), QByteArray("what was there before"));
        const Run next = mzcli({u"info"_s, u"--port"_s, sim.device});
        QVERIFY2(next.code == 0, qPrintable(next.err));
    }

    void readChecksItsOutputFirst() {
        // The port does not exist: a refusal with 2 shows the output was checked first.
        QVERIFY(::mkfifo(QFile::encodeName(path(u"out.fifo"_s)).constData(), 0666) == 0);
        for (const QString& out : {u"no/such/folder/x.dat"_s, u"out.fifo"_s, u"."_s}) {
            const Run r = mzcli({u"read"_s, u"--port"_s, u"/dev/no-such-port"_s, u"-o"_s, out});
            QVERIFY2(r.code == 2, qPrintable(out + u": "_s + r.err));
            QVERIFY(!r.err.contains(english(9003)));
        }
    }

    void fileMessagesGiveTheReason() {
        // Permission denied: as a user without rights (root has them all).
        if (::geteuid() == 0 && QFileInfo::exists(u"/usr/bin/setpriv"_s)) {
            QTemporaryDir locked;
            QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                     QFile::ReadOther | QFile::ExeOther);
            const QStringList nobody = {u"/usr/bin/setpriv"_s, u"--reuid=65534"_s,
                                        u"--regid=65534"_s, u"--clear-groups"_s};
            const Run r = mzcli({u"new"_s, u"-o"_s, locked.filePath(u"x.dat"_s)}, nobody);
            if (r.err.startsWith(u"mzcli:"_s)) { // setpriv could run it
                QCOMPARE(r.code, 2);
                QVERIFY2(r.err.contains(locked.filePath(u"x.dat"_s) + u": Permission denied"_s),
                         qPrintable(r.err));
            }
        }
        // No such folder, a folder that is a file.
        QVERIFY(WriteBytes(path(u"plain"_s), "x"));
        Run r = mzcli({u"new"_s, u"-o"_s, u"missing/x.dat"_s});
        QVERIFY2(r.err.contains(u"missing/x.dat: No such file or directory"_s), qPrintable(r.err));
        r = mzcli({u"show"_s, u"missing.dat"_s});
        QVERIFY2(r.err.contains(u"missing.dat: No such file or directory"_s), qPrintable(r.err));
        r = mzcli({u"new"_s, u"-o"_s, u"plain/x.dat"_s});
        QVERIFY2(r.err.contains(u"plain/x.dat: Not a directory"_s), qPrintable(r.err));

        // A full and a read-only file system, where this machine lets a test mount one.
        const QString script = u"mkdir -p m && mount -t tmpfs -o size=16k tmpfs m || exit 77; "
                               "\"$0\" new -o m/a.dat; echo \"rc=$?\" >&2; "
                               "mount -o remount,ro m && \"$0\" new -o m/b.dat; "
                               "echo \"rc=$?\" >&2"_s;
        r = mzcli({}, {u"unshare"_s, u"-m"_s, u"sh"_s, u"-c"_s, script});
        if (!r.err.contains(u"rc="_s)) QSKIP("no private mount possible here");
        QVERIFY2(r.err.contains(u"m/a.dat: No space left on device"_s), qPrintable(r.err));
        QVERIFY2(r.err.contains(u"m/b.dat: Read-only file system"_s), qPrintable(r.err));
        QVERIFY(!r.err.contains(u"rc=0"_s));
        QVERIFY(!r.err.contains(u"canceled"_s));
    }

    void portNames() {
        for (const QString& port : {QString(u""_s), u"   "_s}) {
            const Run r = mzcli({u"info"_s, u"--port"_s, port});
            QCOMPARE(r.code, 2);
            QVERIFY2(r.err.contains(u"--port is empty"_s), qPrintable(r.err));
        }
        // A bare name is looked up under /dev, and the message names what was tried.
        Run r = mzcli({u"info"_s, u"--port"_s, u"ttyNoSuchPort"_s});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(u"/dev/ttyNoSuchPort does not exist"_s), qPrintable(r.err));
        // A bare name that exists where mzcli runs is taken as it is.
        SimProcess sim;
        QVERIFY(sim.start({u"--mode"_s, u"2"_s, u"--link"_s, path(u"radio"_s)}));
        r = mzcli({u"info"_s, u"--port"_s, u"radio"_s});
        QVERIFY2(r.code == 0, qPrintable(r.err));
    }
};

MZ_TEST_GUILESS_MAIN(TestHardEdges)
#include "tst_hardedges.moc"
