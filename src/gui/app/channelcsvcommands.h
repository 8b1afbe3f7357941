#pragma once

// File > Export channels... and File > Import channels...: thin callers of the channel CSV
// codec of the core, with the file dialogs and the messages.

#include <QObject>
#include <functional>

class Document;
class Prompter;
class QWidget;

class ChannelCsvCommands : public QObject {
    Q_OBJECT
public:
    // save = true for the export; an empty result means cancelled.
    using Chooser = std::function<QString(bool save)>;

    ChannelCsvCommands(Document& doc, Prompter& prompter, QWidget* window);

    // Tests replace the file dialogs.
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }

    // Returns the file written, or an empty text.
    QString exportChannels();
    // Shows the import report; true when the user took it.
    bool importChannels();

signals:
    void status(const QString& text);

private:
    QString choose(bool save);

    Document& doc_;
    Prompter& prompter_;
    QWidget* window_;
    Chooser chooser_;
};
