#include "channelsheet.h"
#include "channelcsv.h"
#include "csvtable.h"

#include "../model/channelrules.h"
#include "../model/country.h"
#include "../model/document.h"
#include "../model/helpers.h"

#include <QSet>

namespace {

constexpr int MsgNothingToPaste = 9956;
constexpr int TxtBeyondGroup = 14958;
constexpr int TxtPlanNotEmptied = 14973;
constexpr int TxtNameNotRead = 14980;
constexpr int TxtColumnNotRead = 14981;

const QChar kTab = QLatin1Char('\t');

// The header's columns by name; what is not read goes to the report.
QHash<QString, int> headerColumns(const QStringList& header, QList<TextNote>& remarks) {
    QHash<QString, int> columns;
    for (int i = 0; i < header.size(); ++i) {
        const QString name = header.at(i).trimmed();
        if (name.isEmpty()) continue;
        QString known;
        for (const QString& k : ChannelCsvColumns())
            if (name.compare(k, Qt::CaseInsensitive) == 0) known = k;
        if (known.isEmpty()) {
            remarks << TextNote{TxtColumnNotRead, {PrintableValue(name)}};
        } else if (known == QLatin1String("Name")) {
            // The radio keeps no channel names: the column says where a row came from.
            remarks << TextNote{TxtNameNotRead, {name}};
        } else if (!columns.contains(known)) {
            columns.insert(known, i);
        }
    }
    return columns;
}

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
    if (isHeader(table.records.first().fields)) {
        columns = headerColumns(table.records.first().fields, remarks);
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
            columns.insert(ChannelCsvColumns().at(i), i);
    }
    out.dataRows = static_cast<int>(table.records.size()) - first;
    if (out.dataRows == 0) {
        report.refusal = {MsgNothingToPaste, {}};
        return out;
    }

    const int mode = doc.CountryMode;
    const int size = GroupSize(group, mode);
    auto where = [&](int r) {
        return GroupName(group, mode) + QLatin1Char(' ') + QString::number(r);
    };
    // Rows that can be read are pasted in runs: a row that cannot be read keeps what its target
    // row holds, and the rows around it are still pasted.
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
    for (int i = 0; i < out.dataRows; ++i) {
        const int r = at + i;
        if (r < 1 || r > size) {
            flush();
            report.notes.append({r, where(r), true, {TxtBeyondGroup, {QString::number(size)}}, 0});
            continue;
        }
        const CsvChannelRow row =
            ReadChannelCsvRow(columns, table.records.at(first + i).fields, doc.FreLow);
        if (row.empty && access.keepsFrequencies) {
            // A plan row is never emptied; an empty row over an empty plan row is as given.
            flush();
            if (doc.Channel(FirstCHOfGroup(group, mode) + r))
                report.notes.append({r, where(r), true, {TxtPlanNotEmptied, {}}, 0});
            continue;
        }
        if (!row.empty && !row.channel) {
            flush();
            report.notes.append({r, where(r), true, row.skip, 0});
            continue;
        }
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
