#include "channelrowcommands.h"
#include "channelgridview.h"
#include "frmcommchinfo.h"
#include "frmeditselected.h"
#include "frmfillfrequencies.h"

#include "core/files/channelsheet.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/model/channelrows.h"
#include "core/model/channelrules.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/documenthistory.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QString kMime = QLatin1String(ChannelClipMimeType);

// "row EU 5" or "3 rows".
TextNote rowsNoun(int group, int mode, int first, int last) {
    if (first == last) return {9907, {ChannelSlotName(FirstCHOfGroup(group, mode) + first, mode)}};
    return {9908, {QString::number(last - first + 1)}};
}

// "channel EU 5" or "3 channels".
TextNote channelsNoun(int group, int mode, int first, int count) {
    if (count == 1) return {9891, {ChannelSlotName(FirstCHOfGroup(group, mode) + first, mode)}};
    return {9892, {QString::number(count)}};
}

RowCommand ruleOf(ChannelRowCommands::Command c) {
    using C = ChannelRowCommands::Command;
    switch (c) {
    case C::Cut:
        return RowCommand::Cut;
    case C::Copy:
        return RowCommand::Copy;
    case C::Paste:
        return RowCommand::Paste;
    case C::Insert:
        return RowCommand::Insert;
    case C::Delete:
        return RowCommand::Delete;
    case C::MoveUp:
        return RowCommand::MoveUp;
    case C::MoveDown:
        return RowCommand::MoveDown;
    case C::SortGroup:
        return RowCommand::Sort;
    case C::FillFrequencies:
        return RowCommand::Fill;
    case C::EditSelected:
        return RowCommand::Edit;
    }
    return RowCommand::Copy;
}

} // namespace

ChannelRowCommands::ChannelRowCommands(Document& doc, Prompter& prompter, TableFinder table,
                                       QObject* parent)
    : QObject(parent), doc_(doc), prompter_(prompter), table_(std::move(table)) {
    if (QClipboard* cb = QGuiApplication::clipboard()) {
        connect(cb, &QClipboard::dataChanged, this, [this] {
            checkClipboard();
            emit stateChanged();
        });
    }
    checkClipboard();
    for (auto signal : {&Document::documentReplaced, &Document::groupSettingsChanged})
        connect(&doc_, signal, this, &ChannelRowCommands::stateChanged);
    connect(&doc_, &Document::channelChanged, this, &ChannelRowCommands::stateChanged);
}

void ChannelRowCommands::attach(frmCommChInfo* table, const QList<QAction*>& actions) {
    QWidget* grid = table->grid();
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    grid->addActions(actions);
    connect(table, &frmCommChInfo::rowSelectionChanged, this, &ChannelRowCommands::stateChanged);
    connect(table, &QObject::destroyed, this, &ChannelRowCommands::stateChanged);
}

void ChannelRowCommands::checkClipboard() {
    const QClipboard* cb = QGuiApplication::clipboard();
    const QMimeData* md = cb ? cb->mimeData() : nullptr;
    clipboardHasChannels_ =
        md && (md->hasFormat(kMime) || (md->hasText() && LooksLikeChannelSheet(md->text())));
}

bool ChannelRowCommands::canRun(Command c) const {
    const frmCommChInfo* t = table_ ? table_() : nullptr;
    int first = 0, last = 0;
    if (!t || !t->selectedRows(&first, &last)) return false;
    // Rows next to each other in a sorted view are not the group's neighbours: no command
    // acts on rows the user did not mean. Copy takes the rows as shown.
    if (t->grid()->viewSorted()) return c == Command::Copy;
    const int mode = doc_.CountryMode;
    const int group = t->shownGroup();
    const int size = GroupSize(group, mode);
    // Which commands apply to the group is the rule source's; what the selection allows is
    // checked here.
    if (!rowCommandAccess(doc_, group, ruleOf(c)).allowed) return false;
    switch (c) {
    case Command::Copy:
    case Command::Cut:
    case Command::Delete:
        return true;
    case Command::Paste:
        return clipboardHasChannels_;
    case Command::Insert: {
        // Only where the rows pushed past the group's end are empty.
        const int n = last - first + 1;
        if (n > size) return false;
        for (int r = size - n + 1; r <= size; ++r)
            if (doc_.FindChannel(FirstCHOfGroup(group, mode) + r) >= 0) return false;
        return true;
    }
    case Command::MoveUp:
        return first > 1;
    case Command::MoveDown:
        return last < size;
    case Command::SortGroup:
    case Command::FillFrequencies:
    case Command::EditSelected:
        return true;
    }
    return false;
}

