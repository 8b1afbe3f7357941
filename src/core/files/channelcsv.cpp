#include "channelcsv.h"
#include "csvtable.h"
#include "fileio.h"
#include "filetexts.h"

#include "../model/country.h"
#include "../model/document.h"
#include "../model/frequency.h"
#include "../model/helpers.h"
#include "../model/tones.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace {

constexpr int TxtEmptyRow = 14650;      // "empty row, skipped"
constexpr int TxtLineOnly = 14651;      // the head of a row's line when it names no place
constexpr int TxtNameDropped = 14652;   // why a Name is not kept
constexpr int TxtTsqlTone = 27205;      // a TSQL row with only rToneFreq: the tone used
constexpr int TxtColumnTwice = 27203;   // column "%1" is given twice
constexpr int TxtColumnNotRead = 14981; // column "%1" not read: no such channel column

const double kWatts[3] = {1, 2, 4};

// The usual values of the tone cells a row does not use; readers of the format refuse empty
// ones.
const QString kDefaultTone = QStringLiteral("88.5");
const QString kDefaultDcs = QStringLiteral("023");

QString mhz(double v) {
    return QLocale::c().toString(v, 'f', 6);
}

bool isCtcss(int t) {
    return t >= 1 && t <= CtcssCount;
}
bool isDcs(int t) {
    return t > CtcssCount && t < ToneCount;
}
QString ctcssText(int t) {
    return QLocale::c().toString(CtcssHz(t), 'f', 1);
}
QString dcsText(int t) {
    return QStringLiteral("%1").arg(DcsCode(t - CtcssCount), 3, 10, QLatin1Char('0'));
}

QString onOff(int v) {
    return v ? QStringLiteral("On") : QStringLiteral("Off");
}

// --- Comment keys: what the columns cannot say ---

struct CommentKey {
    const char* key;
    int id;
    bool onOff;
};
const CommentKey kCommentKeys[] = {
    {"Public", FldPublic, true},      {"TSQ", FldTSQ, true},
    {"Busy", FldBUSY, true},          {"NB", FldNB, true},
    {"HiCut", FldHI_CUT, true},       {"5K", FldAdd_Sub_5K, true},
    {"RogerBeep", FldRBTone, false},  {"DTMF-BOT", FldDTMF_BOT, false},
    {"DTMF-EOT", FldDTMF_EOT, false}, {"DTMF-Call", FldDTMF_Call, false},
    {"Shift", FldOffSetFre, false},
};

QString commentOf(const CHInfoRec& c) {
    QStringList parts;
    for (const CommentKey& k : kCommentKeys) {
        if (k.id == FldOffSetFre) continue;
        const int v = c.field(k.id);
        parts << QLatin1String(k.key) + QLatin1Char('=') +
                     (k.onOff ? onOff(v) : QString::number(v));
    }
    // Without a shift the Offset column says 0; the offset kept for later goes here.
    if (c.DUP == 0) parts << QStringLiteral("Shift=%1").arg(c.OffSetFre);
    return parts.join(QLatin1Char(' '));
}

// key=value pairs of a comment by field index; words that are no such pair are the user's.
std::map<int, int> parseComment(const QString& comment) {
    std::map<int, int> r;
    static const QRegularExpression sep(QStringLiteral("[\\s;,]+"));
    for (const QString& word : comment.split(sep, Qt::SkipEmptyParts)) {
        const int eq = word.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        const QString key = word.left(eq), value = word.mid(eq + 1);
        for (const CommentKey& k : kCommentKeys) {
            if (key.compare(QLatin1String(k.key), Qt::CaseInsensitive) != 0) continue;
            bool ok = false;
            int v = value.toInt(&ok);
            if (!ok && k.onOff) {
                if (value.compare(QLatin1String("On"), Qt::CaseInsensitive) == 0)
                    v = 1, ok = true;
                else if (value.compare(QLatin1String("Off"), Qt::CaseInsensitive) == 0)
                    v = 0, ok = true;
            }
            if (ok) r[k.id] = v;
        }
    }
    return r;
}

// --- Tones ---

struct ToneCells {
    QString tone, rTone, cTone, dtcs, polarity, rxDtcs, cross;
};

