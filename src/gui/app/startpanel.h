#pragma once

// The start panel: what the main window shows in the place of its child windows until the
// user opens, reads or starts a document (or picks a window). It leads the way of a first
// start: the cable's port and its test, the read from the radio, a saved file, or a new
// document in the country mode of the radio. The panel only asks; the main window runs the
// commands.

#include <QScrollArea>

class QLabel;
class QPushButton;

class StartPanel : public QScrollArea {
    Q_OBJECT
public:
    explicit StartPanel(QWidget* parent = nullptr);

    // Every text in the current language.
    void retranslate();
    // The port in use, by its name (COM1, /dev/ttyUSB0, the virtual radio).
    void setPortText(const QString& port);
    // The buttons in their keyboard order: port, read, open, new CB, HF and HAM.
    QList<QPushButton*> buttons() const;
    // The first button takes the keyboard focus (once the window shows, if it does not yet).
    void focusFirst();

signals:
    void portRequested();
    void readRequested();
    void openRequested();
    // mode: 0 CB, 1 HF, 2 HAM.
    void newRequested(int mode);

private:
    QLabel* title_;
    QLabel* intro_;
    QLabel* portStep_;
    QLabel* portNow_;
    QLabel* readStep_;
    QLabel* openStep_;
    QLabel* newStep_;
    QLabel* cbNote_;
    QPushButton* port_;
    QPushButton* read_;
    QPushButton* open_;
    QPushButton* newMode_[3];
    QString portText_;
};
