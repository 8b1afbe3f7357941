// Read, write and radio-information read from the main window against mzsim on a
// pseudo-terminal: the confirmation, the progress window, the password dialog, the closing
// message, what reaches the document, and the commands locked while a session runs.

#include "core/link/linktexts.h"
#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "app/childwindows.h"
#include "app/frmmain.h"
#include "core/app/linksettings.h"
#include "core/link/linktexts.h"
#include "core/link/memorymap.h"
#include "core/link/session.h"
#include "core/model/version.h"
#include "link/frmprogress.h"
#include "link/sessioncontroller.h"
#include "sim/simprocess.h"
#include "support/documentbuilders.h"
#include "support/richdocument.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <optional>

using A = Prompter::Answer;

namespace {
// Answers the password dialog whenever it is up, as a user would: the scripted text and OK,
// or Cancel when the script holds nothing. Records the text the dialog offered.
class PasswordUser : public QObject {
public:
    QList<std::optional<QString>> answers;
    QStringList offered;

    PasswordUser() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] { look(); });
        timer_.start();
    }

private:
    void look() {
        QWidget* dlg = QApplication::activeModalWidget();
        if (!dlg || dlg->objectName() != QLatin1String("FrmPassWord") || dlg == handled_) return;
        handled_ = dlg;
        auto* text = dlg->findChild<QLineEdit*>(QStringLiteral("Text1"));
        offered << text->text();
        const std::optional<QString> answer =
            answers.isEmpty() ? std::nullopt : answers.takeFirst();
        if (answer) text->setText(*answer);
        dlg->findChild<QPushButton*>(answer ? "CommandOK" : "CommandCancel")->click();
    }
    QTimer timer_;
    QPointer<QWidget> handled_;
};
} // namespace

class TestSessions : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    ScriptedPrompter prompter;
    std::unique_ptr<frmMain> main;
    std::unique_ptr<SessionController> sessions;
    std::unique_ptr<SimProcess> sim;

    // What the test saw while a transfer ran.
    struct Seen {
        QString caption, window;
        bool commandsEnabled = true;
        QStringList percents;
        // The document as the read left it, before any window looked at it.
        QByteArray replacedBy;
    } seen;

    QAction* action(const char* name) { return child<QAction>(main.get(), name); }
    bool commandsEnabled() {
        return action("mnuReadFromRadio")->isEnabled() || action("mnuWriteToRadio")->isEnabled() ||
               action("MnuLocalInfo")->isEnabled() || action("ReadRadio")->isEnabled() ||
               action("WriteRadio")->isEnabled();
    }
    QString file(const char* name) const { return tree->dir.filePath(QLatin1String(name)); }
    // The virtual radio, replying without delay, as the chosen port.
    bool startRadio(const QStringList& args, const QString& baud = QStringLiteral("0")) {
        sim = std::make_unique<SimProcess>();
        if (!sim->start(args + QStringList{QStringLiteral("--baud"), baud})) return false;
        App().PortName = sim->device;
        return true;
    }
    // A radio memory made from a document of the HF mode with every part in use.
    QString richMemory(QByteArray* bytes = nullptr) {
        Document source;
        FillRichDocument(source, 1);
        const QByteArray m = PackedBytes(source);
        if (bytes) *bytes = m;
        const QString path = file("rich.bin");
        return WriteBytes(path, m) ? path : QString();
    }
    bool askedFor(int id) const { return prompter.texts().contains(LoadLangText(id)); }