ToneCells toneCells(int tx, int rx) {
    ToneCells c{QString(),
                kDefaultTone,
                kDefaultTone,
                kDefaultDcs,
                QStringLiteral("NN"),
                kDefaultDcs,
                QStringLiteral("Tone->Tone")};
    if (!isCtcss(tx) && !isDcs(tx)) tx = 0;
    if (!isCtcss(rx) && !isDcs(rx)) rx = 0;
    if (tx == 0 && rx == 0) return c;
    if (isCtcss(tx) && rx == 0) {
        c.tone = QStringLiteral("Tone");
        c.rTone = ctcssText(tx);
    } else if (isCtcss(tx) && rx == tx) {
        c.tone = QStringLiteral("TSQL");
        c.cTone = ctcssText(tx);
    } else if (isDcs(tx) && rx == tx) {
        c.tone = QStringLiteral("DTCS");
        c.dtcs = c.rxDtcs = dcsText(tx);
    } else {
        auto kind = [](int t) {
            return isCtcss(t) ? QStringLiteral("Tone")
                   : isDcs(t) ? QStringLiteral("DTCS")
                              : QString();
        };
        c.tone = QStringLiteral("Cross");
        c.cross = kind(tx) + QStringLiteral("->") + kind(rx);
        if (isCtcss(tx)) c.rTone = ctcssText(tx);
        if (isDcs(tx)) c.dtcs = dcsText(tx);
        if (isCtcss(rx)) c.cTone = ctcssText(rx);
        if (isDcs(rx)) c.rxDtcs = dcsText(rx);
    }
    return c;
}

std::optional<int> ctcssIndex(const QString& text) {
    const auto hz = ParseNumber(text);
    if (!hz) return std::nullopt;
    return ctcssToneOf(*hz);
}

std::optional<int> dcsIndex(const QString& text) {
    bool ok = false;
    const int code = text.trimmed().toInt(&ok); // the octal digits, read as written
    if (!ok) return std::nullopt;
    return dcsToneOf(code);
}

// --- Reading a row ---

class RowReader {
public:
    RowReader(const QHash<QString, int>& columns, const QStringList& fields)
        : columns_(columns), fields_(fields) {}
    bool has(const char* name) const { return columns_.contains(QLatin1String(name)); }
    QString operator()(const char* name) const {
        const int i = columns_.value(QLatin1String(name), -1);
        return i >= 0 && i < fields_.size() ? fields_.at(i).trimmed() : QString();
    }

private:
    const QHash<QString, int>& columns_;
    const QStringList& fields_;
};

// A row that gives no value but its Location and Name: it asks for nothing.
bool isEmptyRow(const QHash<QString, int>& columns, const RowReader& cell) {
    for (auto it = columns.begin(); it != columns.end(); ++it)
        if (it.key() != QLatin1String("Location") && it.key() != QLatin1String("Name") &&
            !cell(it.key().toLatin1().constData()).isEmpty())
            return false;
    return true;
}

// The radio keeps no channel names. The label this program writes into the Name column (the
// row's place, "A 7") is no name; any other name given is dropped, and the report says so.
void noteDroppedName(const RowReader& cell, int chNo, int mode, ImportRowReport& r) {
    const QString name = cell("Name");
    if (name.isEmpty()) return;
    bool ok = false;
    const int location = cell("Location").toInt(&ok);
    for (int n : {chNo, ok ? location : -1})
        if (n > 0 && name.compare(ChannelSlotName(n, mode), Qt::CaseInsensitive) == 0) return;
    r.notes << TextNote{TxtNameDropped, {}};
    r.changes << QStringLiteral("Name: \"%1\"").arg(PrintableValue(name));
    if (r.outcome == RowOutcome::Imported) r.outcome = RowOutcome::Adjusted;
}

struct Skip {
    TextNote reason;
};

