#pragma once

// Helpers shared by the data-file tests: a prompter that answers from a script and records
// what it was asked, records filled with a distinct value in every field, and a snapshot of
// everything a refused open must leave alone.

#include "core/app/appstate.h"
#include "core/app/prompter.h"
#include "core/files/datafile.h"
#include "core/lang/langtext.h"
#include "core/model/document.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        QString text;
        Buttons buttons;
        Icon icon;
    };
    QList<Answer> answers; // taken in order; when none is left OK or Cancel is answered
    QList<Asked> asked;

    Answer ask(const QString& text, Buttons buttons, Icon icon) override {
        asked.append({text, buttons, icon});
        if (!answers.isEmpty()) return answers.takeFirst();
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    // Whether the i-th question was the text of message id.
    bool wasMessage(int i, int id) const {
        return i < asked.size() && !LoadLangText(id).isEmpty() && asked[i].text == LoadLangText(id);
    }
};

// Gives every integer, byte and text character of a record its own value.
struct DistinctFiller {
    int n = 1000;
    template <class T> void operator()(const char*, T& v) { fill(v); }
    void fill(i16& v) { v = static_cast<i16>(n++); }
    void fill(u8& v) { v = static_cast<u8>(n++ & 0xFF); }
    template <int N> void fill(FixedText<N>& t) {
        for (char& c : t.b)
            c = static_cast<char>('A' + (n++ % 26));
    }
    template <class E, std::size_t N> void fill(std::array<E, N>& a) {
        for (auto& e : a)
            fill(e);
    }
    template <class R> void fill(R& r) { R::visit(r, *this); }
};

// A document whose every field holds its own value; the header is the document's own (model,
// mode 1, "V100") and all 409 channels are in use.
inline void FillDistinct(Document& doc) {
    DistinctFiller f;
    f.fill(doc.RadioData);
    for (CHInfoRec& c : doc.CHInfo)
        f.fill(c);
    doc.SetCountryMode(1);
    doc.RadioData.CHCount = MaxChannels;
    doc.FillFileHead(doc.RadioData.Head);
}

// The bytes of a new document of the given mode, as a valid file.
inline QByteArray NewDocumentFile(int mode) {
    Document d;
    d.SetCountryMode(mode);
    d.NewDocument();
    d.ToFileCopy();
    return EncodeDataFile(d.FileRadioData, d.FileCHInfo);
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline int Le16(const QByteArray& b, int offset) {
    return static_cast<i16>(static_cast<unsigned char>(b[offset]) |
                            (static_cast<unsigned char>(b[offset + 1]) << 8));
}

inline void PutLe16(QByteArray& b, int offset, int v) {
    b[offset] = static_cast<char>(v & 0xFF);
    b[offset + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// Everything that a refused open must leave as it was.
struct DocSnapshot {
    RadioDataRec data, fileData;
    ChannelList channels, fileChannels;
    QString model, band, file;
    int mode, isNew, infoMode;
    double lo, hi;

    explicit DocSnapshot(const Document& d)
        : data(d.RadioData), fileData(d.FileRadioData), channels(d.CHInfo),
          fileChannels(d.FileCHInfo), model(d.ModelName), band(d.BandText), file(d.CurFileName),
          mode(d.CountryMode), isNew(d.IsNewFile), infoMode(d.RadioInfo.InfoMode), lo(d.FreLow),
          hi(d.FreHigh) {}
    bool operator==(const DocSnapshot& o) const {
        return data == o.data && fileData == o.fileData && channels == o.channels &&
               fileChannels == o.fileChannels && model == o.model && band == o.band &&
               file == o.file && mode == o.mode && isNew == o.isNew && infoMode == o.infoMode &&
               lo == o.lo && hi == o.hi;
    }
};
