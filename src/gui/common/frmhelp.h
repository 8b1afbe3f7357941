#pragma once

// The user manual inside the program: a list of its chapters and the chapter shown as
// Markdown with its pictures. The chapters are files `manual/<lang>/<topic>.md` next to the
// program (the pictures in `manual/screenshots/`), in the language the program speaks.

#include "core/lang/langtext.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class QListWidget;
class QTextBrowser;

class FrmHelp : public QWidget {
    Q_OBJECT
public:
    explicit FrmHelp(QWidget* parent = nullptr);

    // The chapters in their order; "index" is the first.
    static QStringList topics();
    // The chapter that explains a window, by the window's object name ("index" for a window
    // the manual has no chapter of its own for).
    static QString topicFor(const QString& windowName);
    // The folder of the chapters in the current language (manual/<its code>); a chapter missing
    // there is read from manual/en.
    static QString manualDir();

    void showTopic(const QString& topic);
    QString currentTopic() const { return topic_; }
    // The language the window was made in: its list and chapters are in that language.
    QString language() const { return language_; }
    QTextBrowser* browser() const { return browser_; }

private:
    void fillTopics();
    QString chapterPath(const QString& topic) const;

    QListWidget* list_ = nullptr;
    QTextBrowser* browser_ = nullptr;
    QString topic_;
    QString language_; // its language file
};

// Opens (or brings forward) the manual at a chapter. From a modal dialog the manual belongs to
// that dialog, so that it can be read and scrolled while the dialog waits.
FrmHelp* showHelp(QWidget* from, const QString& topic);

// After a language switch: every open manual window shows its chapter in the new language.
void reopenHelpInLanguage();

// The Help button of a window (object name CommandHelp), shown and opening the window's own
// chapter.
void offerHelp(QWidget* window);

// F1 in a dialog opens the chapter of that dialog; the main window has its own F1 (Help >
// Help Topics), which looks at the active child window.
void installDialogHelpKey();