// The transmit and receive tone of a row, or why the row cannot be taken.
std::optional<Skip> readTones(const RowReader& cell, int& tx, int& rx, QList<TextNote>& notes,
                              QStringList& changes) {
    tx = rx = 0;
    const QString mode = cell("Tone");
    auto ctcss = [&](const char* column, int& out) -> std::optional<Skip> {
        const QString v = cell(column).isEmpty() ? kDefaultTone : cell(column);
        const auto t = ctcssIndex(v);
        if (!t) return Skip{{14915, {v}}};
        out = *t;
        return std::nullopt;
    };
    auto dcs = [&](const char* column, int& out) -> std::optional<Skip> {
        const QString v = cell(column).isEmpty() ? kDefaultDcs : cell(column);
        const auto t = dcsIndex(v);
        if (!t) return Skip{{14916, {v}}};
        out = *t;
        return std::nullopt;
    };
    auto normalPolarity = [&]() -> std::optional<Skip> {
        const QString p = cell("DtcsPolarity");
        if (p.contains(QLatin1Char('R'), Qt::CaseInsensitive)) return Skip{{14917, {p}}};
        return std::nullopt;
    };
    if (mode.isEmpty()) return std::nullopt;
    if (mode == QLatin1String("Tone")) return ctcss("rToneFreq", tx);
    if (mode == QLatin1String("TSQL")) {
        // The tone squelch uses cToneFreq both ways; a row that gives only rToneFreq still
        // gets cToneFreq's (its default when empty), and the report says which tone that is.
        auto s = ctcss("cToneFreq", tx);
        rx = tx;
        if (!s && cell("cToneFreq").isEmpty() && !cell("rToneFreq").isEmpty()) {
            const QString used = ToneNames().at(tx);
            notes << TextNote{TxtTsqlTone, {kDefaultTone}};
            changes << QStringLiteral("Tone: TSQL rToneFreq %1 -> %2")
                           .arg(PrintableValue(cell("rToneFreq")), used);
        }
        return s;
    }
    if (mode == QLatin1String("DTCS")) {
        if (auto s = normalPolarity()) return s;
        auto s = dcs("DtcsCode", tx);
        rx = tx;
        return s;
    }
    if (mode != QLatin1String("Cross")) return Skip{{14914, {mode}}};
    const QString cross =
        cell("CrossMode").isEmpty() ? QStringLiteral("Tone->Tone") : cell("CrossMode");
    const int arrow = cross.indexOf(QStringLiteral("->"));
    const QString txKind = cross.left(std::max(arrow, 0)), rxKind = cross.mid(arrow + 2);
    auto known = [](const QString& k) {
        return k.isEmpty() || k == QLatin1String("Tone") || k == QLatin1String("DTCS");
    };
    if (arrow < 0 || !known(txKind) || !known(rxKind) || (txKind.isEmpty() && rxKind.isEmpty()))
        return Skip{{14914, {QStringLiteral("Cross ") + cross}}};
    if (txKind == QLatin1String("DTCS") || rxKind == QLatin1String("DTCS"))
        if (auto s = normalPolarity()) return s;
    if (txKind == QLatin1String("Tone")) {
        if (auto s = ctcss("rToneFreq", tx)) return s;
    } else if (txKind == QLatin1String("DTCS")) {
        if (auto s = dcs("DtcsCode", tx)) return s;
    }
    if (rxKind == QLatin1String("Tone")) {
        if (auto s = ctcss("cToneFreq", rx)) return s;
    } else if (rxKind == QLatin1String("DTCS")) {
        if (auto s = dcs("RxDtcsCode", rx)) return s;
    }
    return std::nullopt;
}

// What a row asks of a channel, field by field, with the notes of reading it.
struct WantedChannel {
    QString frequency;
    std::map<int, int> fields;
    QList<TextNote> notes;
    QStringList changes;
};