QString ChannelRowCommands::whyNot(Command c) const {
    const frmCommChInfo* t = table_ ? table_() : nullptr;
    if (t && t->grid()->viewSorted() && c != Command::Copy) return LoadLangText(27615);
    return QString();
}

ChannelClip ChannelRowCommands::copyAsShown(const frmCommChInfo& t) const {
    // The channels of the selection in the order the sorted view shows them; the empty rows
    // (at the end of a sorted view) have no place in that order.
    const int group = t.shownGroup();
    ChannelClip clip;
    clip.mode = doc_.CountryMode;
    clip.group = group;
    for (const int row : t.selectedRowsAsShown()) {
        const ChannelClip one = CopyRows(doc_, group, row, row);
        if (one.rows.isEmpty() || !one.rows.first()) continue;
        if (clip.rows.isEmpty()) clip.firstRow = row;
        clip.rows.append(one.rows.first());
    }
    return clip;
}

void ChannelRowCommands::putOnClipboard(const ChannelClip& clip) const {
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) return;
    auto* md = new QMimeData;
    md->setData(kMime, EncodeChannelClip(clip));
    // Spreadsheets take the text: a header and the values of the channel CSV file.
    md->setText(ChannelSheetText(clip));
    cb->setMimeData(md);
}

RowCommandReport ChannelRowCommands::paste(int group, int at, int* rows) {
    const QClipboard* cb = QGuiApplication::clipboard();
    const QMimeData* md = cb ? cb->mimeData() : nullptr;
    RowCommandReport r;
    if (md && md->hasFormat(kMime)) {
        if (const auto clip = DecodeChannelClip(md->data(kMime))) {
            *rows = static_cast<int>(clip->rows.size());
            return PasteRows(doc_, group, at, *clip);
        }
    }
    if (md && md->hasText() && LooksLikeChannelSheet(md->text())) {
        // The report counts the data rows, never the header.
        const SheetPasteReport sheet = PasteChannelSheet(doc_, group, at, md->text());
        *rows = sheet.dataRows;
        return sheet.rows;
    }
    *rows = 0;
    r.refusal = {9911, {}};
    return r;
}

