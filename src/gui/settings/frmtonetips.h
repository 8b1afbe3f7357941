#pragma once

// The tone-tips window FrmToneTips: the eight tips of the radio, one tab each, note by note,
// with the bar diagram and playback on the computer's audio output. Every pick is stored in
// the document at once; picks that can make a tip unused run RecheckRBTones, so that the
// roger-beep lists of the other windows follow through the Document's signals.
//
// Showing a tip never changes the document: a stored value that no list entry stands for (a
// note below 400 Hz, a repeat count above 10, read from a radio) is shown as the list's first
// entry and stays stored until the user picks an entry.
//
// Controls (objectName; a control array element "Name(i)" is named "Name_i"):
//   TabStrip1              eight tabs, tab n shows tip n
//   Label1_0, Combo1_0     Repeat: text 29200 (off), "1" .. "10"
//   Label2_0, Combo2_0     Pause: "0", "10" .. "2550" ms
//   Label3_0/1, Label4_0/1 column headings of the two columns of notes
//   Label5_i, Combo3_i, Combo4_i   note i + 1: frequency (text 29201 = rest, "400" ..
//                          "2550" Hz) and duration ("0" .. "2550" ms)
//   Picture1_0             the bar diagram (ToneTipDiagram)
//   Command1_0 Play, Command2_0 Stop, CommandSaveWav, CommandClose, CommandHelp (the
//   manual's chapter)

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

class Document;
class QComboBox;
class QLabel;
class QMediaDevices;
class QPushButton;
class QTabBar;
class ToneTipDiagram;
class ToneTipPlayer;
struct ToneTipRec;

class FrmToneTips : public QWidget {
    Q_OBJECT
public:
    explicit FrmToneTips(Document& doc, QWidget* parent = nullptr);
    ~FrmToneTips() override;

    // Number (1 to 8) of the tip shown; the selected tab.
    int CurToneTip() const { return curToneTip_; }
    // Shows tip CurToneTip in the lists and the diagram; stores nothing.
    void ShowTip();

    ToneTipPlayer& player() const { return *player_; }
    // Tests replace the save dialog; an empty result means cancelled.
    using FileChooser = std::function<QString(const QString& preset)>;
    void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }

    // Where Save as WAV writes, without asking. Returns false (after telling the user) when
    // the file could not be written.
    bool saveWavTo(const QString& path);

signals:
    // A sentence for the main window's status bar (no audio output, the output failed).
    void statusNote(const QString& text);

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void buildControls();
    void fillLists();
    void setCaptions();
    const ToneTipRec& tip() const;
    void editTip(const std::function<void(ToneTipRec&)>& f);

    void tabClick(int index);
    void combo1Click(int index);
    void combo2Click(int index);
    void combo3Click(int i, int index);
    void combo4Click(int i, int index);
    void command1Click();
    void command2Click();
    void commandSaveWavClick();
    void closeWindow();
    void playbackEnded();
    // Play is offered only with an audio output; without one the window and the status bar
    // say why.
    void updateSoundState();
    // Says text in the main window's status bar (through statusNote) as its newest message;
    // an empty text says nothing. The same text is not said twice in a row.
    void statusMessage(const QString& text);

    Document& doc_;
    int curToneTip_ = 1;
    QTabBar* tabStrip1_ = nullptr;
    QLabel* label1_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QLabel* label2_ = nullptr;
    QComboBox* combo2_ = nullptr;
    std::array<QLabel*, 2> label3_{};
    std::array<QLabel*, 2> label4_{};
    std::array<QLabel*, 14> label5_{};
    std::array<QComboBox*, 14> combo3_{};
    std::array<QComboBox*, 14> combo4_{};
    ToneTipDiagram* picture1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* commandSaveWav_ = nullptr;
    QPushButton* commandClose_ = nullptr;
    QPushButton* commandHelp_ = nullptr;
    ToneTipPlayer* player_ = nullptr;
    QMediaDevices* devices_ = nullptr;
    FileChooser fileChooser_;
    bool hasOutput_ = false;
    QString lastStatus_;
};