std::optional<Skip> readRow(const RowReader& cell, WantedChannel& w) {
    w.frequency = cell("Frequency");
    if (!ParseNumber(w.frequency)) return Skip{{14909, {w.frequency}}};

    // Columns that are missing or empty take the values of a new channel.
    w.fields = {{FldAM_FM, 0},
                {FldTx_Power, 0},
                {FldDUP, 0},
                {FldOffSetFre, 100},
                {FldTSQ, 0},
                {FldScan, 1},
                {FldHI_CUT, 0},
                {FldBUSY, 0},
                {FldNB, 1},
                {FldAdd_Sub_5K, 0},
                {FldRBTone, 0},
                {FldDTMF_BOT, 0},
                {FldDTMF_EOT, 0},
                {FldDTMF_Call, 0},
                {FldRDCT, 0},
                {FldTDCT, 0},
                // A row carries its own settings: unless it says otherwise, the channel
                // does not take the public channel's.
                {FldPublic, 0}};

    const QString duplex = cell("Duplex");
    if (duplex == QLatin1String("+"))
        w.fields[FldDUP] = 1;
    else if (duplex == QLatin1String("-"))
        w.fields[FldDUP] = 2;
    else if (!duplex.isEmpty())
        return Skip{{14913, {duplex}}};

    int tx = 0, rx = 0;
    if (auto s = readTones(cell, tx, rx, w.notes, w.changes)) return s;
    w.fields[FldTDCT] = tx;
    w.fields[FldRDCT] = rx;

    const QString mode = cell("Mode");
    if (mode == QLatin1String("AM")) {
        w.fields[FldAM_FM] = 1;
    } else if (mode == QLatin1String("NFM")) {
        w.notes << TextNote{14939, {}};
        w.changes << QStringLiteral("Mode: NFM -> FM");
    } else if (!mode.isEmpty() && mode != QLatin1String("FM")) {
        return Skip{{14918, {mode}}};
    }

    if (cell("Skip").compare(QLatin1String("S"), Qt::CaseInsensitive) == 0) w.fields[FldScan] = 0;

    const std::map<int, int> comment = parseComment(cell("Comment"));
    for (const auto& [id, v] : comment)
        w.fields[id] = v;

    if (w.fields[FldDUP] != 0 && !cell("Offset").isEmpty()) {
        if (const auto off = ParseNumber(cell("Offset"))) {
            w.fields[FldOffSetFre] = static_cast<int>(RoundEven(*off * 1000));
        } else {
            w.notes << TextNote{14919, {cell("Offset")}};
            w.changes << QStringLiteral("Offset: ") + PrintableValue(cell("Offset"));
        }
    }

    const QString power = cell("Power");
    if (!power.isEmpty()) {
        QString p = power;
        if (p.endsWith(QLatin1Char('W'), Qt::CaseInsensitive)) p.chop(1);
        static const QStringList names = {QStringLiteral("low"), QStringLiteral("mid"),
                                          QStringLiteral("medium"), QStringLiteral("high")};
        const int named = names.indexOf(power.toLower());
        if (const auto watts = ParseNumber(p)) {
            const int level = PowerLevelOfWatts(*watts);
            w.fields[FldTx_Power] = level;
            // A wattage the radio has no level for is moved to the nearest one: say so.
            if (std::abs(PowerLevelWatts(level) - *watts) > 1e-9) {
                w.notes << TextNote{14976,
                                    {PrintableValue(p), QString::number(PowerLevelWatts(level))}};
                w.changes << QStringLiteral("Power: %1 -> %2W")
                                 .arg(PrintableValue(power))
                                 .arg(PowerLevelWatts(level));
            }
        } else if (named >= 0) {
            w.fields[FldTx_Power] = named == 0 ? 0 : named == 3 ? 2 : 1;
        } else {
            w.notes << TextNote{14919, {power}};
            w.changes << QStringLiteral("Power: ") + PrintableValue(power);
        }
    }
    // AM offers two power levels.
    if (w.fields[FldAM_FM] == 1 && w.fields[FldTx_Power] > 1) {
        w.fields[FldTx_Power] = 1;
        w.notes << TextNote{14940, {}};
        w.changes
            << QStringLiteral("Power: %1W -> %2W").arg(PowerLevelWatts(2)).arg(PowerLevelWatts(1));
    }
    return std::nullopt;
}

// The column a field comes from, for the report.
QString columnOf(int id) {
    switch (id) {
    case FldDUP:
        return QStringLiteral("Duplex");
    case FldOffSetFre:
        return QStringLiteral("Offset (kHz)");
    case FldAM_FM:
        return QStringLiteral("Mode");
    case FldTx_Power:
        return QStringLiteral("Power");
    case FldScan:
        return QStringLiteral("Skip");
    case FldRDCT:
        return QStringLiteral("Tone (receive)");
    case FldTDCT:
        return QStringLiteral("Tone (transmit)");
    default:
        for (const CommentKey& k : kCommentKeys)
            if (k.id == id) return QLatin1String(k.key);
        return ChannelFieldName(id);
    }
}

