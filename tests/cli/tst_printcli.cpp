// mzcli print, run as a user would from an installation of its own, without a display: the
// report of the demo file in English and Chinese, and the refusals, which write nothing.

#include "core/files/opendatafile.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "support/documentbuilders.h"
#include "support/pdftext.h"
#include "support/testmain.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Each test class of the program has its own Run: kept apart, never one definition for two.
namespace {
struct Run {
    int code = -1;
    QString err;
};
} // namespace

class TestPrintCli : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString work(const QString& name) const { return dir_.filePath(u"work/"_s + name); }
    QString locale_ = u"C"_s;
    // mzcli speaks the language of its environment; the window's setting says the other
    // language, and must not count.
    void setLanguage(int language) {
        QFile f(dir_.filePath(u"language/mysetup.ini"_s));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[language]\nIsFirstRun=0\nCurrentLanguage=%1\n")
                    .arg(3 - language)
                    .toUtf8());
        locale_ = language == 2 ? u"zh_CN.UTF-8"_s : u"C"_s;
    }
    // No QT_QPA_PLATFORM: mzcli must do without a display by itself.
    Run run(const QStringList& args) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"QT_QPA_PLATFORM"_s);
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.insert(u"LC_ALL"_s, locale_);
        p.setProcessEnvironment(env);
        p.start(dir_.filePath(u"V100/mzcli"_s), args);
        Run r;
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit) {
            r.code = p.exitCode();
            r.err = QString::fromUtf8(p.readAllStandardError());
        }
        return r;
    }

private slots:
    void initTestCase() {
        QDir root(dir_.path());
        QVERIFY(root.mkpath(u"V100/language"_s) && root.mkpath(u"language"_s));
        QVERIFY(root.mkpath(u"work"_s));
        QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/mzcli"), dir_.filePath(u"V100/mzcli"_s)));
        QVERIFY(QFile::copy(QStringLiteral(MZ_STAGE_DIR "/Version.ini"),
                            dir_.filePath(u"Version.ini"_s)));
        for (const QString& f : {u"english.ini"_s, u"chinese.ini"_s})
            QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/language/") + f,
                                dir_.filePath(u"V100/language/"_s + f)));
        QVERIFY(
            QFile::copy(QStringLiteral(MZ_SOURCE_DIR "/data/demo/demo.dat"), work(u"demo.dat"_s)));
    }

    void demoFileInBothLanguages_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 1;
        QTest::newRow("Chinese") << 2;
    }
    void demoFileInBothLanguages() {
        QFETCH(int, language);
        setLanguage(language);
        const QString pdf = work(u"demo%1.pdf"_s.arg(language));
        const Run r = run({u"print"_s, work(u"demo.dat"_s), u"-o"_s, pdf});
        QCOMPARE(r.code, 0);
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
        if (PdfToTextProgram().isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");

        const QString text = PdfPages(pdf).join(u'\n');
        Document doc;
        QCOMPARE(OpenDataFile(doc, work(u"demo.dat"_s)), OpenResult::Opened);
        UseStagedLanguage(language);
        int listed = 0;
        for (int g = 0; g < GroupCount(doc.CountryMode); ++g)
            for (int row = 1; row <= GroupSize(g, doc.CountryMode); ++row) {
                const int chNo = FirstCHOfGroup(g, doc.CountryMode) + row;
                const CHInfoRec* c = doc.Channel(chNo);
                if (!c) continue;
                ++listed;
                // The row as the channel window numbers it, then the frequency.
                const QRegularExpression line(
                    u"^\\s*%1\\s+%2\\s"_s.arg(row).arg(
                        QRegularExpression::escape(doc.FreToListText(c->RxFre.text(), g))),
                    QRegularExpression::MultilineOption);
                QVERIFY2(line.match(text).hasMatch(), qPrintable(QString::number(chNo)));
            }
        QVERIFY(listed >= 40);
        for (int id : {12000, 12001, 16000, 25000, 18000})
            QVERIFY2(text.contains(LoadLangText(id)), qPrintable(LoadLangText(id)));
        UseStagedLanguage(Language::English);
    }

    void refusalsWriteNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("said"); // a part of the one sentence on stderr
        const QString demo = work(u"demo.dat"_s);
        const QString out = work(u"out.pdf"_s);
        QTest::newRow("no output") << QStringList{u"print"_s, demo} << u"-o FILE.pdf"_s;
        QTest::newRow("no input") << QStringList{u"print"_s, u"-o"_s, out} << u"one data file"_s;
        QTest::newRow("missing input")
            << QStringList{u"print"_s, work(u"none.dat"_s), u"-o"_s, out} << u"none.dat"_s;
        QTest::newRow("not a data file")
            << QStringList{u"print"_s, QStringLiteral(MZ_SOURCE_DIR "/README.md"), u"-o"_s, out}
            << u"README.md"_s;
        QTest::newRow("output folder missing")
            << QStringList{u"print"_s, demo, u"-o"_s, work(u"missing/out.pdf"_s)}
            << u"missing/out.pdf"_s;
        QTest::newRow("output is a folder")
            << QStringList{u"print"_s, demo, u"-o"_s, dir_.filePath(u"work"_s)} << u"work"_s;
    }
    void refusalsWriteNothing() {
        QFETCH(QStringList, args);
        QFETCH(QString, said);
        setLanguage(1);
        const Run r = run(args);
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(said), qPrintable(r.err));
        QVERIFY2(!r.err.trimmed().contains(u'\n'), qPrintable(r.err)); // one sentence
        QVERIFY(!QFile::exists(work(u"out.pdf"_s)));
        QVERIFY(!QFile::exists(work(u"missing"_s)));
    }
};

MZ_TEST_MAIN(TestPrintCli)
#include "tst_printcli.moc"
