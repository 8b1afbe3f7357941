#include "channelplan.h"
#include "channeledit.h"
#include "country.h"
#include "document.h"
#include "frequency.h"
#include "helpers.h"
#include "records.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <cmath>

namespace {

// One line of CSV: fields separated by commas, a field in double quotes may hold commas and
// doubled quotes.
QStringList splitCsvLine(const QString& line) {
    QStringList fields;
    QString cur;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar ch = line[i];
        if (quoted) {
            if (ch == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                cur += u'"';
                ++i;
            } else if (ch == u'"') {
                quoted = false;
            } else {
                cur += ch;
            }
        } else if (ch == u'"') {
            quoted = true;
        } else if (ch == u',') {
            fields << cur;
            cur.clear();
        } else {
            cur += ch;
        }
    }
    fields << cur;
    for (QString& f : fields)
        f = f.trimmed();
    return fields;
}

int groupIndex(const QString& name, int mode) {
    for (int g = 0; g < GroupCount(mode); ++g)
        if (GroupName(g, mode) == name) return g;
    return -1;
}

std::optional<int> parseInt(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

} // namespace

std::optional<QVector<PlanRow>> ParsePlanTable(const QByteArray& csv, int mode, QString* error) {
    QString dummy;
    QString& err = error ? *error : dummy;
    if (!IsValidMode(mode)) {
        err = QStringLiteral("the country mode must be 0, 1 or 2.");
        return std::nullopt;
    }
    double freLow = 0, freHigh = 0;
    ParseBandText(BandTextOf(mode), freLow, freHigh);

    const QStringList lines = QString::fromUtf8(csv).split(u'\n');
    int lineNo = 0;
    QHash<QString, int> col;
    QVector<PlanRow> rows;
    QSet<int> seen;
    auto fail = [&](const QString& what) {
        err = QStringLiteral("line %1: %2").arg(lineNo).arg(what);
        return std::nullopt;
    };
    for (QString line : lines) {
        ++lineNo;
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        const QStringList f = splitCsvLine(line);
        if (col.isEmpty()) {
            for (int i = 0; i < f.size(); ++i)
                col.insert(f[i].toLower(), i);
            for (const char* need :
                 {"channel", "group", "row", "stored_mhz", "shown_mhz", "fm_only"})
                if (!col.contains(QLatin1String(need)))
                    return fail(QStringLiteral("the header has no column \"%1\".")
                                    .arg(QLatin1String(need)));
            continue;
        }
        auto cell = [&](const char* name) {
            const int i = col.value(QLatin1String(name), -1);
            return i >= 0 && i < f.size() ? f[i] : QString();
        };

        PlanRow r;
        r.line = lineNo;
        r.note = cell("note");
        const QString groupName = cell("group");
        r.group = groupIndex(groupName, mode);
        if (r.group < 0)
            return fail(
                QStringLiteral("\"%1\" is no group of country mode %2.").arg(groupName).arg(mode));
        const auto chNo = parseInt(cell("channel"));
        const auto row = parseInt(cell("row"));
        if (!row || *row < 1 || *row > GroupSize(r.group, mode))
            return fail(QStringLiteral("group %1 has no row \"%2\".").arg(groupName, cell("row")));
        r.row = *row;
        r.chNo = FirstCHOfGroup(r.group, mode) + r.row;
        if (!chNo || *chNo != r.chNo)
            return fail(QStringLiteral("row %1 of group %2 is channel %3, not \"%4\".")
                            .arg(r.row)
                            .arg(groupName)
                            .arg(r.chNo)
                            .arg(cell("channel")));
        if (seen.contains(r.chNo))
            return fail(QStringLiteral("channel %1 is listed twice.").arg(r.chNo));
        seen.insert(r.chNo);

        const QString stored = cell("stored_mhz"), shown = cell("shown_mhz");
        const QString fm = cell("fm_only").toLower();
        if (stored.isEmpty()) {
            if (r.chNo == ChVfo)
                return fail(QStringLiteral("the VFO channel always has a frequency."));
            if (!shown.isEmpty() || !cell("dup").isEmpty() || !cell("offset_khz").isEmpty() ||
                fm == u"yes")
                return fail(QStringLiteral("a row without a stored frequency has no other "
                                           "settings."));
            rows.append(r);
            continue;
        }
        static const QRegularExpression mhz(QStringLiteral("^\\d{1,3}\\.\\d{1,5}$"));
        if (!mhz.match(stored).hasMatch())
            return fail(QStringLiteral("\"%1\" is no frequency in MHz with at most five "
                                       "decimals.")
                            .arg(stored));
        r.stored = FreToStored(stored, freLow);
        if (!r.stored.endsWith(u'0') || ParseNumber(stored).value_or(0) <= 0)
            return fail(QStringLiteral("%1 MHz is not a frequency the radio can hold (it keeps "
                                       "100 Hz steps).")
                            .arg(stored));
        const double v = ParseNumber(stored).value_or(0);
        if (mode != 0 && !IsMemGroup(r.group, mode) &&
            (v < freLow || v > freHigh || FormatFre(SnapToGrid(v, freLow)) != FormatFre(v)))
            return fail(QStringLiteral("%1 MHz lies outside the band %2 or off its 5 kHz raster.")
                            .arg(stored, BandTextOf(mode)));
        r.shown = FreToListText(r.stored, r.group, mode, freLow);
        const auto shownValue = ParseNumber(shown);
        if (!shownValue || std::abs(*shownValue - ParseNumber(r.shown).value_or(0)) > 1e-7)
            return fail(QStringLiteral("the stored %1 MHz is listed as %2, not \"%3\".")
                            .arg(stored, r.shown, shown));

        if (fm == u"yes")
            r.fmOnly = true;
        else if (fm != u"no")
            return fail(QStringLiteral("fm_only must be \"yes\" or \"no\", not \"%1\".").arg(fm));
        const QString dup = cell("dup");
        if (dup == u"-")
            r.dup = 2;
        else if (dup == u"+")
            r.dup = 1;
        else if (dup.compare(u"off", Qt::CaseInsensitive) == 0)
            r.dup = 0;
        else if (!dup.isEmpty())
            return fail(
                QStringLiteral("dup must be \"Off\", \"+\" or \"-\", not \"%1\".").arg(dup));
        if (const QString off = cell("offset_khz"); !off.isEmpty()) {
            const auto k = parseInt(off);
            if (!k || *k < 5 || *k > 1000 || *k % 5 != 0)
                return fail(QStringLiteral("offset_khz must be 5 to 1000 in steps of 5, not "
                                           "\"%1\".")
                                .arg(off));
            r.offsetKhz = *k;
        }
        rows.append(r);
    }
    if (col.isEmpty()) {
        lineNo = 1;
        return fail(QStringLiteral("the table is empty."));
    }
    return rows;
}