QString valueText(int id, int v) {
    switch (id) {
    case FldDUP:
        return v == 1 ? QStringLiteral("+") : v == 2 ? QStringLiteral("-") : QStringLiteral("none");
    case FldAM_FM:
        return v ? QStringLiteral("AM") : QStringLiteral("FM");
    case FldTx_Power:
        return v >= 0 && v <= 2 ? QStringLiteral("%1W").arg(PowerLevelWatts(v))
                                : QString::number(v);
    case FldScan:
        return v ? QStringLiteral("scan") : QStringLiteral("S");
    case FldRDCT:
    case FldTDCT:
        return v >= 0 && v < ToneCount ? ToneNames().at(v) : QString::number(v);
    case FldPublic:
    case FldTSQ:
    case FldBUSY:
    case FldNB:
    case FldHI_CUT:
    case FldAdd_Sub_5K:
        return onOff(v);
    default:
        return QString::number(v);
    }
}

// Group settings that name rows the import programmed are kept as they were: the import is
// one step, and a setting must not wander to another row because its own row came later in
// the file.
void settleGroupSettings(Document& doc, const FuncRec& before) {
    const int mode = doc.CountryMode;
    auto hasRow = [&](int g, int stored) {
        const int row = stored + 1;
        return row >= 1 && row <= GroupSize(g, mode) &&
               doc.FindChannel(FirstCHOfGroup(g, mode) + row) >= 0;
    };
    doc.EditFunc([&](FuncRec& f) {
        for (int g = 0; g < SettingGroupCount(mode); ++g) {
            if (doc.CountCHInGroup(g, mode) == 0) continue;
            f.GroupValid[g] = before.GroupValid[g];
            if (hasRow(g, before.WorkCH[g])) f.WorkCH[g] = before.WorkCH[g];
            if (hasRow(g, before.EmgCH1[g])) f.EmgCH1[g] = before.EmgCH1[g];
            if (hasRow(g, before.EmgCH2[g])) f.EmgCH2[g] = before.EmgCH2[g];
        }
        for (int g = 0; g < GroupCount(mode); ++g)
            if (IsMemGroup(g, mode) && hasRow(g, before.MemWorkCH)) f.MemWorkCH = before.MemWorkCH;
    });
    doc.EnsureValidGroup(mode);
}

void importRow(Document& doc, const RowReader& cell, int chNo, ImportRowReport& r) {
    WantedChannel w;
    if (auto s = readRow(cell, w)) {
        r.outcome = RowOutcome::Skipped;
        r.notes = {s->reason};
        return;
    }
    // A value of a file is given, not typed: the rule source refuses a frequency outside the
    // band rather than pulling it to the band's edge, which would make a channel nobody asked
    // for.
    const double f = *ParseNumber(w.frequency);
    const EditResult fr = EditChannelField(doc, chNo, FldRxFre, w.frequency);
    if (fr.outcome == EditOutcome::Refused) {
        r.outcome = RowOutcome::Skipped;
        r.notes = {fr.reason};
        return;
    }
    if (fr.outcome == EditOutcome::Adjusted) {
        r.notes << fr.reason;
        r.changes << QStringLiteral("Frequency: %1 -> %2").arg(mhz(f), fr.after);
    }
    r.notes += w.notes;
    r.changes += w.changes;

    auto current = [&](int id) { return doc.Channel(chNo)->field(id); };
    auto wanted = [&](int id) { return w.fields.at(id); };
    // A channel that uses the public channel's settings has none of its own to change; like a
    // person in the edit dialog, switch it off first and back on at the end.
    bool lockedChange = false;
    for (int id : {FldDUP, FldOffSetFre, FldHI_CUT, FldBUSY, FldNB, FldAdd_Sub_5K, FldAM_FM,
                   FldTx_Power, FldRBTone, FldDTMF_BOT, FldDTMF_EOT, FldDTMF_Call})
        lockedChange = lockedChange || wanted(id) != current(id);
    if (current(FldPublic) == 1 && lockedChange)
        EditChannelField(doc, chNo, FldPublic, QStringLiteral("0"));

    for (int id : {FldAM_FM, FldTx_Power, FldDUP, FldOffSetFre, FldTSQ, FldScan, FldHI_CUT, FldBUSY,
                   FldNB, FldAdd_Sub_5K, FldRBTone, FldDTMF_BOT, FldDTMF_EOT, FldDTMF_Call, FldRDCT,
                   FldTDCT, FldPublic}) {
        const int want = wanted(id), had = current(id);
        if (want == had) continue;
        const EditResult e = EditChannelField(doc, chNo, id, QString::number(want));
        if (e.outcome == EditOutcome::Stored) continue;
        const int now = current(id);
        r.notes << e.reason;
        r.changes << QStringLiteral("%1: %2 -> %3")
                         .arg(columnOf(id), valueText(id, want), valueText(id, now));
    }
    r.outcome = r.notes.isEmpty() ? RowOutcome::Imported : RowOutcome::Adjusted;
}

