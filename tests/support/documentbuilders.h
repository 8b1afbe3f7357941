#pragma once

// What the tests of several areas share to set up: the staged language files, new documents
// in a given mode, channels programmed from a plan, a document with every field its own value,
// and data files of a new document. (The document that uses every part of the radio's memory
// is in richdocument.h.)

#include "core/app/appstate.h"
#include "core/files/datafile.h"
#include "core/lang/langtext.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"

#include <QFile>
#include <QString>

// The language files of the staged runtime tree (MZ_PROGDIR is defined for every test).
inline void UseStagedLanguage(Language language = Language::English) {
    App().ProgramDir = QStringLiteral(MZ_PROGDIR);
    App().UseLanguage(language);
}
inline void UseStagedLanguage(int language) {
    UseStagedLanguage(static_cast<Language>(language));
}

inline void NewDocumentInMode(Document& doc, int mode) {
    doc.SetCountryMode(mode);
    doc.NewDocument();
}

// The 40 channels of the common CB plan, in MHz.
inline double CbPlanFrequency(int row) {
    static const double f[40] = {26.965, 26.975, 26.985, 27.005, 27.015, 27.025, 27.035, 27.055,
                                 27.065, 27.075, 27.085, 27.105, 27.115, 27.125, 27.135, 27.155,
                                 27.165, 27.175, 27.185, 27.205, 27.215, 27.225, 27.255, 27.235,
                                 27.245, 27.265, 27.275, 27.285, 27.295, 27.305, 27.315, 27.325,
                                 27.335, 27.345, 27.355, 27.365, 27.375, 27.385, 27.395, 27.405};
    return f[(row - 1) % 40];
}

// Adds channels for the given rows of a group (rows that exist are left alone).
inline void ProgramRows(Document& doc, int group, int firstRow, int lastRow,
                        double (*fre)(int) = CbPlanFrequency) {
    const int base = FirstCHOfGroup(group, doc.CountryMode);
    for (int r = firstRow; r <= lastRow; ++r)
        if (doc.FindChannel(base + r) < 0) doc.AddChannel(base + r, FormatFre(fre(r)));
}

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
// The fields of a channel brought into what the radio's memory holds, each keeping the low bits
// of its value: a file holding a value beyond that is refused.
inline void KeepHoldable(CHInfoRec& c) {
    for (i16* f : {&c.Scan, &c.HI_CUT, &c.BUSY, &c.NB, &c.Add_Sub_5K, &c.AM_FM, &c.Public, &c.TSQ})
        *f = static_cast<i16>(*f & 1);
    for (i16* f : {&c.DUP, &c.Tx_Power})
        *f = static_cast<i16>(*f & 3);
    for (i16* f : {&c.RBTone, &c.DTMF_BOT, &c.DTMF_EOT, &c.DTMF_Call, &c.RDCT, &c.TDCT})
        *f = static_cast<i16>(*f & 0xFF);
}

inline void FillDistinct(Document& doc) {
    DistinctFiller f;
    f.fill(doc.RadioData);
    for (CHInfoRec& c : doc.CHInfo)
        f.fill(c);
    // Channel numbers, frequencies and offsets as a read can give them: a file holding others
    // is refused as damaged (a read gives six digits between a leading and a trailing 0).
    for (int i = 0; i < MaxChannels; ++i) {
        doc.CHInfo[i].CHNo = static_cast<i16>(MaxChannels - i);
        doc.CHInfo[i].RxFre =
            QLatin1Char('0') +
            QStringLiteral("%1").arg(0x270000 + 97 * i, 6, 16, QLatin1Char('0')).toUpper() +
            QLatin1Char('0');
        doc.CHInfo[i].OffSetFre = static_cast<i16>(5 * ((i * 37) % 201));
        KeepHoldable(doc.CHInfo[i]);
    }
    // The public channel's fields reach the radio too (its number, frequency and scan bit stay
    // in the file only, so they keep their own values).
    KeepHoldable(doc.RadioData.PublicCH);
    doc.RadioData.PublicCH.OffSetFre = 995;
    doc.SetCountryMode(1);
    doc.RadioData.CHCount = MaxChannels;
    doc.FillFileHead(doc.RadioData.Head);
}

// The bytes of a new document's data file in this mode.
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
