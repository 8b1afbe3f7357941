#include "printreport.h"
#include "savedatafile.h"

#include "../lang/langtext.h"
#include "../model/country.h"
#include "../model/document.h"
#include "../model/dtmfcodes.h"
#include "../model/helpers.h"
#include "../model/settingsforms.h"
#include "../model/tones.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDate>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextOption>

namespace {

// Texts of the report that no window shows.
enum ReportText {
    TxtPrinted = 9930,  // label of the date in the title block
    TxtNotSaved = 9705, // after the file name of a changed document
};

QString esc(const QString& s) {
    return s.toHtmlEscaped();
}

QString text(int id) {
    return esc(LoadLangText(id));
}

// The fixed item lists of the channel windows; these are no language texts.
QString itemAt(const QStringList& items, int index) {
    if (items.isEmpty()) return QString();
    return index >= 0 && index < items.size() ? items.at(index) : items.first();
}
const QStringList offOn{QStringLiteral("Off"), QStringLiteral("On")};
const QStringList dupItems{QStringLiteral("Off"), QStringLiteral("+"), QStringLiteral("-")};
const QStringList scanItems{QStringLiteral("Del"), QStringLiteral("Add")};
const QStringList modulationItems{QStringLiteral("FM"), QStringLiteral("AM")};
const QStringList groupValidItems{QStringLiteral("Disable"), QStringLiteral("Enable")};

// A table whose first rows (caption and column names) repeat on every page it runs over.
class Table {
public:
    Table(QString& html, int columns, const QString& caption, const QString& style = QString())
        : html_(html), columns_(columns) {
        html_ += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" "
                                "cellpadding=\"1\" style=\"border-collapse:collapse; "
                                "border-color:#808080; margin-top:8px; %1\"><thead>")
                     .arg(style);
        html_ += QStringLiteral("<tr><td colspan=\"%1\" bgcolor=\"#d8d8d8\">%2</td></tr>")
                     .arg(columns_)
                     .arg(caption);
    }
    void headRow(const QStringList& cells) { row(cells, true); }
    void endHead() { html_ += QStringLiteral("</thead><tbody>"); }
    void row(const QStringList& cells, bool head = false) {
        html_ += head ? QStringLiteral("<tr bgcolor=\"#efefef\">") : QStringLiteral("<tr>");
        // Values never wrap; a column name of one word ("TSQ", "Hi-Cut") neither, longer ones
        // wrap at their blanks.
        for (const QString& c : cells) {
            const char* cell = !head ? "<td style=\"white-space:nowrap\">%1</td>"
                               : c.contains(QLatin1Char(' '))
                                   ? "<th>%1</th>"
                                   : "<th style=\"white-space:nowrap\">%1</th>";
            html_ += QString::fromLatin1(cell).arg(c);
        }
        html_ += QStringLiteral("</tr>");
    }
    ~Table() { html_ += QStringLiteral("</tbody></table>"); }

private:
    QString& html_;
    int columns_;
};

// A tone as a reader of the report says it: "88.5 Hz", "D023N"; the list's position number
// ("C_008") is for the program, not for the page.
QString toneInWords(int index) {
    return ToneShownNames().value(index, ToneShownNames().value(0));
}

// --- Title block ---

void titleBlock(QString& h, const Document& doc) {
    h += QStringLiteral("<h1 style=\"font-size:15pt; margin-bottom:4px\">%1</h1>").arg(text(12000));
    const auto pair = [](int label, const QString& value) {
        return QStringLiteral("<td><b>%1:</b></td><td>%2</td>").arg(text(label), esc(value));
    };
    h += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\"><tr>");
    h += pair(13002, ModelShownName(doc.ModelName));
    h += pair(13001, ModeName(doc.CountryMode));
    h += pair(13003, doc.BandText);
    h += QStringLiteral("</tr><tr>");
    // A document that differs from its file says so: the page is not what the file holds.
    h += pair(12009,
              doc.title() +
                  (doc.IsDataChanged() ? QLatin1Char(' ') + LoadLangText(TxtNotSaved) : QString()));
    h += pair(TxtPrinted, QDate::currentDate().toString(Qt::ISODate));
    h += QStringLiteral("</tr></table>");
}

// --- Channels ---

// The channel fields as the edit dialog shows them, under the column names of the channel
// window where it has them; CB mode has no offset direction, offset or power there.
struct ChannelColumn {
    int header;
    bool cbToo;
    QString (*value)(const Document&, const CHInfoRec&, int group);
};

