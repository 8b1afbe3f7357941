#pragma once

// A main window as the program makes it, on a document of its own in a private runtime tree,
// with every child window registered and the file dialogs answered by `chosen`. A test class
// derives from it, calls build() and then show() (it may set up more in between), and reset()
// in its cleanup.

#include "gui/guitestenv.h"

#include "app/childwindows.h"
#include "app/frmmain.h"
#include "channels/channelgridview.h"
#include "channels/channeltablemodel.h"
#include "channels/frmcommchinfo.h"
#include "lang/qttranslations.h"

#include <functional>
#include <memory>

class MainWindowFixture {
protected:
    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    std::unique_ptr<frmMain> main;
    QString chosen; // the file the next file dialog returns; empty: cancelled

    // prepare runs on the started document before the window is made.
    void build(ScriptedPrompter& prompter, int language = 1,
               const std::function<void(Document&)>& prepare = {}) {
        tree = std::make_unique<TestTree>(language);
        buildOnTree(prompter, prepare);
    }
    // The same in the language of a file ("german.ini").
    void build(ScriptedPrompter& prompter, const QString& languageFile,
               const std::function<void(Document&)>& prepare = {}) {
        tree = TestTree::speaking(languageFile);
        buildOnTree(prompter, prepare);
    }
    void buildOnTree(ScriptedPrompter& prompter, const std::function<void(Document&)>& prepare) {
        doc = std::make_unique<Document>();
        doc->setPrompter(&prompter);
        tree->startUp(*doc);
        if (prepare) prepare(*doc);
        prompter.reset();
        // Qt's own buttons (a message box's Yes and No) in the language, as at the start.
        ApplyQtTranslations();
        main = std::make_unique<frmMain>(*doc, prompter);
        RegisterChildWindows(*main);
        main->setFileChooser([this](bool, const QString&) { return chosen; });
    }
    // The window as the program starts: the start panel in the place of the child windows.
    void showStarting() {
        main->Load();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
    // Then the channel table picked, as by a user who works on the start-up document.
    void show() {
        showStarting();
        main->ShowChildForm(QStringLiteral("frmCommChInfo"));
    }
    frmCommChInfo* channelTable() const {
        return qobject_cast<frmCommChInfo*>(main->ChildForm(QStringLiteral("frmCommChInfo")));
    }
    // Row 2 of the shown group gets a frequency typed into its cell, without Enter: the value
    // is still in the cell's editor.
    void typeFrequencyWithoutEnter(const QByteArray& text = "28.5") {
        frmCommChInfo* t = channelTable();
        QVERIFY(t);
        t->grid()->setFocus();
        t->grid()->setCurrentIndex(t->tableModel()->index(1, 1));
        QTest::keyClick(t->grid(), Qt::Key_Return);
        QTRY_VERIFY(t->grid()->isEditing());
        for (char c : text)
            QTest::keyClick(QApplication::focusWidget(), c);
    }
    void reset() {
        main.reset();
        doc.reset();
        tree.reset();
    }
};
