// Real message boxes over the main window: after the box the keys act where the user was
// typing, and the box is wide enough for its title.

#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "app/childwindows.h"
#include "app/frmmain.h"
#include "channels/channelgridview.h"
#include "channels/channeltablemodel.h"
#include "channels/frmcommchinfo.h"
#include "common/guiprompter.h"

#include "core/model/country.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {
// Answers the next message box with its default button once it is up, noting what it showed.
struct BoxUser {
    QString title, text;
    int width = 0;
    int titleWidth = 0;
    bool answered = false;

    void arm() {
        QTimer::singleShot(20, [this] { look(); });
    }
    void look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            arm();
            return;
        }
        title = box->windowTitle();
        text = box->text();
        width = box->width();
        titleWidth = box->fontMetrics().horizontalAdvance(title);
        answered = true;
        box->defaultButton() ? box->defaultButton()->click() : box->accept();
    }
};

void typeKeys(const QString& text) {
    for (QChar ch : text)
        QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
}
} // namespace

class TestMessageFocus : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    std::unique_ptr<GuiPrompter> prompter;
    std::unique_ptr<frmMain> main;

private slots:
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        tree->startUp(*doc);
        // A title as long as a real one in another language.
        const QString english = App().langDir() + QStringLiteral("/english.ini");
        QFile f(english);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(f.readAll());
        f.close();
        text.replace(
            QRegularExpression(QStringLiteral("^12000=.*$"), QRegularExpression::MultilineOption),
            QStringLiteral("12000=MZ-710 Programming Software for Dealers and Owners"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        f.close();
        doc->SetCountryMode(1);
        prompter = std::make_unique<GuiPrompter>();
        doc->setPrompter(prompter.get());
        main = std::make_unique<frmMain>(*doc, *prompter);
        prompter->setParent(main.get());
        RegisterChildWindows(*main);
        main->Load();
        main->show();
        // The channel table picked in the place of the start panel.
        main->ShowChildForm(QStringLiteral("frmCommChInfo"));
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
    }
    void cleanup() {
        main.reset();
        doc->setPrompter(nullptr);
        prompter.reset();
        doc.reset();
        tree.reset();
    }

    void tableKeepsTheKeysAfterTheBandWarning() {
        auto* table =
            qobject_cast<frmCommChInfo*>(main->ChildForm(QStringLiteral("frmCommChInfo")));
        QVERIFY(table);
        ChannelGridView* grid = table->grid();
        grid->setFocus();
        grid->setCurrentIndex(table->tableModel()->index(4, 1));
        QTRY_COMPARE(QApplication::focusWidget(), grid);
        BoxUser user;
        user.arm();
        typeKeys(QStringLiteral("35"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(user.answered);
        QVERIFY(user.text.startsWith(LoadLangText(9021)));
        // The box shows its whole title.
        QCOMPARE(user.title, QStringLiteral("MZ-710 Programming Software for Dealers and Owners"));
        QVERIFY2(user.width > user.titleWidth, qPrintable(QString::number(user.width)));

        // Nothing was stored: the empty row stays empty.
        QVERIFY(!doc->Channel(FirstCHOfGroup(0, 1) + 5));
        // The window manager gives the main window the keyboard back: the table has it (its
        // cell editor is gone), not the next button and not the tree.
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QTRY_COMPARE(QApplication::focusWidget(), grid);
        QTest::qWait(50);
        QCOMPARE(QApplication::focusWidget(), grid);
        // The next key moves in the table.
        const int row = grid->currentIndex().row();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(grid->currentIndex().row(), row + 1);
    }

    void editDialogKeepsTheFieldAfterTheBandWarning() {
        QWidget* dialog = main->ShowChildForm(QStringLiteral("FrmCHInfoEdit"));
        QVERIFY(dialog);
        auto* text1 = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
        QVERIFY(text1 && text1->isEnabled());
        text1->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), text1);
        text1->selectAll();
        BoxUser user;
        user.arm();
        typeKeys(QStringLiteral("35"));
        QTest::keyClick(text1, Qt::Key_Return);
        QTRY_VERIFY(user.answered);
        QVERIFY(user.text.startsWith(LoadLangText(9021)));
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QTest::qWait(50);
        // Enter stores and moves on to the next field, as it does without a warning: the focus
        // stays in the dialog, past Text1.
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus && dialog->isAncestorOf(focus));
        QVERIFY(focus != text1);
    }

    void aLongReportFitsTheScreen() {
        // A report of 200 rows: its first lines above a list that scrolls, its button in view.
        QStringList lines{u"Paste"_s, u"200 rows changed"_s};
        for (int i = 1; i <= 200; ++i)
            lines << u"EU %1: frequency kept"_s.arg(i);
        bool looked = false;
        QTimer::singleShot(50, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            const QRect screen = box->screen()->availableGeometry();
            QVERIFY2(box->frameGeometry().height() <= screen.height(),
                     qPrintable(QString::number(box->frameGeometry().height())));
            auto* list = box->findChild<QPlainTextEdit*>(u"MsgBoxList"_s);
            QVERIFY(list && list->verticalScrollBar()->maximum() > 0);
            QVERIFY(!list->accessibleName().isEmpty());
            auto* ok = box->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            QVERIFY(ok && ok->isVisible());
            QVERIFY(box->rect().contains(ok->mapTo(box, ok->rect().bottomRight())));
            QPixmap shot = box->grab();
            shot.save(QDir::temp().filePath(u"mz-long-report.png"_s));
            looked = true;
            ok->click();
        });
        QCOMPARE(
            prompter->ask(lines.join(u'\n'), Prompter::Buttons::Ok, Prompter::Icon::Information),
            Prompter::Answer::Ok);
        QVERIFY(looked);
    }
};

MZ_TEST_MAIN(TestMessageFocus)
#include "tst_messagefocus.moc"