QString codeShown(const Document& doc, int n) {
    // A code that is not defined shows as "Off", like the dialog's list that only offers the
    // defined ones.
    if (n >= 1 && n <= DtmfCodeMax && doc.RadioData.DTMF.Codes[n - 1].Len > 0)
        return QString::number(n);
    return LoadLangText(14013);
}

const std::vector<ChannelColumn>& channelColumns() {
    using D = const Document&;
    using C = const CHInfoRec&;
    static const std::vector<ChannelColumn> cols = {
        {14002, true, [](D d, C c, int g) { return d.FreToListText(c.RxFre.text(), g); }},
        {14003, true, [](D, C c, int) { return itemAt(offOn, c.Public); }},
        {14004, false, [](D, C c, int) { return itemAt(dupItems, c.DUP); }},
        {14005, false, [](D, C c, int) { return QString::number(c.OffSetFre); }},
        {14006, true, [](D, C c, int) { return itemAt(offOn, c.TSQ); }},
        {14008, true,
         [](D d, C c, int g) {
             return GroupName(g, d.CountryMode) == QLatin1String("VFO") ? QString()
                                                                        : itemAt(scanItems, c.Scan);
         }},
        {15009, true, [](D, C c, int) { return itemAt(offOn, c.HI_CUT); }},
        {15010, true, [](D, C c, int) { return itemAt(offOn, c.BUSY); }},
        {15011, true, [](D, C c, int) { return itemAt(offOn, c.NB); }},
        {15013, true, [](D, C c, int) { return itemAt(modulationItems, c.AM_FM); }},
        {15014, false,
         [](D, C c, int) {
             // AM offers two power levels; a higher stored level shows as the second.
             return itemAt(PowerListItems(c.AM_FM),
                           c.AM_FM == 1 && c.Tx_Power > 1 ? 1 : c.Tx_Power);
         }},
        {15015, true,
         [](D d, C c, int) {
             return c.RBTone >= 1 && c.RBTone <= 8 && d.ValidRBTone(c.RBTone) > 0
                        ? QString::number(c.RBTone)
                        : LoadLangText(15030);
         }},
        {15016, true, [](D d, C c, int) { return codeShown(d, c.DTMF_BOT); }},
        {15017, true, [](D d, C c, int) { return codeShown(d, c.DTMF_EOT); }},
        {15018, true, [](D d, C c, int) { return codeShown(d, c.DTMF_Call); }},
        {15019, true, [](D, C c, int) { return toneInWords(c.RDCT); }},
        {15020, true, [](D, C c, int) { return toneInWords(c.TDCT); }},
    };
    return cols;
}

// A setting that names a row of the group shows that row when it holds a channel, else the
// group's first programmed row, as the lists of the channel window do.
QString shownRow(const QVector<int>& positions, int stored) {
    if (positions.isEmpty()) return QString();
    return QString::number(positions.contains(stored + 1) ? stored + 1 : positions.first());
}

QString groupCaption(const Document& doc, int g) {
    const int mode = doc.CountryMode;
    const QString name = GroupName(g, mode);
    QString c = QStringLiteral("<b>%1: %2</b>").arg(text(14050), esc(name));
    const auto setting = [&c](int label, const QString& value) {
        c += QStringLiteral("&nbsp;&nbsp;&nbsp; %1: %2").arg(text(label), esc(value));
    };
    const FuncRec& f = doc.RadioData.Func;
    const QVector<int> positions = doc.GroupPositions(g, mode);
    if (IsMemGroup(g, mode)) {
        setting(14052, shownRow(positions, f.MemWorkCH));
    } else if (name != QLatin1String("VFO") && g < SettingGroupCount(mode)) {
        if (mode != 0) setting(14101, itemAt(groupValidItems, f.GroupValid[g]));
        setting(14052, shownRow(positions, f.WorkCH[g]));
        const i16 emg[2] = {f.EmgCH1[g], f.EmgCH2[g]};
        const u8 emgMode[2] = {f.EmgMode1[g], f.EmgMode2[g]};
        for (int i = 0; i < 2; ++i) {
            // The FM-only plans transmit an emergency call in FM whatever is stored.
            const bool fmOnly = name == QLatin1String("UK") || name == QLatin1String("CE") ||
                                (name == QLatin1String("DE") && emg[i] >= 40);
            setting(14053 + i,
                    shownRow(positions, emg[i]) + QLatin1Char(' ') +
                        (fmOnly ? modulationItems.first() : itemAt(modulationItems, emgMode[i])));
        }
    }
    return c;
}