// Whether a row asks for exactly what a channel holds.
bool sameAsChannel(const Document& doc, const RowReader& cell, int chNo) {
    const CHInfoRec* c = doc.Channel(chNo);
    WantedChannel w;
    if (!c || readRow(cell, w) || !w.notes.isEmpty()) return false;
    const auto shown = ParseNumber(FreToShown(c->RxFre.text(), doc.FreLow));
    if (!shown || !sameMhz(*shown, *ParseNumber(w.frequency))) return false;
    for (const auto& [id, v] : w.fields)
        if (c->field(id) != v) return false;
    return true;
}

} // namespace

QHash<QString, int> ChannelCsvHeader(const QStringList& header, QList<TextNote>& remarks) {
    QHash<QString, int> columns;
    for (int i = 0; i < header.size(); ++i) {
        const QString name = header.at(i).trimmed();
        if (name.isEmpty()) continue;
        // Columns are found by their names, whatever their case and order.
        QString known;
        for (const QString& k : ChannelCsvColumns())
            if (name.compare(k, Qt::CaseInsensitive) == 0) known = k;
        if (known.isEmpty())
            remarks << TextNote{TxtColumnNotRead, {PrintableValue(name)}};
        else if (columns.contains(known))
            remarks << TextNote{TxtColumnTwice, {PrintableValue(name)}};
        else
            columns.insert(known, i);
    }
    return columns;
}

const QStringList& ChannelCsvColumns() {
    static const QStringList c =
        QStringLiteral("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,"
                       "cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,"
                       "TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE")
            .split(QLatin1Char(','));
    return c;
}

double PowerLevelWatts(int level) {
    return kWatts[std::clamp(level, 0, 2)];
}

int PowerLevelOfWatts(double watts) {
    int best = 0;
    for (int l = 1; l < 3; ++l)
        if (std::abs(kWatts[l] - watts) < std::abs(kWatts[best] - watts)) best = l;
    return best;
}

ChannelCsvExport ExportChannelsCsv(const Document& doc) {
    ChannelCsvExport out;
    out.csv = CsvLine(ChannelCsvColumns());
    const int mode = doc.CountryMode;
    QList<const CHInfoRec*> channels;
    for (int i = 0; i < std::clamp<int>(doc.chCount(), 0, MaxChannels); ++i)
        channels << &doc.CHInfo[i];
    std::stable_sort(channels.begin(), channels.end(),
                     [](const CHInfoRec* a, const CHInfoRec* b) { return a->CHNo < b->CHNo; });
    for (const CHInfoRec* c : channels) {
        const QStringList cells = ChannelCsvCells(*c, mode, doc.FreLow);
        if (cells.isEmpty()) {
            out.skipped << QStringLiteral("%1 (%2): no frequency")
                               .arg(c->CHNo)
                               .arg(ChannelSlotName(c->CHNo, mode));
            continue;
        }
        out.csv += CsvLine(cells);
    }
    return out;
}

