#pragma once

// Undo and redo of document edits. A step holds the whole radio image before and after the
// user's action (about 26 kB, shared with the neighbouring steps), so an undo gives back
// exactly the bytes of the state before, including what no window shows.
//
// Steps come about in two ways:
//   - commands that know what they do (paste, move, ...) call commit() with their caption
//     once they are done, after flush() before they start;
//   - every other edit is announced by the document's change signals; all changes until
//     control returns to the event loop become one step, captioned after what changed (one
//     channel, several channels, the group settings, the keys, ...).
// A new document, an opened file and a radio read start afresh (clear()).
//
// Only the program that edits records steps (setRecording); mzcli and the tests of other
// parts pay nothing for it.

#include "channeledit.h"
#include "records.h"

#include <QObject>
#include <QUndoStack>
#include <memory>

class Document;
class QTimer;

// What a step did, as the Edit menu names it: an action ("paste of %1") and what it acted on
// ("40 channels"); kept as text identifiers so that a language change renames the steps.
struct StepCaption {
    TextNote action;
    TextNote object; // id 0: the action has no %1
    QString text() const;
};

struct DocumentImage {
    RadioDataRec data;
    ChannelList channels{};

    // Equal in every byte that a file or the radio keeps (the channels in use).
    bool sameAs(const DocumentImage& other) const;
};

class DocumentHistory : public QObject {
    Q_OBJECT
public:
    explicit DocumentHistory(Document& doc);
    ~DocumentHistory() override;

    QUndoStack& stack() { return stack_; }
    const QUndoStack& stack() const { return stack_; }

    void setRecording(bool on);
    bool recording() const { return recording_; }
    // True while an undo or redo puts an image back (the document's signals are its own).
    bool restoring() const { return restoring_; }
    // While restoring: the image the windows showed before, so that they can point at what
    // the step changed.
    const DocumentImage* shownBefore() const { return restoring_ ? baseline_.get() : nullptr; }

    // Every change since the last step becomes one step with this caption; nothing happens
    // when nothing changed.
    void commit(const StepCaption& caption);
    // Changes announced so far become their own step now (before a command, an undo, a save).
    void flush();
    // Forgets every step; the current state is where undo stops.
    void clear();

    void undo();
    void redo();
    // The caption of the step that undo or redo would take back or do again, in the current
    // language; empty when there is none.
    QString undoText();
    QString redoText();
    // Captions again in the current language, after a language change.
    void retranslate();

    // The caption a set of changes gets when no command named it.
    static StepCaption describeChange(const DocumentImage& before, const DocumentImage& after,
                                      int mode);

signals:
    // The stack's undo or redo possibilities changed (a step, an undo, a clear, a language).
    void changed();

private:
    class Step;
    std::shared_ptr<const DocumentImage> snapshot() const;
    void noteChange();
    void restore(const DocumentImage& image);

    Document& doc_;
    QUndoStack stack_;
    QTimer* pendingTimer_;
    std::shared_ptr<const DocumentImage> baseline_;
    bool recording_ = false;
    bool restoring_ = false;
};
