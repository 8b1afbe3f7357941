#pragma once

// The memory frequency dialog Frm_Mem_Freq (modal): in country mode 0 a memory channel takes
// the frequency of a national-plan channel. The user picks a plan ("band") and a channel in
// it; the dialog shows that channel's frequency and hands it back on OK. "Off" hands back an
// empty text, which asks for the memory channel to be deleted.
//
// Controls: Label2_0 "Band" + Combo1_0 ("Off", then the plans), Label2_1 "Channel" + Combo1_1,
// Label1 "Frequency" + Text1 (read-only: whatever it holds is passed on), CommandOK,
// CommandCancel. The title is text 14606, the labels 14607 to 14609, "Off" 14600.

#include <QDialog>
#include <array>

class Document;
class QComboBox;
class QLineEdit;
class QPushButton;

class Frm_Mem_Freq : public QDialog {
    Q_OBJECT
public:
    // text: the memory channel's present frequency as the edit dialog shows it.
    Frm_Mem_Freq(Document& doc, const QString& text, QWidget* parent = nullptr);

    // The frequency to store (Text1) after OK.
    QString frequencyText() const;
    // The chosen band item (0 = "Off") and channel index (0-based).
    int bandItem() const { return band_; }
    int channelIndex() const { return channel_; }

private:
    void fillChannelList(int wished);
    void showFrequency(int chNo);
    void bandChosen();
    void channelChosen();
    void updateOk();

    Document& doc_;
    std::array<QComboBox*, 2> combo1_{};
    QLineEdit* text1_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool DialogBusy = false;
    int band_ = 0;
    int channel_ = 0;
};
