#pragma once

// The one owner of the radio image: the working copy that the editors change, the transfer
// copy that holds the state of the last load or save, and the document state. Windows read
// the public records and change them through the operations below, which announce every
// change with a signal; windows redraw from the signals.

#include "radioinfo.h"
#include "records.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>

class DocumentHistory;
class Prompter;

// A whole new content for the document and what it is: what New, Open, a radio read, an
// opened backup and the channel import hand to Document::adoptImage.
struct AdoptedImage {
    RadioDataRec data;
    ChannelList channels{};
    // The file the document is kept in; empty: none yet, so that Save asks for a name.
    QString fileName;
    // What a document without a file is called where its name would stand ("read from the
    // radio 2026-12-07 15:22"); empty: the unnamed file name.
    QString title;
    // Saved: the image is what its file or template holds, and leaving asks nothing. Unsaved:
    // it is kept nowhere yet (a radio read, an import), and leaving asks whether to save.
    enum class State { Saved, Unsaved } state = State::Saved;
    // Built by New (or at start-up) from the defaults and the template: nothing in it is the
    // user's or a radio's yet, so a change of country mode loses nothing (Document::untouchedNew).
    bool builtNew = false;
};

class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);

    // Working copy and transfer copy. Entries 0..CHCount-1 of the lists are in use.
    RadioDataRec RadioData;
    ChannelList CHInfo{};
    RadioDataRec FileRadioData;
    ChannelList FileCHInfo{};
    RadioInfoRec RadioInfo;

    QString ModelName = QStringLiteral("MZ-710");
    int CountryMode = 0;
    QString BandText = QStringLiteral("26.965 - 27.405 MHz");
    double FreLow = 26.965;
    double FreHigh = 27.405;
    QString CurFileName = unnamedFileName();
    bool IsNewFile = true;      // no file chosen yet: Save behaves as Save As (stored as -1/0)
    bool InitRequested = false; // the initialisation command runs New: factory file, no template
    int CurRow = 1;

    // The prompter used for messages (9021, "Not IsNumeric", ...). Never null.
    Prompter& prompter() const { return *prompter_; }
    void setPrompter(Prompter* p);

    // Undo and redo of the edits (see documenthistory.h).
    DocumentHistory& history() const { return *history_; }

    // Where the initial-data files are looked for (the program directory); empty to use none.
    // NewDocument builds the defaults only; NewDocumentWithInitFile (files layer) overlays them.
    QString InitDir;

    int chCount() const { return RadioData.CHCount; }
    // The file name of a document that has none yet.
    static QString unnamedFileName();
    // What the document is called in the title bar and on printouts: the file's name, or what
    // an unnamed document was adopted as.
    QString title() const;
    // The data format version this program writes.
    static QString DataVersionText();

    // --- Document as a whole ---
    void NewDocument();
    // Sets CountryMode, BandText and the band limits for a mode (and the header's mode and
    // InfoMode), as the model information window does before a new document.
    void SetCountryMode(int mode);
    void ParseBand();
    bool IsDataChanged() const;
    // A new document as New (or the start-up) built it, not edited since and not saved: its
    // channels are the template's, none of its own. Showing another group is no edit. A read
    // from the radio, an opened file, a backup or an import is never one, also while unchanged.
    bool untouchedNew() const;
    void FillFileHead(FileHeadRec& head) const;
    void ApplyFileHead(const FileHeadRec& head);
    void ToFileCopy();
    void FromFileCopy();
    // The one way the whole document is replaced: the working records (and for a saved image
    // the transfer copy) are set, the model state follows the header, the file name, the
    // new-file state and the title follow the image, and the change is announced once
    // (documentReplaced, then stateChanged). The undo history is not touched: whoever
    // replaced the document clears it once the windows have redrawn.
    void adoptImage(const AdoptedImage& image);
    // The document as it stands, to be changed and adopted again (the channel import).
    AdoptedImage currentImage() const;
    // Tells the listeners that the document state (file name, new flag) changed.
    void NotifyStateChanged() { emit stateChanged(); }

    // --- Channel list ---
    void AddChannel(int chNo, const QString& freText);
    void DeleteChannel(int index);
    int FindChannel(int chNo) const;
    void SetCHField(CHInfoRec& entry, int fieldIndex, const QVariant& value);
    CHInfoRec* Channel(int chNo);
    const CHInfoRec* Channel(int chNo) const;

    // --- Channel value setter ---
    // Stores a value the rule source allowed (channelrules.h, judgeValue): it decides nothing
    // itself. The frequency is the shown text ("#0.00000"); an empty one deletes the channel.
    void SetCHValue(int group, int row, int id, const QVariant& value);
    void RefreshGroupCHs(int group);

    // --- Codecs that need the band or the channels ---
    // The shown frequency of the CB-group channel nearest to f; *position gets that channel's
    // position in its group minus 1 and *chNo its channel number (the memory frequency dialog
    // needs the group too).
    QString NearestCHFre(double f, int* position = nullptr, int* chNo = nullptr) const;
    QString FreToStored(const QString& text) const;
    QString FreToShown(const QString& stored) const;
    QString FreToListText(const QString& stored, int group) const;

    // --- Groups ---
    int CountCHInGroup(int group, int mode) const;
    int CountCHOutsideGroup(int group, int mode) const;
    QVector<int> GroupPositions(int group, int mode) const;
    int CountOtherValidGroups(int group, int mode) const;
    void EnsureValidGroup(int mode);

    // --- References ---
    void ReplaceDtmfRef(int oldRef, int newRef);
    int ValidRBTone(int n) const;
    void RecheckRBTones();

    // --- Edits of the radio-wide records by the settings windows ---
    // Each runs f on the record and announces the change.
    template <class F> void EditFunc(F f) {
        f(RadioData.Func);
        emit groupSettingsChanged();
    }
    template <class F> void EditPublic(F f) {
        f(RadioData.PublicCH);
        emit publicChannelChanged();
    }
    template <class F> void EditKeys(F f) {
        f(RadioData.Key);
        emit keysChanged();
    }
    template <class F> void EditDtmf(F f) {
        f(RadioData.DTMF);
        emit dtmfCodesChanged();
    }
    template <class F> void EditToneTips(F f) {
        f(RadioData.ToneTips);
        emit toneTipsChanged();
    }

signals:
    void channelChanged(int chNo);
    void groupSettingsChanged();
    void publicChannelChanged();
    void keysChanged();
    void toneTipsChanged();
    void dtmfCodesChanged();
    void rogerBeepsRechecked();
    void documentReplaced();
    void stateChanged();

private:
    Prompter* prompter_;
    DocumentHistory* history_;
    QString untitled_;      // the title of an unnamed document; empty: unnamedFileName()
    bool builtNew_ = false; // the image was built by New (AdoptedImage::builtNew)
    // Whether the working copy differs from the transfer copy in what a file keeps, apart from
    // the shown group (GroupSel), which only follows what the window shows.
    bool differsFromFileCopy() const;
    bool groupHasRow(int group, int stored) const;
};