void ChannelRowCommands::run(Command c) {
    if (!canRun(c)) return;
    if (c == Command::SortGroup) {
        const frmCommChInfo* t = table_();
        const QString name = GroupName(t->shownGroup(), doc_.CountryMode);
        const Prompter::Answer a =
            prompter_.ask(LoadLangText(14988).replace(QLatin1String("%1"), name),
                          Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
        if (a != Prompter::Answer::Cancel) sortGroup(a == Prompter::Answer::No);
        return;
    }
    if (c == Command::EditSelected) {
        int first = 0, last = 0, selected = 0;
        if (table_()->selectedRows(&first, &last)) {
            const int base = FirstCHOfGroup(table_()->shownGroup(), doc_.CountryMode);
            for (int row = first; row <= last; ++row)
                if (doc_.Channel(base + row)) ++selected;
        }
        FrmEditSelected dialog(doc_, selected, table_());
        if (dialog.exec() == QDialog::Accepted) editSelected(dialog.values());
        return;
    }
    if (c == Command::FillFrequencies) {
        FrmFillFrequencies dialog(doc_, table_());
        if (dialog.exec() == QDialog::Accepted) fillFrequencies(dialog.start(), dialog.stepKhz());
        return;
    }
    frmCommChInfo* t = table_();
    // What is still being typed is its own step, before the command's.
    t->commitEdits();
    doc_.history().flush();
    int first = 0, last = 0;
    if (!t->selectedRows(&first, &last)) return;
    const int group = t->shownGroup();
    const int mode = doc_.CountryMode;
    const int size = GroupSize(group, mode);
    const int n = last - first + 1;

    RowCommandReport r;
    StepCaption caption;
    int selFirst = first, selLast = last;
    switch (c) {
    case Command::Copy:
        putOnClipboard(t->grid()->viewSorted() ? copyAsShown(*t)
                                               : CopyRows(doc_, group, first, last));
        return;
    case Command::Cut: {
        const ChannelClip clip = CopyRows(doc_, group, first, last);
        caption = {{9899, {}},
                   clip.channelCount() > 0 ? channelsNoun(group, mode, first, clip.channelCount())
                                           : rowsNoun(group, mode, first, last)};
        r = DeleteRows(doc_, group, first, last);
        if (!r.refused()) putOnClipboard(clip);
        selLast = first;
        break;
    }
    case Command::Paste: {
        int rows = 0;
        r = paste(group, first, &rows);
        const int count = std::max(rows, 1);
        caption = {{9900, {}}, channelsNoun(group, mode, first, count)};
        selLast = std::min(first + count - 1, size);
        break;
    }
    case Command::Insert:
        caption = {{9901, {}}, n == 1 ? TextNote{9902, {}} : TextNote{9903, {QString::number(n)}}};
        r = InsertRows(doc_, group, first, n);
        break;
    case Command::Delete:
        caption = {{9904, {}}, rowsNoun(group, mode, first, last)};
        r = DeleteRows(doc_, group, first, last);
        selLast = first;
        break;
    case Command::SortGroup:
    case Command::FillFrequencies:
    case Command::EditSelected:
        return; // run above, after their questions
    case Command::MoveUp:
    case Command::MoveDown: {
        const int delta = c == Command::MoveUp ? -1 : 1;
        caption = {{c == Command::MoveUp ? 9905 : 9906, {}}, rowsNoun(group, mode, first, last)};
        r = MoveRows(doc_, group, first, last, delta);
        if (!r.refused()) {
            selFirst += delta;
            selLast += delta;
        }
        break;
    }
    }
    doc_.history().commit(caption);
    // The table may have been closed by a message's side effects; look it up again.
    if (frmCommChInfo* now = table_(); now == t) t->selectRows(selFirst, selLast);
    tell(r, caption);
    emit stateChanged();
}

void ChannelRowCommands::runStep(const StepCaption& caption, int selFirst, int selLast,
                                 const std::function<RowCommandReport(int)>& command) {
    frmCommChInfo* t = table_ ? table_() : nullptr;
    if (!t) return;
    t->commitEdits();
    doc_.history().flush();
    const RowCommandReport r = command(t->shownGroup());
    doc_.history().commit(caption);
    if (frmCommChInfo* now = table_(); now == t) t->selectRows(selFirst, selLast);
    tell(r, caption);
    emit stateChanged();
}

void ChannelRowCommands::sortGroup(bool descending) {
    if (!canRun(Command::SortGroup)) return;
    const frmCommChInfo* t = table_();
    const int group = t->shownGroup();
    const StepCaption caption{{14987, {GroupName(group, doc_.CountryMode)}}, {}};
    runStep(caption, 1, GroupSize(group, doc_.CountryMode),
            [this, descending](int g) { return SortGroupRows(doc_, g, descending); });
}

void ChannelRowCommands::fillFrequencies(double startMhz, double stepKhz) {
    if (!canRun(Command::FillFrequencies)) return;
    int first = 0, last = 0;
    table_()->selectedRows(&first, &last);
    const StepCaption caption{{14991, {QString::number(last - first + 1)}}, {}};
    runStep(caption, first, last, [=, this](int g) {
        return FillFrequencies(doc_, g, first, last, startMhz, stepKhz / 1000.0);
    });
}

void ChannelRowCommands::editSelected(const QList<FieldValue>& values) {
    if (values.isEmpty() || !canRun(Command::EditSelected)) return;
    int first = 0, last = 0;
    table_()->selectedRows(&first, &last);
    const StepCaption caption{{14996, {QString::number(last - first + 1)}}, {}};
    runStep(caption, first, last,
            [=, this](int g) { return EditRows(doc_, g, first, last, values); });
}

void ChannelRowCommands::tell(const RowCommandReport& r, const StepCaption& caption) const {
    if (r.refused()) {
        prompter_.ask(LoadLangText(9909).replace(QLatin1String("%1"), r.refusal.text()),
                      Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    if (r.notes.isEmpty() && r.remarks.isEmpty()) return;
    const QString head = LoadLangText(9910).replace(QLatin1String("%1"), caption.text());
    prompter_.ask(head + QLatin1Char('\n') + r.summary() + QLatin1Char('\n') +
                      r.lines().join(QLatin1Char('\n')),
                  Prompter::Buttons::Ok, Prompter::Icon::Information);
}
