// No two items of one menu share an access key, in either language: Alt and the letter must
// lead to one command.

#include "gui/mainwindowfixture.h"
#include "support/testmain.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
// The access keys that more than one visible item of menu uses, each with the items' texts;
// submenus are checked as menus of their own.
QStringList clashes(const QString& where, const QList<QAction*>& actions) {
    QMap<QKeySequence, QStringList> byKey;
    QStringList out;
    for (QAction* a : actions) {
        if (a->isSeparator() || !a->isVisible()) continue;
        const QKeySequence key = QKeySequence::mnemonic(a->text());
        if (key.isEmpty())
            out << QStringLiteral("%1: \"%2\" has no access key").arg(where, a->text());
        else
            byKey[key] << a->text();
        if (a->menu())
            out << clashes(where + QStringLiteral(" > ") + a->text(), a->menu()->actions());
    }
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
        if (it->size() > 1)
            out << QStringLiteral("%1: %2 in %3")
                       .arg(where, it.key().toString(), it->join(QStringLiteral(", ")));
    return out;
}
} // namespace

class TestAccessKeys : public QObject, MainWindowFixture {
    Q_OBJECT

    ScriptedPrompter prompter;

private slots:
    void cleanup() { reset(); }

    void everyMenuHasDistinctAccessKeys_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 1;
        QTest::newRow("Chinese") << 2;
    }
    // With the channel table open, so that the Channel menu and the window list are there too.
    void everyMenuHasDistinctAccessKeys() {
        QFETCH(int, language);
        build(prompter, language);
        show();
        QVERIFY(channelTable());
        main->ShowChildForm(QStringLiteral("FrmDTMF"));
        // The Window menu fills its list of windows as it opens.
        for (QAction* top : main->menuBar()->actions())
            if (top->menu()) emit top->menu()->aboutToShow();
        const QStringList found = clashes(QStringLiteral("menu bar"), main->menuBar()->actions());
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }
};

MZ_TEST_MAIN(TestAccessKeys)
#include "tst_accesskeys.moc"
