#pragma once

// Shared by the data-file tests: a prompter that answers from a script and records what it
// was asked, a record filler that gives every field its own value, and small byte helpers.

#include "core/app/appstate.h"
#include "core/files/datafile.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/model/document.h"

#include <QFile>

using namespace Qt::StringLiterals;

class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        QString text;
        Buttons buttons;
        Icon icon;
    };
    QList<Answer> answers; // taken in order; when none is left, OK or Cancel
    QList<Asked> asked;

    Answer ask(const QString& text, Buttons buttons, Icon icon) override {
        asked.append({text, buttons, icon});
        if (!answers.isEmpty()) return answers.takeFirst();
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    // Message id, alone or followed by a detail line.
    bool wasMessage(int i, int id) const {
        const QString t = LoadLangText(id);
        return i < asked.size() && !t.isEmpty() &&
               (asked[i].text == t || asked[i].text.startsWith(t + u"\r\n"_s));
    }
};

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

// Every field its own value; the header is the document's own (mode 1) and all 409 channels
// are in use.
inline void FillDistinct(Document& doc) {
    DistinctFiller f;
    f.fill(doc.RadioData);
    for (CHInfoRec& c : doc.CHInfo)
        f.fill(c);
    // Channel numbers and frequencies as a read can give them: a file holding others is
    // refused as damaged.
    for (int i = 0; i < MaxChannels; ++i) {
        doc.CHInfo[i].CHNo = static_cast<i16>(MaxChannels - i);
        doc.CHInfo[i].RxFre = u"%1"_s.arg(0x02700000 + 97 * i, 8, 16, QLatin1Char('0')).toUpper();
    }
    doc.SetCountryMode(1);
    doc.RadioData.CHCount = MaxChannels;
    doc.FillFileHead(doc.RadioData.Head);
}

inline QByteArray NewDocumentFile(int mode, int beep = 0) {
    Document d;
    d.SetCountryMode(mode);
    d.NewDocument();
    d.RadioData.Func.Beep = static_cast<i16>(beep);
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

inline int Le16(const QByteArray& b, int at) {
    return static_cast<i16>(static_cast<unsigned char>(b[at]) |
                            (static_cast<unsigned char>(b[at + 1]) << 8));
}

inline QByteArray Patched(QByteArray b, int at, int v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    return b;
}

// Everything a refused open or a failed save must leave as it was.
inline QByteArray Snapshot(const Document& d) {
    return EncodeDataFile(d.RadioData, d.CHInfo) + EncodeDataFile(d.FileRadioData, d.FileCHInfo) +
           u"%1|%2|%3|%4|%5|%6|%7|%8"_s.arg(d.ModelName, d.BandText, d.CurFileName)
               .arg(d.CountryMode)
               .arg(int(d.IsNewFile))
               .arg(d.RadioInfo.InfoMode)
               .arg(d.FreLow)
               .arg(d.FreHigh)
               .toUtf8();
}
