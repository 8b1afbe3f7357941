#include "channelsheet.h"
#include "channelcsv.h"
#include "csvtable.h"

#include "../model/channelrules.h"
#include "../model/country.h"
#include "../model/document.h"
#include "../model/frequency.h"
#include "../model/helpers.h"

#include <QSet>

namespace {

constexpr int MsgNothingToPaste = 9956;
constexpr int TxtBeyondGroup = 14958;
constexpr int TxtPlanNotEmptied = 14973;
constexpr int TxtNameNotRead = 14980;
constexpr int TxtNotChannelNumber = 14905;  // the Location "%1" is not a channel number
constexpr int TxtGivenTwice = 14908;        // %1 was already given on line %2
constexpr int TxtNoPlanFrequency = 14950;   // skipped: %1 MHz is not a channel of the %2 plan
constexpr int TxtLine = 14651;              // the head of a row that names no place
constexpr int TxtLocationElsewhere = 27206; // skipped: Location %1 is no channel of %2

const QChar kTab = QLatin1Char('\t');

bool isHeader(const QStringList& fields) {
    for (const QString& f : fields)
        if (f.trimmed().compare(QLatin1String("Frequency"), Qt::CaseInsensitive) == 0) return true;
    return false;
}

} // namespace

QString ChannelSheetText(const ChannelClip& clip) {
    double freLow = 0, freHigh = 0;
    ParseBandText(BandTextOf(clip.mode), freLow, freHigh);
    const int base = FirstCHOfGroup(clip.group, clip.mode);
    QByteArray out = CsvLine(ChannelCsvColumns(), kTab);
    for (int i = 0; i < clip.rows.size(); ++i) {
        const int chNo = base + clip.firstRow + i;
        QStringList cells;
        if (const auto& row = clip.rows[i]) {
            cells = ChannelCsvCells(*row, clip.mode, freLow);
            // A damaged frequency stays as it is stored, so that a paste skips the row rather
            // than taking another frequency for it.
            if (cells.isEmpty())
                cells = {QString::number(chNo), ChannelSlotName(chNo, clip.mode),
                         PrintableValue(row->RxFre.text())};
        } else {
            cells = {QString::number(chNo), ChannelSlotName(chNo, clip.mode)};
        }
        while (cells.size() < ChannelCsvColumns().size())
            cells << QString();
        out += CsvLine(cells, kTab);
    }
    return QString::fromUtf8(out);
}

bool LooksLikeChannelSheet(const QString& text) {
    if (LooksLikeChannelText(text)) return true;
    const QString first = text.left(4096).section(QLatin1Char('\n'), 0, 0);
    return isHeader(first.split(kTab));
}