void channelTables(QString& h, const Document& doc) {
    const int mode = doc.CountryMode;
    std::vector<const ChannelColumn*> cols;
    for (const ChannelColumn& c : channelColumns())
        if (mode != 0 || c.cbToo) cols.push_back(&c);
    // The row within the group, as the channel window and the radio number a channel; the
    // group is in the table's caption. Each column says something of its own: a second number
    // column (the channel's place in the list of 409) would repeat the row in the first group.
    QStringList heads{text(14001)};
    for (const ChannelColumn* c : cols)
        heads << text(c->header);

    h += QStringLiteral("<h2 style=\"font-size:12pt; margin-top:10px\">%1</h2>").arg(text(12001));
    for (int g = 0; g < GroupCount(mode); ++g) {
        if (doc.CountCHInGroup(g, mode) == 0) continue;
        // Up to eighteen columns: a smaller type keeps every column name's words whole.
        Table t(h, heads.size(), groupCaption(doc, g), QStringLiteral("font-size:7pt"));
        t.headRow(heads);
        t.endHead();
        const int first = FirstCHOfGroup(g, mode);
        for (int row = 1; row <= GroupSize(g, mode); ++row) {
            const CHInfoRec* c = doc.Channel(first + row);
            if (!c) continue;
            QStringList cells{QString::number(row)};
            for (const ChannelColumn* col : cols)
                cells << esc(col->value(doc, *c, g));
            t.row(cells);
        }
    }
}

// --- Settings ---

QString fieldValue(const Document& doc, const SettingsField& f) {
    const QStringList items = f.items ? f.items(doc) : QStringList();
    return items.value(f.shownIndex(doc, items));
}

// Label and value pairs, laid out in two pairs of columns so that short tables stay short.
void pairTable(QString& h, const QString& caption, const QList<QPair<QString, QString>>& left,
               const QList<QPair<QString, QString>>& right, const QString& style = QString()) {
    Table t(h, 4, caption, style);
    t.endHead();
    for (int i = 0; i < std::max(left.size(), right.size()); ++i) {
        QStringList cells;
        for (const auto* side : {&left, &right}) {
            if (i < side->size())
                cells << QStringLiteral("<b>%1</b>").arg(esc(side->at(i).first))
                      << esc(side->at(i).second);
            else
                cells << QString() << QString();
        }
        t.row(cells);
    }
}

void optionTables(QString& h, const Document& doc) {
    const int mode = doc.CountryMode;
    QList<QPair<QString, QString>> options, pub;
    for (const SettingsField& f : OptionFields()) {
        if (f.hiddenInMode(mode)) continue;
        QString value = fieldValue(doc, f);
        if (mode == 0 && f.name == QLatin1String("Combo1_1")) {
            // CB mode picks the working group by country plan.
            // The group as the channel window names it ("UK" for the UK 27/81 plan).
            int plan = 0, pair = -1;
            PlanOfWorkGroup(doc.RadioData.Func.WorkGroup, &plan, &pair);
            value = pair >= 0 ? CountryPlanPairItems().value(pair) : CountryPlanItems().value(plan);
        }
        options.append({LoadLangText(f.label), value});
    }
    const FuncRec& func = doc.RadioData.Func;
    options.append({LoadLangText(15600), itemAt(offOn, func.UseMaxSwr == 1) +
                                             QStringLiteral(", Max ") +
                                             QLocale::c().toString(func.MaxSwr / 10.0, 'f', 1)});
    for (const SettingsField& f : PublicChannelFields())
        if (!f.hiddenInMode(mode)) pub.append({LoadLangText(f.label), fieldValue(doc, f)});
    if (mode != 0)
        pub.append({LoadLangText(15100), QString::number(doc.RadioData.PublicCH.OffSetFre)});

    h += QStringLiteral("<h2 style=\"font-size:12pt; page-break-before:always\">%1</h2>")
             .arg(text(16000));
    pairTable(h, QStringLiteral("<b>%1</b> / <b>%2</b>").arg(text(16100), text(16101)), options,
              pub);
}

void keyTable(QString& h, const Document& doc) {
    const std::vector<SettingsField>& rows = KeyFields();
    const QString caption =
        QStringLiteral("<b>%1</b>&nbsp;&nbsp;&nbsp; %2: %3")
            .arg(text(25000), text(rows.front().label), esc(fieldValue(doc, rows.front())));
    Table t(h, 4, caption);
    QStringList heads{QString()};
    for (int m = 1; m <= 3; ++m)
        heads << text(25008) + QLatin1Char(' ') + QString::number(m);
    t.headRow(heads);
    t.endHead();
    // Row i + 1 of the table is key P(i + 1); key mode m holds words 6 (m - 1) + i.
    for (int key = 0; key < 6; ++key) {
        QStringList cells{QStringLiteral("<b>%1</b>").arg(text(25001 + key))};
        for (int m = 0; m < 3; ++m)
            cells << esc(fieldValue(doc, rows.at(1 + 6 * m + key)));
        t.row(cells);
    }
}