private slots:
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        doc->setPrompter(&prompter);
        tree->startUp(*doc);
        prompter.reset();
        main = std::make_unique<frmMain>(*doc, prompter);
        RegisterChildWindows(*main);
        main->Load();
        main->show();
        // The channel table picked in the place of the start panel.
        main->ShowChildForm(QStringLiteral("frmCommChInfo"));
        sessions = std::make_unique<SessionController>(*main);
        seen = Seen();
        LinkSession& s = sessions->session();
        connect(&s, &LinkSession::sessionStarted, main.get(), [this] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                seen.caption = w->windowTitle();
                seen.window = w->objectName();
            }
            seen.commandsEnabled = commandsEnabled();
            // Resizing the window does not stop the reply timer: the session goes on.
            main->resize(main->width() - 40, main->height() - 30);
        });
        connect(doc.get(), &Document::documentReplaced, main.get(),
                [this] { seen.replacedBy = PackedBytes(*doc); });
        connect(&s, &LinkSession::progress, main.get(), [this] {
            if (QWidget* w = QApplication::activeModalWidget())
                if (auto* label = w->findChild<QLabel*>(QStringLiteral("Label2")))
                    seen.percents << label->text();
        });
    }
    void cleanup() {
        sessions.reset();
        main.reset();
        doc.reset();
        sim.reset();
        tree.reset();
    }

    void readFromTheMainWindow() {
        QByteArray memory;
        QVERIFY(startRadio({"--mode", "1", "--image", richMemory(&memory)}));
        doc->CurFileName = file("old.dat");
        doc->IsNewFile = false;
        QSignalSpy ended(&sessions->session(), &LinkSession::sessionEnded);
        prompter.reset({A::Ok});
        prompter.expect(9009);

        action("mnuReadFromRadio")->trigger();
        // The command returns when the progress window has closed.
        QCOMPARE(ended.size(), 1);
        QVERIFY(ended[0][0].toBool());
        QCOMPARE(prompter.asked[0].text, LoadLangText(9004));
        QCOMPARE(prompter.asked[0].buttons, Prompter::Buttons::OkCancel);
        QCOMPARE(prompter.asked[0].icon, Prompter::Icon::Question);
        QCOMPARE(seen.window, QStringLiteral("FrmProgress"));
        QCOMPARE(seen.caption, LoadLangText(9027));
        QVERIFY(!seen.commandsEnabled);
        QCOMPARE(seen.percents.last(), QStringLiteral("100%"));
        QCOMPARE(prompter.texts().last(), LoadLangText(9009));
        QVERIFY(!sessions->transport().isOpen());
        // The data reaches the document a moment after the message; until then no session
        // can start.
        QVERIFY(doc->CurFileName == Document::unnamedFileName() || !commandsEnabled());

        QTRY_COMPARE(doc->CurFileName, Document::unnamedFileName());
        QVERIFY(doc->IsNewFile);
        QCOMPARE(doc->CountryMode, 1);
        QCOMPARE(seen.replacedBy, memory);
        // Titled by what it is, not by a file that does not exist; Save asks for a name.
        const QString title = LoadLangText(9830).section(QLatin1Char('%'), 0, 0);
        QVERIFY(doc->title().startsWith(title));
        QVERIFY(main->windowTitle().contains(doc->title()));
        QVERIFY(!main->windowTitle().contains(Document::unnamedFileName()));
        QVERIFY(main->ChildForm(QStringLiteral("frmCommChInfo")));
        QVERIFY(commandsEnabled());
    }

    void cancelledOrFailedReadLeavesTheDocument() {
        const QByteArray before = PackedBytes(*doc);
        const QString name = doc->CurFileName;

        // Cancel at the question: no progress window, the port closed again.
        QVERIFY(startRadio({"--mode", "1", "--image", richMemory()}));
        prompter.reset({A::Cancel});
        action("ReadRadio")->trigger();
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9004)});
        QVERIFY(seen.window.isEmpty());
        QVERIFY(!sessions->session().isRunning());
        QVERIFY(!sessions->transport().isOpen());
        QVERIFY(commandsEnabled());

        // A radio of another model: both names shown, nothing read.
        QVERIFY(startRadio({"--model", "MZ-999", "--image", richMemory()}));
        QSignalSpy applied(&sessions->session(), &LinkSession::readReady);
        prompter.reset({A::Ok});
        prompter.expect(9012);
        action("mnuReadFromRadio")->trigger();
        QCOMPARE(seen.caption, LoadLangText(9027));
        QCOMPARE(prompter.asked.size(), 2);
        QVERIFY(prompter.asked[1].text.startsWith(LoadLangText(9012)));
        QVERIFY(prompter.asked[1].text.contains(QStringLiteral("Radio is MZ-999")));
        QVERIFY(commandsEnabled());
        QVERIFY(!sessions->transport().isOpen());
        QCOMPARE(applied.size(), 0);
        QVERIFY(seen.replacedBy.isEmpty());
        QVERIFY(PackedBytes(*doc) == before);
        QCOMPARE(doc->CurFileName, name);

        // A port that is not there: message 9003, no session.
        sim.reset();
        App().PortName = file("no-such-port");
        prompter.reset();
        prompter.expect(9003);
        action("mnuReadFromRadio")->trigger();
        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(prompter.asked[0].text.startsWith(LoadLangText(9003)));
        QVERIFY(commandsEnabled());
        QVERIFY(PackedBytes(*doc) == before);
    }

    // Presses Cancel in the progress window, as a separate event, each time the transfer
    // first reaches one of the given percentages.
    void cancelAt(QList<int> percents) {
        auto* pending = new QList<int>(std::move(percents));
        connect(&sessions->session(), &LinkSession::progress, main.get(), [pending](int p) {
            if (pending->isEmpty() || p < pending->first()) return;
            pending->removeFirst();
            QTimer::singleShot(0, [] {
                if (QWidget* w = QApplication::activeModalWidget())
                    if (w->objectName() == QLatin1String("FrmProgress"))
                        w->findChild<QPushButton*>(QStringLiteral("CommandCancel"))->click();
            });
        });
        connect(main.get(), &QObject::destroyed, [pending] { delete pending; });
    }

    void ctrlWWritesWithTheChannelTableOpen() {
        QVERIFY(startRadio({}));
        QVERIFY(main->ChildForm(QStringLiteral("frmCommChInfo")));
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus && main->ChildForm(QStringLiteral("frmCommChInfo"))->isAncestorOf(focus));
        prompter.reset({A::Cancel});
        QTest::keyClick(focus, Qt::Key_W, Qt::ControlModifier);
        QTRY_COMPARE(prompter.texts(), QStringList{LoadLangText(9005)});
        // The table stays open: the child window's own close key is Ctrl+F4 alone.
        QVERIFY(main->ChildForm(QStringLiteral("frmCommChInfo")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_VERIFY(!main->ChildForm(QStringLiteral("frmCommChInfo")));
    }

    void cancelStopsAReadAtOnce() {
        QVERIFY(startRadio({"--mode", "1", "--image", richMemory(), "--sessions", "1"},
                           QStringLiteral("9600")));
        doc->CurFileName = file("kept.dat");
        doc->IsNewFile = false;
        const QByteArray before = PackedBytes(*doc);
        QSignalSpy ended(&sessions->session(), &LinkSession::sessionEnded);
        cancelAt({3});
        prompter.reset({A::Ok});
        action("mnuReadFromRadio")->trigger();
        QCOMPARE(ended.size(), 1);
        QVERIFY(!ended[0][0].toBool());
        // Nothing asked beyond the confirmation, no closing message; the status bar says
        // what the cancel left.
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9004)});
        QCOMPARE(main->statusMessage(), LinkText(TxtReadCancelled));
        QVERIFY(seen.percents.last() != QStringLiteral("100%"));
        QVERIFY(!sessions->transport().isOpen());
        // The radio was told to leave programming mode: its one session is over.
        QVERIFY(sim->process.waitForFinished(5000));
        QTest::qWait(700);
        QVERIFY(seen.replacedBy.isEmpty());
        QVERIFY(PackedBytes(*doc) == before);
        QCOMPARE(doc->CurFileName, file("kept.dat"));
        QVERIFY(commandsEnabled());
    }

    void pulledCableEndsTheReadAndTheNextSessionWorks() {
        QByteArray memory;
        QVERIFY(
            startRadio({"--mode", "1", "--image", richMemory(&memory)}, QStringLiteral("9600")));
        doc->CurFileName = file("kept.dat");
        doc->IsNewFile = false;
        const QByteArray before = PackedBytes(*doc);
        connect(&sessions->session(), &LinkSession::progress, main.get(), [this](int p) {
            if (p >= 5 && sim && sim->process.state() == QProcess::Running) sim->kill();
        });
        prompter.reset({A::Ok, A::Ok});
        prompter.expect(LinkText(TxtUnplugged));
        action("mnuReadFromRadio")->trigger();
        QCOMPARE(prompter.texts().last(), LinkText(TxtUnplugged));
        QVERIFY(!sessions->transport().isOpen());
        QTest::qWait(700);
        QVERIFY(seen.replacedBy.isEmpty());
        QVERIFY(PackedBytes(*doc) == before);
        QVERIFY(commandsEnabled());

        // The cable is back, here as a new port: the same run reads.
        sessions->session().disconnect(main.get());
        QVERIFY(startRadio({"--mode", "1", "--image", richMemory()}));
        prompter.reset({A::Ok});
        prompter.expect(9009);
        action("mnuReadFromRadio")->trigger();
        QCOMPARE(prompter.texts().last(), LoadLangText(9009));
        QTRY_COMPARE(seen.replacedBy, memory);
    }

    void cancelAsksBeforeStoppingAWrite() {
        QVERIFY(
            startRadio({"--sessions", "1", "--save", file("saved.bin")}, QStringLiteral("9600")));
        FillRichDocument(*doc, 0);
        QSignalSpy ended(&sessions->session(), &LinkSession::sessionEnded);
        // Among the blocks, the settings file already holds the warning: a window killed now
        // warns at its next start.
        bool storedMidWrite = false;
        connect(&sessions->session(), &LinkSession::progress, main.get(), [&] {
            const LinkSettings now = linkSettings();
            ReadLinkSettings();
            storedMidWrite = storedMidWrite || linkSettings().RadioPartlyWritten;
            linkSettings() = now;
        });
        // The first Cancel is taken back (No): the write goes on; the second is meant (Yes).
        cancelAt({5, 20});
        prompter.reset({A::Ok, A::No, A::Yes, A::Ok});
        action("WriteRadio")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 30000);
        QVERIFY(!ended[0][0].toBool());
        const QString stop = LoadLangText(9810);
        QVERIFY(stop.contains(QStringLiteral("partly written")));
        // Stopped among the blocks: where it stood and what the radio now holds is said once
        // more, as a fact, and stays in the status bar and the title until a write succeeds.
        const QString stoppedAt =
            LinkText(TxtWriteStoppedAt).arg(sessions->session().stoppedAtPercent()) + ' ' +
            LinkText(TxtPartlyWritten);
        QCOMPARE(prompter.texts(), (QStringList{LoadLangText(9005), stop, stop, stoppedAt}));
        QCOMPARE(main->statusMessage(), stoppedAt);
        QVERIFY(main->windowTitle().endsWith(LinkText(TxtPartlyWrittenShort)));
        auto* warning = child<QLabel>(main.get(), "RadioWarning");
        QVERIFY(warning->isVisible());
        QCOMPARE(warning->text(), LinkText(TxtPartlyWritten));
        main->showStatusMessage(QStringLiteral("a newer message"));
        QVERIFY(warning->isVisible());
        QCOMPARE(prompter.asked[1].buttons, Prompter::Buttons::YesNo);
        // It went on after No, and stopped after Yes, long before the end.
        QVERIFY(seen.percents.contains(QStringLiteral("20%")));
        QVERIFY(!seen.percents.contains(QStringLiteral("100%")));
        QVERIFY(!askedFor(9010));
        QVERIFY(!sessions->transport().isOpen());
        QVERIFY(sim->process.waitForFinished(5000));
        QTRY_VERIFY(commandsEnabled());
        QVERIFY(storedMidWrite);
        // The next start of the window says it again.
        sessions.reset();
        main->setRadioWarning(QString());
        linkSettings() = LinkSettings{};
        ReadLinkSettings();
        sessions = std::make_unique<SessionController>(*main);
        QCOMPARE(main->radioWarning(), LinkText(TxtPartlyWrittenShort));
        QVERIFY(warning->isVisible());
    }

    void aStopAnsweredAfterTheWriteEndedChangesNothing() {
        // The user takes long over the question: the write goes on meanwhile, never leaving the
        // line silent, and finishes; the late Yes changes nothing and the result is shown. The
        // partly written radio of an earlier write is then no longer said.
        linkSettings().VerifyAfterWrite = false;
        QVERIFY(startRadio({"--sessions", "1", "--save", file("saved.bin")}));
        main->setRadioWarning(LinkText(TxtPartlyWritten), LinkText(TxtPartlyWrittenShort));
        linkSettings().RadioPartlyWritten = true;
        QVERIFY(WriteLinkSettings());
        FillRichDocument(*doc, 0);
        const QByteArray expect = PackedBytes(*doc);
        QSignalSpy ended(&sessions->session(), &LinkSession::sessionEnded);
        cancelAt({5});
        prompter.reset({A::Ok, A::Yes});
        prompter.expect(9010);
        prompter.onAsk = [&] {
            if (prompter.asked.last().text == LoadLangText(9810))
                QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 30000);
        };
        action("WriteRadio")->trigger();
        QTRY_VERIFY(askedFor(9010));
        prompter.onAsk = nullptr;
        QVERIFY(ended[0][0].toBool());
        QCOMPARE(prompter.texts(),
                 (QStringList{LoadLangText(9005), LoadLangText(9810), LoadLangText(9010)}));
        QTRY_COMPARE(ReadBytes(file("saved.bin")), expect);
        QVERIFY(main->radioWarning().isEmpty());
        QVERIFY(!child<QLabel>(main.get(), "RadioWarning")->isVisible());
        QVERIFY(!main->windowTitle().contains(LinkText(TxtPartlyWrittenShort)));
        ReadLinkSettings();
        QVERIFY(!linkSettings().RadioPartlyWritten);
    }

    void cancelledCheckSaysTheWriteIsComplete() {
        // The write went through; the user stops the reading back: the radio holds the whole
        // new memory, and that is what the window says (not that the write failed).
        linkSettings().VerifyAfterWrite = true;
        QVERIFY(startRadio({}, QStringLiteral("9600")));
        FillRichDocument(*doc, 0);
        bool cancelled = false;
        connect(&sessions->session(), &LinkSession::progress, main.get(), [&](int p) {
            if (cancelled || p < 20 || !sessions->session().verifying()) return;
            cancelled = true;
            QTimer::singleShot(0, [] {
                if (QWidget* w = QApplication::activeModalWidget())
                    w->findChild<QPushButton*>(QStringLiteral("CommandCancel"))->click();
            });
        });
        QSignalSpy verified(&sessions->session(), &LinkSession::verifyFinished);
        const QString said = LinkText(TxtWrittenCheckInterrupted);
        prompter.reset({A::Ok});
        prompter.expect(said);
        action("WriteRadio")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(verified.size(), 1, 40000);
        QVERIFY(cancelled);
        QVERIFY(!verified[0][0].toBool());
        QTRY_VERIFY(prompter.saw(said));
        QVERIFY(!askedFor(9787));
        QVERIFY(!askedFor(9010));
        QCOMPARE(main->statusMessage(), said);
        QCOMPARE(sessions->session().writeReach(), LinkSession::WriteReach::Complete);
        QTRY_VERIFY(commandsEnabled());
    }

    void writeFromTheMainWindow() {
        // Reading the radio back after the write has a test of its own (tst_safety).
        linkSettings().VerifyAfterWrite = false;
        QVERIFY(startRadio({"--save", file("saved.bin")}));
        FillRichDocument(*doc, 0);
        const QByteArray expect = PackedBytes(*doc);
        const QString name = doc->CurFileName;
        prompter.reset({A::Ok});
        prompter.expect(9010);

        action("WriteRadio")->trigger();
        // The write starts a moment after the command, once the editors have committed.
        QVERIFY(prompter.asked.isEmpty());
        QTRY_VERIFY(askedFor(9010));
        QCOMPARE(prompter.asked[0].text, LoadLangText(9005));
        QCOMPARE(prompter.asked[0].icon, Prompter::Icon::Question);
        QCOMPARE(seen.window, QStringLiteral("FrmProgress"));
        QCOMPARE(seen.caption, LoadLangText(9028));
        QVERIFY(!seen.commandsEnabled);
        QCOMPARE(seen.percents.last(), QStringLiteral("100%"));
        QTRY_VERIFY(commandsEnabled());
        QVERIFY(!sessions->transport().isOpen());
        QTRY_COMPARE(ReadBytes(file("saved.bin")), expect);
        // Writing changes nothing in the document.
        QVERIFY(PackedBytes(*doc) == expect);
        QCOMPARE(doc->CurFileName, name);
    }

    void passwordDialogDuringARead() {
        QByteArray memory;
        QVERIFY(startRadio({"--mode", "1", "--password", "ab", "--image", richMemory(&memory)}));
        const QByteArray before = PackedBytes(*doc);
        PasswordUser user;

        // The password command and the session hold one password.
        user.answers = {QStringLiteral("xy")};
        main->MnuProPassWord();
        QCOMPARE(sessions->session().ProgPassword(), QStringLiteral("xy"));

        // It does not open this radio: the dialog comes up over the progress window offering
        // it; Cancel ends the read with nothing read.
        prompter.reset({A::Ok});
        prompter.expect(QStringLiteral("PassWord Failure!"));
        action("mnuReadFromRadio")->trigger();
        QCOMPARE(user.offered, (QStringList{"", "xy"}));
        QVERIFY(prompter.texts().contains(QStringLiteral("PassWord Failure!")));
        QVERIFY(!askedFor(9009));
        QVERIFY(!sessions->transport().isOpen());
        QVERIFY(commandsEnabled());
        QVERIFY(seen.replacedBy.isEmpty());
        QVERIFY(PackedBytes(*doc) == before);

        // The radio's password typed in the dialog lets the read go on, and is kept.
        user.answers = {QStringLiteral("ab")};
        prompter.reset({A::Ok});
        prompter.expect(9009);
        action("mnuReadFromRadio")->trigger();
        QCOMPARE(user.offered.size(), 3);
        QVERIFY(askedFor(9009));
        QCOMPARE(main->progPassword(), QStringLiteral("ab"));
        QTRY_COMPARE(seen.replacedBy, memory);

        // Once given, no dialog for the next session. (The document read is kept nowhere yet:
        // the next read asks first whether to save it, as New and Open do.)
        QTRY_VERIFY(commandsEnabled());
        prompter.reset({A::No, A::Ok});
        prompter.expect(9009);
        action("mnuReadFromRadio")->trigger();
        QCOMPARE(user.offered.size(), 3);
        QVERIFY(askedFor(9009));
    }

    void radioInformationRead() {
        QVERIFY(startRadio({"--mode", "2", "--password", "pw"}));
        const QByteArray before = PackedBytes(*doc);
        QSignalSpy ended(&sessions->session(), &LinkSession::sessionEnded);

        action("MnuLocalInfo")->trigger();
        // No confirmation and no progress window; the commands wait for its end.
        QVERIFY(prompter.asked.isEmpty());
        QVERIFY(sessions->session().isRunning());
        QVERIFY(!commandsEnabled());
        QTRY_COMPARE(ended.size(), 1);
        QVERIFY(ended[0][0].toBool());
        QVERIFY(seen.window.isEmpty());
        QVERIFY(prompter.asked.isEmpty());
        QVERIFY(commandsEnabled());
        QVERIFY(!sessions->transport().isOpen());
        QCOMPARE(doc->RadioInfo.InfoMode, 2);
        QCOMPARE(doc->RadioInfo.SerialNo.text(), QStringLiteral("SIM00000001"));
        QCOMPARE(doc->RadioInfo.Handler.text(), QStringLiteral("mzsim"));
        QVERIFY(PackedBytes(*doc) == before);
    }

    void exitEndsARunningSession() {
        QVERIFY(startRadio({}));
        main->ReadRMGDataFromRadio();
        QVERIFY(sessions->session().isRunning());
        QVERIFY(sessions->transport().isOpen());
        QVERIFY(main->close());
        QVERIFY(!sessions->session().isRunning());
        QVERIFY(!sessions->transport().isOpen());
        QVERIFY(prompter.asked.isEmpty());
    }

    void closingDuringAWriteEndsTheSession() {
        // Paced like a real line, so that the write is still running when the window closes.
        sim = std::make_unique<SimProcess>();
        QVERIFY(sim->start({"--baud", "9600", "--save", file("closed.bin")}));
        App().PortName = sim->device;
        FillRichDocument(*doc, 0);
        prompter.reset({A::Ok, A::No}); // write: OK; save the changes first: No
        bool closed = false;
        connect(&sessions->session(), &LinkSession::progress, main.get(), [&](int percent) {
            if (percent < 5 || closed) return;
            closed = true;
            QTimer::singleShot(0, main.get(), [this] { main->close(); });
        });
        action("WriteRadio")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(closed && !sessions->session().isRunning(), 30000);
        QVERIFY(!main->isVisible());
        QVERIFY(!sessions->transport().isOpen());
        QVERIFY(!QApplication::activeModalWidget());
        // The radio was told to leave programming mode: it saves its memory at that moment.
        QTRY_VERIFY(QFileInfo::exists(file("closed.bin")));
    }

    void firmwareOfAnotherVersionHandsOver() {
        // A V200 installed beside this version reads radios with V101; its program notes that
        // it was started.
        QVERIFY(QDir(tree->dir.path()).mkpath(QStringLiteral("V200")));
        const QString exe = tree->dir.filePath(
            QStringLiteral("V200/") +
            QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
        const QString note = file("started.txt");
        QVERIFY(WriteBytes(exe, "#!/bin/sh\ntouch '" + note.toUtf8() + "'\n"));
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::ExeOwner);
        FirmPairs().append({QStringLiteral("V200"), QStringLiteral("V101")});
        const QByteArray before = PackedBytes(*doc);

        // No version reads V102: message 9063 and this program goes on.
        QVERIFY(startRadio({"--firmware", "V102"}));
        prompter.reset({A::Ok, A::Yes});
        prompter.expect(9063);
        action("mnuReadFromRadio")->trigger();
        QVERIFY(askedFor(9063));
        QTest::qWait(50);
        QVERIFY(main->isVisible());

        // The read asks to save the changed document first (No); V200 is started and this
        // program leaves through its exit sequence, which asks again.
        doc->EditFunc([](FuncRec& f) { f.Volume = f.Volume == 5 ? 6 : 5; });
        const QByteArray changed = PackedBytes(*doc);
        QVERIFY(changed != before);
        QVERIFY(startRadio({"--firmware", "V101"}));
        prompter.reset({A::No, A::Ok, A::Yes, A::No});
        action("mnuReadFromRadio")->trigger();
        QTRY_VERIFY(!main->isVisible());
        QTRY_VERIFY(QFileInfo::exists(note));
        QCOMPARE(prompter.asked.size(), 4);
        QVERIFY(prompter.wasMessage(0, 9006));
        QCOMPARE(prompter.asked[3].buttons, Prompter::Buttons::YesNoCancel);
        QVERIFY(!sessions->transport().isOpen());
        QVERIFY(PackedBytes(*doc) == changed);
    }
};

MZ_TEST_MAIN(TestSessions)
#include "tst_sessions.moc"
