// No two items of one menu, and no two controls of one window, share an access key, in any
// language: Alt and the letter must lead to one command.

#include "gui/mainwindowfixture.h"
#include "support/testmain.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

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
// The access keys that more than one visible control of a window uses: buttons, labels of a
// control, group boxes and tabs.
QStringList windowClashes(const QString& where, QWidget* window) {
    QMap<QKeySequence, QStringList> byKey;
    auto add = [&byKey](const QString& text) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty()) byKey[key] << text;
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->window() != window) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            add(b->text());
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
            add(l->text());
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            add(g->title());
        else if (auto* t = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < t->count(); ++i)
                add(t->tabText(i));
    }
    QStringList out;
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
        QTest::addColumn<QString>("language");
        for (const QString& file : TestLanguageFiles())
            QTest::newRow(qPrintable(file)) << file;
    }
    // With the channel table open, so that the Channel menu and the window list are there too.
    void everyMenuHasDistinctAccessKeys() {
        QFETCH(QString, language);
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

    void windowCheckCatchesAClash() {
        QWidget w;
        auto* l = new QVBoxLayout(&w);
        auto* box = new QGroupBox(QStringLiteral("&Port"), &w);
        auto* label = new QLabel(QStringLiteral("&Speed"), &w);
        label->setBuddy(new QLineEdit(&w));
        l->addWidget(box);
        l->addWidget(label);
        l->addWidget(new QPushButton(QStringLiteral("&Save"), &w));
        l->addWidget(new QPushButton(QStringLiteral("Save &as"), &w));
        QCOMPARE(windowClashes(QStringLiteral("w"), &w),
                 QStringList{QStringLiteral("w: Alt+S in &Speed, &Save")});
    }

    void everyWindowHasDistinctAccessKeys_data() { everyMenuHasDistinctAccessKeys_data(); }
    // Every child window, and the dialogs of the menus.
    void everyWindowHasDistinctAccessKeys() {
        QFETCH(QString, language);
        build(prompter, language);
        prompter.allowAny(Prompter::Answer::Cancel);
        show();
        QStringList found;
        for (const QString& name : main->childFormNames()) {
            QVERIFY2(main->ShowChildForm(name), qPrintable(name));
            QCoreApplication::processEvents();
            if (QWidget* w = main->ChildForm(name)) found << windowClashes(name, w);
        }
        for (const char* action : {"mnuLanguage", "mnuHelpAbout", "MnuProPassWord", "mnuModelInfo",
                                   "mnuComm", "mnuFileBackups"}) {
            auto* a = main->findChild<QAction*>(QLatin1String(action));
            if (!a) continue;
            onNextModal([&found, action](QWidget* dlg) {
                found << windowClashes(QLatin1String(action), dlg);
            });
            a->trigger();
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }
};

MZ_TEST_MAIN(TestAccessKeys)
#include "tst_accesskeys.moc"