QStringList ChannelCsvCells(const CHInfoRec& c, int mode, double freLow) {
    const QString stored = c.RxFre.text();
    if (IsNoFrequency(stored) || !IsNumeric(stored)) return {};
    int group = -1, row = 0;
    ChannelSlot(c.CHNo, mode, group, row);
    const double f = ParseNumber(FreToListText(stored, group, mode, freLow)).value_or(0);
    const ToneCells t = toneCells(c.TDCT, c.RDCT);
    return {QString::number(c.CHNo),
            ChannelSlotName(c.CHNo, mode),
            mhz(f),
            c.DUP == 1   ? QStringLiteral("+")
            : c.DUP == 2 ? QStringLiteral("-")
                         : QString(),
            c.DUP == 1 || c.DUP == 2 ? mhz(c.OffSetFre / 1000.0) : mhz(0),
            t.tone,
            t.rTone,
            t.cTone,
            t.dtcs,
            t.polarity,
            t.rxDtcs,
            t.cross,
            c.AM_FM == 1 ? QStringLiteral("AM") : QStringLiteral("FM"),
            QStringLiteral("5.00"),
            c.Scan == 0 ? QStringLiteral("S") : QString(),
            QStringLiteral("%1W").arg(PowerLevelWatts(c.Tx_Power)),
            commentOf(c),
            QString(),
            QString(),
            QString(),
            QString()};
}

CsvChannelRow ReadChannelCsvRow(const QHash<QString, int>& columns, const QStringList& cells,
                                double freLow) {
    CsvChannelRow out;
    const RowReader cell(columns, cells);
    if (isEmptyRow(columns, cell)) {
        out.empty = true;
        return out;
    }
    WantedChannel w;
    if (auto s = readRow(cell, w)) {
        out.skip = s->reason;
        return out;
    }
    CHInfoRec c;
    c.RxFre = FreToStored(w.frequency, freLow);
    for (const auto& [id, v] : w.fields)
        if (i16* f = c.fieldRef(id)) *f = static_cast<i16>(std::clamp(v, -32768, 32767));
    out.channel = c;
    out.notes = w.notes;
    return out;
}

int ChannelImportReport::count(RowOutcome o) const {
    return static_cast<int>(std::count_if(
        rows.begin(), rows.end(), [o](const ImportRowReport& r) { return r.outcome == o; }));
}

QString ChannelImportReport::refusalText(const QString& path) const {
    if (refusalLine > 0)
        return DamagedFileText(path, FileText(TxtRecLine).arg(refusalLine), refusal.text());
    return FileFailure(path, refusal.text());
}

QStringList ChannelImportReport::lines() const {
    QStringList out;
    for (const TextNote& r : remarks)
        out << r.text();
    for (const ImportRowReport& r : rows) {
        const QString head = r.where.isEmpty()
                                 ? TextNote{TxtLineOnly, {QString::number(r.line)}}.text()
                                 : TextNote{14903, {QString::number(r.line), r.where}}.text();
        if (r.outcome == RowOutcome::Imported) {
            out << head + QLatin1Char(' ') + TextNote{14900, {}}.text();
        } else if (r.outcome == RowOutcome::Empty) {
            out << head + QLatin1Char(' ') + TextNote{TxtEmptyRow, {}}.text();
        } else if (r.outcome == RowOutcome::Skipped) {
            out << head + QLatin1Char(' ') + TextNote{14902, {}}.text() + QStringLiteral(": ") +
                       (r.notes.isEmpty() ? QString() : r.notes.first().text());
        } else {
            QStringList parts;
            for (int i = 0; i < r.notes.size(); ++i) {
                const QString why = r.notes.at(i).id ? r.notes.at(i).text() : QString();
                const QString what = i < r.changes.size() ? r.changes.at(i) : QString();
                parts << (why.isEmpty() ? what
                                        : what + QStringLiteral(" (") + why + QLatin1Char(')'));
            }
            out << head + QLatin1Char(' ') + TextNote{14901, {}}.text() + QStringLiteral(": ") +
                       parts.join(QStringLiteral("; "));
        }
    }
    // An empty row is skipped like any other row that changes nothing.
    out << TextNote{14930,
                    {QString::number(count(RowOutcome::Imported)),
                     QString::number(count(RowOutcome::Adjusted)),
                     QString::number(count(RowOutcome::Skipped) + count(RowOutcome::Empty))}}
               .text();
    return out;
}