bool ApplyPlan(Document& doc, const QVector<PlanRow>& rows, QString* error) {
    const int mode = doc.CountryMode;
    // The channel's own settings, through the channel value setter as a user would set them.
    // Public goes off first: a public channel takes modulation and duplex from the public
    // channel, which would undo an FM-only row or a repeater's shift.
    auto ownSettings = [&doc](const PlanRow& r) {
        if (!r.fmOnly && !r.dup && !r.offsetKhz) return;
        doc.SetCHValue(r.group, r.row, FldPublic, 0);
        if (r.fmOnly) doc.SetCHValue(r.group, r.row, FldAM_FM, 0);
        if (r.dup) doc.SetCHValue(r.group, r.row, FldDUP, *r.dup);
        if (r.offsetKhz)
            doc.SetCHValue(r.group, r.row, FldOffSetFre, QString::number(*r.offsetKhz));
    };

    // Plan channels are created with AddChannel (the defaults of a channel made by hand)
    // rather than through typed input: typed frequencies are held to the mode's band and its
    // 5 kHz raster, and most national plans (UK, the German extension, Poland, Italy) lie off
    // it, which is exactly why a CB user cannot type them.
    QVector<int> groups;
    for (const PlanRow& r : rows) {
        if (IsMemGroup(r.group, mode)) continue;
        const int i = doc.FindChannel(r.chNo);
        const QString fre = FreToShown(r.stored, doc.FreLow);
        if (r.stored.isEmpty()) {
            if (i >= 0) doc.DeleteChannel(i);
        } else if (i >= 0) {
            doc.SetCHField(doc.CHInfo[i], FldRxFre, fre);
        } else {
            doc.AddChannel(r.chNo, fre);
        }
        if (!r.stored.isEmpty()) ownSettings(r);
        if (!groups.contains(r.group)) groups.append(r.group);
    }
    for (int g : groups)
        doc.RefreshGroupCHs(g);

    // MEM rows last, through the rule source as the memory frequency dialog's choice is: in
    // mode 0 a MEM frequency must be one of a plan channel, so the plans must be in place
    // first. A refused row is found by the comparison below.
    for (const PlanRow& r : rows) {
        if (!IsMemGroup(r.group, mode)) continue;
        const EditResult e = EditChannelField(
            doc, r.chNo, FldRxFre, r.stored.isEmpty() ? QString() : r.shown, ValueSource::Typed);
        if (!r.stored.isEmpty() && e.outcome != EditOutcome::Refused) ownSettings(r);
    }

    for (const PlanRow& r : rows) {
        const CHInfoRec* c = doc.Channel(r.chNo);
        QString got = c ? c->RxFre.text() : QStringLiteral("empty");
        bool ok = r.stored.isEmpty() ? !c : c && got == r.stored;
        if (ok && c && r.fmOnly) ok = c->AM_FM == 0 && c->Public == 0;
        if (ok && c && r.dup) ok = c->DUP == *r.dup;
        if (ok && c && r.offsetKhz) ok = c->OffSetFre == *r.offsetKhz;
        if (!ok) {
            if (error)
                *error = QStringLiteral("line %1: channel %2 came out as %3, not as the table "
                                        "says (%4); a MEM row must hold the frequency of a "
                                        "plan channel.")
                             .arg(r.line)
                             .arg(r.chNo)
                             .arg(got, r.stored.isEmpty() ? QStringLiteral("empty") : r.stored);
            return false;
        }
    }
    return true;
}