SheetPasteReport PasteChannelSheet(Document& doc, int group, int at, const QString& text) {
    SheetPasteReport out;
    RowCommandReport& report = out.rows;
    const RowCommandAccess access = rowCommandAccess(doc, group, RowCommand::Paste);
    if (!access.allowed) {
        report.refusal = access.why;
        return out;
    }
    if (TextNote tooMuch = tooMuchChannelText(text); tooMuch.id) {
        report.refusal = tooMuch;
        return out;
    }
    const CsvTable table = ReadCsv(text.toUtf8(), kTab);
    if (table.error != CsvError::None || table.records.isEmpty()) {
        report.refusal = {MsgNothingToPaste, {}};
        return out;
    }
    QList<TextNote> remarks;
    QHash<QString, int> columns;
    int first = 0;
    bool headerLocation = false;
    if (isHeader(table.records.first().fields)) {
        const QStringList& header = table.records.first().fields;
        columns = ChannelCsvHeader(header, remarks);
        if (columns.contains(QStringLiteral("Name"))) {
            // The radio keeps no channel names: the column says where a row came from.
            remarks << TextNote{TxtNameNotRead, {header.at(columns.value(QStringLiteral("Name")))}};
            columns.remove(QStringLiteral("Name"));
        }
        headerLocation = columns.contains(QStringLiteral("Location"));
        first = 1;
    } else {
        // The earlier text of this program began with the frequency: a first cell with a
        // decimal point is no Location, and such text is read in that layout.
        const QString lead = table.records.first().fields.value(0).trimmed();
        if (lead.contains(QLatin1Char('.')) && ParseNumber(lead)) {
            out.dataRows = static_cast<int>(table.records.size());
            out.rows = PasteRowsText(doc, group, at, text);
            return out;
        }
        for (int i = 0; i < ChannelCsvColumns().size(); ++i)
            if (ChannelCsvColumns().at(i) != QLatin1String("Name"))
                columns.insert(ChannelCsvColumns().at(i), i);
    }
    out.dataRows = static_cast<int>(table.records.size()) - first;
    if (out.dataRows == 0) {
        report.refusal = {MsgNothingToPaste, {}};
        return out;
    }

    const int mode = doc.CountryMode;
    const int size = GroupSize(group, mode);
    const int base = FirstCHOfGroup(group, mode);
    const bool plan = access.keepsFrequencies;
    // A national plan's rows are its channels: a row lands on the channel its Location names,
    // else on the one whose frequency it gives. Elsewhere a header with Location places rows
    // by their numbers, as the import does; without it the rows follow from the cursor on.
    const bool byLocation = plan || headerLocation;
    auto where = [&](int r) {
        return r >= 1 && r <= size ? ChannelSlotName(base + r, mode)
                                   : GroupName(group, mode) + QLatin1Char(' ') + QString::number(r);
    };
    // The row of the group a text row names; 0 (with why) when none.
    auto placed = [&](const QStringList& fields, int sequential, TextNote& why) {
        if (!byLocation) return sequential;
        auto cell = [&](const QString& name) {
            const int c = columns.value(name, -1);
            return c >= 0 ? fields.value(c).trimmed() : QString();
        };
        const QString loc = cell(QStringLiteral("Location"));
        if (!loc.isEmpty()) {
            bool ok = false;
            const int n = loc.toInt(&ok);
            if (!ok) {
                why = {TxtNotChannelNumber, {PrintableValue(loc)}};
                return 0;
            }
            if (n > base && n <= base + size) return n - base;
            // In a national plan a channel is also called by its number in the plan.
            if (plan && n >= 1 && n <= size) return n;
            why = {TxtLocationElsewhere, {loc, GroupName(group, mode)}};
            return 0;
        }
        if (!plan) {
            why = {TxtNotChannelNumber, {QString()}};
            return 0;
        }
        const QString fre = cell(QStringLiteral("Frequency"));
        if (const auto mhz = ParseNumber(fre)) {
            for (int r = 1; r <= size; ++r) {
                const QString stored = planFrequency(doc, slotAt(doc, group, r));
                if (stored.isEmpty()) continue;
                const auto listed = ParseNumber(FreToListText(stored, group, mode, doc.FreLow));
                if (sameMhz(storedMhz(stored), *mhz) || (listed && sameMhz(*listed, *mhz)))
                    return r;
            }
        }
        why = {TxtNoPlanFrequency, {PrintableValue(fre), GroupName(group, mode)}};
        return 0;
    };
    // Rows that can be read are pasted in runs of consecutive rows: a row that cannot be read
    // keeps what its target row holds, and the rows around it are still pasted.
    ChannelClip run;
    run.mode = mode;
    run.group = group;
    QList<RowNote> readingNotes;
    auto flush = [&] {
        if (run.rows.isEmpty()) return;
        const RowCommandReport r = PasteRows(doc, group, run.firstRow, run);
        if (r.refused()) {
            for (int k = 0; k < run.rows.size(); ++k) {
                const int row = run.firstRow + k;
                report.notes.append({row, where(row), true, r.refusal, 0});
            }
        } else {
            report.notes += r.notes;
        }
        run.rows.clear();
    };
    QHash<int, int> landed; // row of the group -> line of the text that gave it
    for (int i = 0; i < out.dataRows; ++i) {
        const CsvRecord& rec = table.records.at(first + i);
        TextNote why;
        const int r = placed(rec.fields, at + i, why);
        const CsvChannelRow row = ReadChannelCsvRow(columns, rec.fields, doc.FreLow);
        if (r == 0) {
            // A row with nothing in it names no channel: it is passed over without a word.
            if (row.empty && why.id == TxtNoPlanFrequency) continue;
            flush();
            // Reported against the line it came from, after the rows of the group.
            QString line = TextNote{TxtLine, {QString::number(rec.line)}}.text().trimmed();
            if (line.endsWith(QLatin1Char(':')) || line.endsWith(QChar(0xFF1A))) line.chop(1);
            report.notes.append({size + rec.line, line, true, why, 0});
            continue;
        }
        if (r < 1 || r > size) {
            flush();
            report.notes.append({r, where(r), true, {TxtBeyondGroup, {QString::number(size)}}, 0});
            continue;
        }
        if (landed.contains(r)) {
            flush();
            report.notes.append({r,
                                 where(r),
                                 true,
                                 {TxtGivenTwice, {where(r), QString::number(landed.value(r))}},
                                 0});
            continue;
        }
        landed.insert(r, rec.line);
        if (row.empty && plan) {
            // A plan row is never emptied; an empty row over an empty plan row is as given.
            flush();
            if (doc.Channel(base + r))
                report.notes.append({r, where(r), true, {TxtPlanNotEmptied, {}}, 0});
            continue;
        }
        if (!row.empty && !row.channel) {
            flush();
            report.notes.append({r, where(r), true, row.skip, 0});
            continue;
        }
        if (!run.rows.isEmpty() && run.firstRow + run.rows.size() != r) flush();
        if (run.rows.isEmpty()) run.firstRow = r;
        run.rows.append(row.channel);
        for (const TextNote& n : row.notes)
            readingNotes.append({r, where(r), false, n, 0});
    }
    flush();
    // What reading a row changed counts only where the row was pasted.
    QSet<int> skippedRows;
    for (const RowNote& n : report.notes)
        if (n.skipped) skippedRows.insert(n.row);
    for (const RowNote& n : readingNotes)
        if (!skippedRows.contains(n.row)) report.notes.append(n);
    std::stable_sort(report.notes.begin(), report.notes.end(),
                     [](const RowNote& a, const RowNote& b) { return a.row < b.row; });
    report.remarks = remarks;
    report.changedRows = out.dataRows - report.adjusted() - report.skipped();
    return out;
}