ChannelImportReport ImportChannelsCsv(Document& doc, const QByteArray& bytes,
                                      const ChannelImportOptions& options) {
    ChannelImportReport report;
    const CsvTable table = ReadCsv(bytes);
    switch (table.error) {
    case CsvError::Empty:
        report.refusal = {9751, {}};
        return report;
    case CsvError::Binary:
        report.refusal = {TxtFaultNotText, {EscapeBytes(table.errorBytes)}};
        report.refusalLine = table.errorLine;
        return report;
    case CsvError::Unclosed:
        report.refusal = {9754, {QString::number(table.errorLine)}};
        return report;
    case CsvError::None:
        break;
    }
    if (table.records.isEmpty()) {
        report.refusal = {9751, {}};
        return report;
    }
    const QHash<QString, int> columns =
        ChannelCsvHeader(table.records.first().fields, report.remarks);
    const bool byGroup = options.group >= 0;
    if (!columns.contains(QStringLiteral("Frequency")) ||
        (!byGroup && !columns.contains(QStringLiteral("Location")))) {
        report.refusal = {9753, {}};
        return report;
    }
    if (byGroup && GroupSize(options.group, doc.CountryMode) == 0) {
        report.refusal = {9755, {QString::number(options.group)}};
        return report;
    }

    const FuncRec before = doc.RadioData.Func;
    const int mode = doc.CountryMode;
    QHash<int, int> seen; // channel number -> line that gave it
    int nextRow = options.startRow;
    for (int k = 1; k < table.records.size(); ++k) {
        const CsvRecord& rec = table.records.at(k);
        const RowReader cell(columns, rec.fields);
        ImportRowReport r;
        r.line = rec.line;
        r.where = cell("Location");
        auto skip = [&](TextNote why) {
            r.outcome = RowOutcome::Skipped;
            r.notes = {std::move(why)};
            report.rows << r;
        };
        int chNo = 0;
        if (byGroup) {
            const int row = nextRow++;
            r.where = GroupName(options.group, mode) + QLatin1Char(' ') + QString::number(row);
            // An empty row leaves its row as it is, as a skipped one does.
            if (isEmptyRow(columns, cell)) {
                r.outcome = RowOutcome::Empty;
                report.rows << r;
                continue;
            }
            if (row < 1 || row > GroupSize(options.group, mode)) {
                skip({14907, {GroupName(options.group, mode), QString::number(row)}});
                continue;
            }
            chNo = FirstCHOfGroup(options.group, mode) + row;
        } else {
            bool ok = false;
            chNo = cell("Location").toInt(&ok);
            if (isEmptyRow(columns, cell)) {
                int group = 0, row = 0;
                if (ok && ChannelSlot(chNo, mode, group, row))
                    r.where = ChannelSlotName(chNo, mode);
                r.outcome = RowOutcome::Empty;
                report.rows << r;
                continue;
            }
            if (!ok) {
                skip({14905, {cell("Location")}});
                continue;
            }
            int group = 0, row = 0;
            if (!ChannelSlot(chNo, mode, group, row)) {
                // Mode 0 has no group for the VFO channel: no window can change it, but a row
                // that leaves it as it is is no reason to complain.
                if (sameAsChannel(doc, cell, chNo)) {
                    r.chNo = chNo;
                    r.where = ChannelSlotName(chNo, mode);
                    seen.insert(chNo, rec.line);
                    noteDroppedName(cell, chNo, mode, r);
                    report.rows << r;
                } else {
                    skip({14906, {QString::number(chNo), ModeName(mode)}});
                }
                continue;
            }
        }
        r.chNo = chNo;
        r.where = ChannelSlotName(chNo, mode);
        if (seen.contains(chNo)) {
            skip({14908, {r.where, QString::number(seen.value(chNo))}});
            continue;
        }
        seen.insert(chNo, rec.line);
        importRow(doc, cell, chNo, r);
        if (r.outcome != RowOutcome::Skipped) noteDroppedName(cell, chNo, mode, r);
        report.rows << r;
    }
    settleGroupSettings(doc, before);
    return report;
}

void CopyDocumentImage(const Document& from, Document& to) {
    to.RadioData = from.RadioData;
    to.CHInfo = from.CHInfo;
    to.FileRadioData = from.FileRadioData;
    to.FileCHInfo = from.FileCHInfo;
    to.RadioInfo = from.RadioInfo;
    to.ModelName = from.ModelName;
    to.CountryMode = from.CountryMode;
    to.BandText = from.BandText;
    to.FreLow = from.FreLow;
    to.FreHigh = from.FreHigh;
}
