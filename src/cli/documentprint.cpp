#include "documentprint.h"
#include "core/model/channelcheck.h"
#include "core/model/channeledit.h"
#include "core/model/channelrules.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/frequency.h"
#include "core/model/helpers.h"
#include "core/model/tones.h"
#include "recordjson.h"

#include <QSet>
#include <QStringList>

#include <algorithm>

namespace {

// The columns of a channel line, shared by the text table and the CSV header.
const QStringList& channelColumns() {
    static const QStringList c = {
        QStringLiteral("CH"),        QStringLiteral("Group"),  QStringLiteral("Pos"),
        QStringLiteral("Frequency"), QStringLiteral("Duplex"), QStringLiteral("Offset"),
        QStringLiteral("RxTone"),    QStringLiteral("TxTone"), QStringLiteral("Mode"),
        QStringLiteral("Power"),     QStringLiteral("Scan"),   QStringLiteral("Public"),
        QStringLiteral("TSQ"),       QStringLiteral("HI_CUT"), QStringLiteral("BUSY"),
        QStringLiteral("NB"),        QStringLiteral("5K"),     QStringLiteral("RBTone"),
        QStringLiteral("BOT"),       QStringLiteral("EOT"),    QStringLiteral("Call")};
    return c;
}
constexpr int FirstSettingColumn = 4; // Duplex: the columns that the public channel has too

// The group that holds chNo in the mode and the channel's position in it; false for numbers
// that belong to no group (361..401 in mode 0).
bool groupOf(int chNo, int mode, int& group, int& pos) {
    for (int g = 0; g < GroupCount(mode); ++g) {
        const int first = FirstCHOfGroup(g, mode);
        if (chNo > first && chNo <= first + GroupSize(g, mode)) {
            group = g;
            pos = chNo - first;
            return true;
        }
    }
    return false;
}

QString onOff(int v) {
    return v ? QStringLiteral("On") : QStringLiteral("Off");
}

QString toneName(int index) {
    return index >= 0 && index < ToneCount ? ToneNames().at(index) : QString::number(index);
}

QString duplexName(int v) {
    switch (v) {
    case 0:
        return QStringLiteral("Off");
    case 1:
        return QStringLiteral("+");
    case 2:
        return QStringLiteral("-");
    default:
        return QString::number(v);
    }
}

QString frequencyText(const Document& doc, const CHInfoRec& c, int group, bool markHeld) {
    const QString stored = c.RxFre.text();
    if (!IsNoFrequency(stored) && !IsNumeric(stored))
        return QLatin1Char('?') + stored; // damaged: show what is there, not a made-up value
    // A frequency the rules would not take in this place is shown as it is, marked.
    const bool held = markHeld && c.CHNo >= 1 && c.CHNo <= MaxChannels &&
                      doc.Channel(c.CHNo) == &c &&
                      heldFrequencyNote(doc, slotOfChannel(doc, c.CHNo)).id != 0;
    return (held ? QStringLiteral("*") : QString()) +
           FreToListText(stored, group, doc.CountryMode, doc.FreLow);
}

// The channels whose frequency is marked, with why: "402 (MEM 1): not a channel ...".
QStringList heldFrequencyLines(const Document& doc) {
    QStringList out;
    for (int i = 0; i < std::clamp<int>(doc.chCount(), 0, MaxChannels); ++i) {
        const int chNo = doc.CHInfo[i].CHNo;
        if (doc.FindChannel(chNo) != i) continue;
        const TextNote why = heldFrequencyNote(doc, slotOfChannel(doc, chNo));
        if (why.id)
            out << QStringLiteral("%1 (%2): %3")
                       .arg(chNo)
                       .arg(ChannelSlotName(chNo, doc.CountryMode), why.text());
    }
    return out;
}

// The list indices of the damaged channel records (the public channel, entry 0, has none).
QSet<int> damagedIndices(const Document& doc) {
    QSet<int> out;
    for (const DamagedChannel& d : DamagedChannels(doc.RadioData, doc.CHInfo))
        if (d.entry > 0) out.insert(d.entry - 1);
    return out;
}

bool publicChannelDamaged(const Document& doc) {
    const QList<DamagedChannel> damaged = DamagedChannels(doc.RadioData, doc.CHInfo);
    return !damaged.isEmpty() && damaged.last().entry == 0;
}

// markHeld: a frequency the rules would not take in its place is marked "*" (the text table).
QStringList channelValues(const Document& doc, const CHInfoRec& c, bool damaged = false,
                          bool markHeld = false) {
    int group = -1, pos = 0;
    const bool inGroup = groupOf(c.CHNo, doc.CountryMode, group, pos);
    return {(damaged ? QStringLiteral("!") : QString()) + QString::number(c.CHNo),
            inGroup ? GroupName(group, doc.CountryMode) : QStringLiteral("-"),
            inGroup ? QString::number(pos) : QStringLiteral("-"),
            frequencyText(doc, c, group, markHeld),
            duplexName(c.DUP),
            QString::number(c.OffSetFre),
            toneName(c.RDCT),
            toneName(c.TDCT),
            c.AM_FM == 0   ? QStringLiteral("FM")
            : c.AM_FM == 1 ? QStringLiteral("AM")
                           : QString::number(c.AM_FM),
            QString::number(c.Tx_Power),
            c.Scan ? QStringLiteral("Add") : QStringLiteral("Del"),
            onOff(c.Public),
            onOff(c.TSQ),
            onOff(c.HI_CUT),
            onOff(c.BUSY),
            onOff(c.NB),
            onOff(c.Add_Sub_5K),
            QString::number(c.RBTone),
            QString::number(c.DTMF_BOT),
            QString::number(c.DTMF_EOT),
            QString::number(c.DTMF_Call)};
}

QString csvField(const QString& value) {
    // CR and LF stay as they are, inside quotes; every other control character is escaped.
    QString v;
    for (const QChar c : value)
        v += c == QLatin1Char('\r') || c == QLatin1Char('\n') ? QString(c) : EscapeControls(c);
    if (!v.contains(QLatin1Char(',')) && !v.contains(QLatin1Char('"')) &&
        !v.contains(QLatin1Char('\n')) && !v.contains(QLatin1Char('\r')))
        return v;
    QString q = v;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// Lays out rows in columns two spaces apart; control characters are escaped first.
QString table(QList<QStringList> rows, const QString& indent) {
    for (QStringList& r : rows)
        for (QString& cell : r)
            cell = EscapeControls(cell);
    QList<int> width;
    for (const QStringList& r : rows)
        for (int i = 0; i < r.size(); ++i) {
            if (width.size() <= i) width.append(0);
            width[i] = std::max<int>(width[i], r[i].size());
        }
    QString out;
    for (const QStringList& r : rows) {
        QString line = indent;
        for (int i = 0; i < r.size(); ++i)
            line += i + 1 < r.size() ? r[i].leftJustified(width[i] + 2) : r[i];
        out += line + QLatin1Char('\n');
    }
    return out;
}

// The single-valued options of FuncRec, by field name.
struct OptionLister {
    QList<QStringList> rows;
    void operator()(const char* name, i16 v) {
        rows.append({QLatin1String(name), QString::number(v)});
    }
    template <class T> void operator()(const char*, const T&) {}
};

// The top-level members of RadioDataRec, one per line.
struct TopLevelJson {
    QString out;
    template <class T> void operator()(const char* name, const T& v) {
        out += QStringLiteral("  \"") + QLatin1String(name) + QStringLiteral("\": ") +
               recordjson::toJson(v) + QStringLiteral(",\n");
    }
};

} // namespace

QString DocumentJson(const Document& doc) {
    TopLevelJson top;
    RadioDataRec::visit(doc.RadioData, top);
    QString out = QStringLiteral("{\n") + top.out + QStringLiteral("  \"CHInfo\": [");
    const int n = std::clamp<int>(doc.chCount(), 0, MaxChannels);
    for (int i = 0; i < n; ++i)
        out += (i ? QStringLiteral(",\n    ") : QStringLiteral("\n    ")) +
               recordjson::toJson(doc.CHInfo[i]);
    out += n ? QStringLiteral("\n  ]") : QStringLiteral("]");
    QList<int> damaged = damagedIndices(doc).values();
    std::sort(damaged.begin(), damaged.end());
    if (!damaged.isEmpty()) {
        QStringList entries;
        for (int i : damaged)
            entries << QString::number(i + 1);
        out += QStringLiteral(",\n  \"DamagedCHInfo\": [") + entries.join(QLatin1Char(',')) +
               QLatin1Char(']');
    }
    if (publicChannelDamaged(doc)) out += QStringLiteral(",\n  \"DamagedPublicCH\": true");
    return out + QStringLiteral("\n}\n");
}

QString DocumentCsv(const Document& doc) {
    QString out = channelColumns().join(QLatin1Char(',')) + QLatin1Char('\n');
    const QSet<int> damaged = damagedIndices(doc);
    for (int i = 0; i < std::clamp<int>(doc.chCount(), 0, MaxChannels); ++i) {
        QStringList fields;
        for (const QString& v : channelValues(doc, doc.CHInfo[i], damaged.contains(i)))
            fields.append(csvField(v));
        out += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}

QString DocumentText(const Document& doc) {
    const RadioDataRec& d = doc.RadioData;
    const int mode = doc.CountryMode;
    QString out;
    out +=
        table({{QStringLiteral("Model:"), doc.ModelName},
               {QStringLiteral("Mode:"), QStringLiteral("%1 (%2)").arg(mode).arg(ModeName(mode))},
               {QStringLiteral("Band:"), doc.BandText},
               {QStringLiteral("Version:"), d.Head.Version.text()},
               {QStringLiteral("Channels:"), QString::number(d.CHCount)}},
              QString());

    QList<QStringList> rows{channelColumns()};
    const QSet<int> damaged = damagedIndices(doc);
    for (int i = 0; i < std::clamp<int>(doc.chCount(), 0, MaxChannels); ++i)
        rows.append(channelValues(doc, doc.CHInfo[i], damaged.contains(i), true));
    out += QLatin1Char('\n') + table(rows, QString());
    if (const QList<DamagedChannel> all = DamagedChannels(d, doc.CHInfo); !all.isEmpty())
        out += QStringLiteral("! damaged: ") + DamagedChannelsText(all) + QLatin1Char('\n');
    for (const QString& line : heldFrequencyLines(doc))
        out += QStringLiteral("* ") + line + QLatin1Char('\n');

    out += QStringLiteral("\nPublic channel:\n");
    const QStringList pub = channelValues(doc, d.PublicCH);
    QList<QStringList> pubRows;
    for (int i = FirstSettingColumn; i < pub.size(); ++i)
        if (channelColumns().at(i) != QLatin1String("Public") &&
            channelColumns().at(i) != QLatin1String("Scan"))
            pubRows.append({channelColumns().at(i), pub.at(i)});
    out += table(pubRows, QStringLiteral("  "));

    out += QStringLiteral("\nOptions:\n");
    OptionLister options;
    FuncRec::visit(d.Func, options);
    const QStringList workGroups = GroupNames(mode, QStringLiteral("MEM"));
    for (QStringList& r : options.rows)
        if (r[0] == QLatin1String("WorkGroup") && d.Func.WorkGroup >= 0 &&
            d.Func.WorkGroup < workGroups.size())
            r[1] += QStringLiteral(" (") + workGroups.at(d.Func.WorkGroup) + QLatin1Char(')');
    out += table(options.rows, QStringLiteral("  "));

    out += QStringLiteral("\nGroups:\n");
    QList<QStringList> groups{{QStringLiteral("Group"), QStringLiteral("Valid"),
                               QStringLiteral("WorkCH"), QStringLiteral("EmgCH1"),
                               QStringLiteral("EmgMode1"), QStringLiteral("EmgCH2"),
                               QStringLiteral("EmgMode2")}};
    const auto modeName = [](int v) { return v ? QStringLiteral("AM") : QStringLiteral("FM"); };
    for (int g = 0; g < SettingGroupCount(mode); ++g)
        groups.append({GroupName(g, mode),
                       d.Func.GroupValid[g] ? QStringLiteral("Enable") : QStringLiteral("Disable"),
                       QString::number(d.Func.WorkCH[g]), QString::number(d.Func.EmgCH1[g]),
                       modeName(d.Func.EmgMode1[g]), QString::number(d.Func.EmgCH2[g]),
                       modeName(d.Func.EmgMode2[g])});
    out += table(groups, QStringLiteral("  "));

    QStringList keys;
    for (i16 k : d.Key.KeyFun)
        keys.append(QString::number(k));
    out += QStringLiteral("\nKeys:\n  KeySet  %1\n  KeyFun  %2\n")
               .arg(d.Key.KeySet)
               .arg(keys.join(QLatin1Char(' ')));

    QStringList set;
    for (i16 v : d.DTMF.DtmfSet)
        set.append(QString::number(v));
    out += QStringLiteral("\nDTMF:\n  DtmfSet  %1\n").arg(set.join(QLatin1Char(' ')));
    for (int k = 0; k < 16; ++k) {
        const DTMFCodeRec& c = d.DTMF.Codes[k];
        if (c.Len > 0)
            out +=
                QStringLiteral("  Code %1  %2\n").arg(k + 1, 2).arg(EscapeControls(c.Code.text()));
    }

    out += QStringLiteral("\nTone tips:\n");
    for (int t = 0; t < 8; ++t) {
        const ToneTipRec& tip = d.ToneTips.Tip[t];
        int last = -1;
        for (int s = 0; s < 14; ++s)
            if (tip.Step[s].Tone || tip.Step[s].Time) last = s;
        QStringList steps;
        for (int s = 0; s <= last; ++s)
            steps.append(QStringLiteral("%1/%2").arg(tip.Step[s].Tone).arg(tip.Step[s].Time));
        out += QStringLiteral("  Tip %1  Repeat %2  Pause %3  Steps %4\n")
                   .arg(t + 1)
                   .arg(tip.Repeat)
                   .arg(tip.Pause)
                   .arg(steps.isEmpty() ? QStringLiteral("-") : steps.join(QLatin1Char(' ')));
    }
    return out;
}
