#pragma once

// What the session commands need of the window they run in: its document and prompter, the
// places a session reports to, and its exit. The main window is one; the session commands
// never include it.

#include "core/link/commkind.h"

#include <QString>
#include <functional>

class Document;
class LinkSession;
class Prompter;
class QObject;
class QWidget;

class SessionWindow {
public:
    using SessionStarter = std::function<void(CommKind)>;

    virtual ~SessionWindow() = default;
    // The window itself: the parent of the progress and password windows.
    virtual QWidget* sessionParent() = 0;
    virtual Document& document() const = 0;
    virtual Prompter& prompter() const = 0;
    // The window's session commands run the starter; the window shows the session's state.
    virtual void setSessionStarter(SessionStarter starter) = 0;
    virtual void setLinkSession(LinkSession* session) = 0;
    virtual void setSessionRunning(bool running) = 0;
    virtual void showStatusMessage(const QString& text, const QString& path = {}) = 0;
    // A warning about the radio that stays until it is replaced or cleared (empty): text in
    // the status bar, titleNote after the window title (a partly written radio).
    virtual void setRadioWarning(const QString& text, const QString& titleNote = {}) = 0;
    // Before a read's data replaces the document, and after it has.
    virtual void CloseCurAllWindows() = 0;
    virtual void documentLoaded() = 0;
    virtual QWidget* ShowChildForm(const QString& name) = 0;
    virtual void requestExit() = 0;
    // f runs (with context alive) when the window is about to close.
    virtual void whenClosing(QObject* context, std::function<void()> f) = 0;
};