void dtmfTables(QString& h, const Document& doc) {
    const DTMFRec& d = doc.RadioData.DTMF;
    QList<QPair<QString, QString>> settings;
    for (const SettingsField& f : DtmfSettingFields())
        settings.append({LoadLangText(f.label), fieldValue(doc, f)});
    settings.append({LoadLangText(18030), itemAt(offOn, d.DtmfSet[5] == 1)});
    const qsizetype half = (settings.size() + 1) / 2;
    pairTable(h, QStringLiteral("<b>%1</b> - %2").arg(text(18000), text(18002)),
              settings.mid(0, half), settings.mid(half));

    // The sixteen codes in four columns of slot and code, slots running down the columns.
    constexpr int rows = DtmfCodeMax / 4;
    Table t(h, 8, QStringLiteral("<b>%1</b> - %2").arg(text(18000), text(18003)));
    t.endHead();
    for (int i = 0; i < rows; ++i) {
        QStringList cells;
        for (int slot = i; slot < DtmfCodeMax; slot += rows)
            cells << QStringLiteral("<b>%1</b>").arg(slot + 1) << esc(ShownDtmfCode(d.Codes[slot]));
        t.row(cells);
    }
}

} // namespace

QPageLayout ReportPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

std::unique_ptr<QTextDocument> BuildPrintReport(const Document& doc) {
    QString h = QStringLiteral("<html><body style=\"font-size:8pt\">");
    titleBlock(h, doc);
    channelTables(h, doc);
    optionTables(h, doc);
    keyTable(h, doc);
    dtmfTables(h, doc);
    h += QStringLiteral("</body></html>");

    auto report = std::make_unique<QTextDocument>();
    // Ligatures would turn "Off" into a glyph that a search for "Off" in the PDF misses; a
    // letter spacing other than zero (at least 1/64 pixel, the smallest step of the layout) makes
    // the text shaper leave them out.
    QFont font = report->defaultFont();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    report->setDefaultFont(font);
    // Column names break between words only; breaking "Lockout" anywhere would read badly.
    QTextOption wrap = report->defaultTextOption();
    wrap.setWrapMode(QTextOption::WordWrap);
    report->setDefaultTextOption(wrap);
    report->setHtml(h);
    report->setMetaInformation(QTextDocument::DocumentTitle,
                               LoadLangText(12000) + QStringLiteral(" - ") + doc.title());
    return report;
}

void PrintReport(const QTextDocument& report, QPagedPaintDevice* device) {
    if (!device) return;
    // A copy is laid out for the device, so the report can go to several devices in turn
    // (the preview repaints it whenever its page setup changes).
    const std::unique_ptr<QTextDocument> doc(report.clone());
    QPainter p(device);
    if (!p.isActive()) return;
    doc->documentLayout()->setPaintDevice(device);
    doc->setDocumentMargin(0);

    QFont footerFont = doc->defaultFont();
    footerFont.setPointSizeF(7);
    const QFontMetricsF fm(footerFont, device);
    const qreal width = device->width();
    const qreal bodyHeight = device->height() - 2 * fm.height();
    doc->setPageSize(QSizeF(width, bodyHeight));

    const QString title = doc->metaInformation(QTextDocument::DocumentTitle);
    const int pages = doc->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0) device->newPage();
        p.save();
        const QRectF page(0, i * bodyHeight, width, bodyHeight);
        p.translate(0, -page.top());
        p.setClipRect(page);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = page;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&p, ctx);
        p.restore();

        p.setFont(footerFont);
        p.setPen(Qt::black);
        const QRectF foot(0, bodyHeight, width, 2 * fm.height());
        p.drawText(foot, Qt::AlignLeft | Qt::AlignBottom, title);
        p.drawText(foot, Qt::AlignRight | Qt::AlignBottom,
                   QStringLiteral("%1 / %2").arg(i + 1).arg(pages));
    }
}

bool WritePdf(const Document& doc, const QString& path, QString* error) {
    // Fonts and drawing need the Gui application; a plain QCoreApplication would crash here.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (error)
            *error = QStringLiteral("%1: a PDF can only be drawn in a GUI application.").arg(path);
        return false;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(ReportPageLayout());
        pdf.setResolution(600);
        pdf.setCreator(LoadLangText(12000));
        const std::unique_ptr<QTextDocument> report = BuildPrintReport(doc);
        pdf.setTitle(report->metaInformation(QTextDocument::DocumentTitle));
        PrintReport(*report, &pdf);
    }
    return WriteFileAtomically(path, buffer.data(), error);
}
