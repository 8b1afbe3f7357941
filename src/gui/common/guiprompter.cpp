#include "guiprompter.h"
#include "core/app/appstate.h"
#include "core/lang/langtext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QMessageBox::Icon boxIcon(Prompter::Icon icon) {
    switch (icon) {
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Prompter::Buttons buttons) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompter::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Prompter::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The control that had the focus and its parents up to its window: after a message box the
// focus goes back to the first of them that still exists, so the next keys act where the user
// was typing, not on whatever control comes first in the window (a table's cell editor is
// gone by then; its table takes the focus instead).
class FocusReturn {
public:
    FocusReturn() {
        for (QWidget* w = QApplication::focusWidget(); w && !w->isWindow(); w = w->parentWidget())
            chain_ << w;
    }
    void restore() const {
        if (QWidget* w = target(); w && !w->hasFocus()) w->setFocus(Qt::OtherFocusReason);
    }
    // Once now; and when the control closes right after the box (a table's cell editor that
    // has just stored its value) and takes the focus with it, once more to its nearest parent.
    void restoreNowAndLater() const {
        restore();
        QWidget* first = chain_.isEmpty() ? nullptr : chain_.first().data();
        if (!first) return;
        const FocusReturn copy = *this;
        // A child of the control: it goes with the control when the program ends first.
        // destroyed() comes before the children die, so the watch still sees it.
        auto* watch = new QObject(first);
        QObject::connect(first, &QObject::destroyed, watch,
                         [copy] { QTimer::singleShot(0, [copy] { copy.restore(); }); });
        QTimer::singleShot(200, watch, &QObject::deleteLater);
    }

private:
    QWidget* target() const {
        for (const QPointer<QWidget>& w : chain_)
            if (w && w->isVisible() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus) return w;
        return nullptr;
    }
    QList<QPointer<QWidget>> chain_;
};

// Window managers cut a title that is wider than its box: the box is made wide enough.
void fitTitle(QMessageBox& box, const QString& title) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    // Room for the title bar's icon and buttons beside the text.
    const int width = box.fontMetrics().horizontalAdvance(title) + 160;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// The answer a standard button gives; a box closed without a button counts as the safe answer.
Prompter::Answer answerOf(int button, Prompter::Buttons buttons) {
    switch (button) {
    case QMessageBox::Cancel:
        return Prompter::Answer::Cancel;
    case QMessageBox::Yes:
        return Prompter::Answer::Yes;
    case QMessageBox::No:
        return Prompter::Answer::No;
    case QMessageBox::Retry:
        return Prompter::Answer::Retry;
    case QMessageBox::Ok:
        return Prompter::Answer::Ok;
    default:
        return Prompter::safeAnswer(buttons);
    }
}

void captionFromLanguage(QMessageBox& box, QMessageBox::StandardButton which, int id) {
    if (QAbstractButton* b = box.button(which)) {
        const QString t = LoadLangText(id);
        if (!t.isEmpty()) b->setText(t);
    }
}
} // namespace

Prompter::Answer GuiPrompter::runList(QWidget* parent, const QString& title,
                                      const QStringList& lines, Buttons buttons) {
    // A report of many lines (a paste of 200 rows) would make a box taller than the screen,
    // its buttons out of reach: its first lines stay above a list that scrolls.
    QDialog box(parent);
    box.setObjectName(QStringLiteral("MsgBox"));
    box.setWindowTitle(title);
    auto* head = new QLabel(lines.mid(0, ListHeadLines).join('\n'), &box);
    head->setObjectName(QStringLiteral("MsgBoxText"));
    head->setWordWrap(true);
    head->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* list = new QPlainTextEdit(lines.mid(ListHeadLines).join('\n'), &box);
    list->setObjectName(QStringLiteral("MsgBoxList"));
    list->setAccessibleName(lines.value(0));
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* bar =
        new QDialogButtonBox(QDialogButtonBox::StandardButtons(int(boxButtons(buttons))), &box);
    if (QPushButton* ok = bar->button(QDialogButtonBox::Ok)) {
        const QString t = LoadLangText(9017);
        if (!t.isEmpty()) ok->setText(t);
    }
    if (QPushButton* cancel = bar->button(QDialogButtonBox::Cancel)) {
        const QString t = LoadLangText(9018);
        if (!t.isEmpty()) cancel->setText(t);
    }
    Answer answer = safeAnswer(buttons);
    QObject::connect(bar, &QDialogButtonBox::clicked, &box, [&](QAbstractButton* b) {
        // The button box's standard buttons have the message box's values.
        answer = answerOf(int(bar->standardButton(b)), buttons);
        box.accept();
    });
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(head);
    layout->addWidget(list, 1);
    layout->addWidget(bar);
    // At most two thirds of the screen high, whatever the number of lines.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int lineHeight = list->fontMetrics().lineSpacing();
    const int wanted = lineHeight * int(lines.size() + 6) + head->sizeHint().height();
    box.resize(std::min(avail.width() * 2 / 3, 720), std::min(avail.height() * 2 / 3, wanted));
    const FocusReturn focus;
    box.exec();
    focus.restoreNowAndLater();
    return answer;
}

Prompter::Answer GuiPrompter::ask(const QString& text, Buttons buttons, Icon icon) {
    return askTitled(LoadLangText(12000), text, buttons, icon);
}

Prompter::Answer GuiPrompter::askTitled(const QString& title, const QString& text, Buttons buttons,
                                        Icon icon) {
    return run(title, text, buttons, icon, QString(), nullptr);
}

Prompter::Answer GuiPrompter::askWithCheck(const QString& text, Buttons buttons, Icon icon,
                                           const QString& checkText, bool* checked) {
    return run(LoadLangText(12000), text, buttons, icon, checkText, checked);
}

Prompter::Answer GuiPrompter::run(const QString& title, const QString& text, Buttons buttons,
                                  Icon icon, const QString& checkText, bool* checked) {
    // Over the modal window that asks (the progress window of a read), not behind it.
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = parent_ ? parent_ : QApplication::activeWindow();
    const QStringList lines = QString(text).replace(QLatin1String("\r\n"), "\n").split('\n');
    if (buttons == Buttons::Ok && recorder_) recorder_(lines.join('\n'));
    if (lines.size() > LongTextLines && !checked) return runList(parent, title, lines, buttons);
    QMessageBox box(boxIcon(icon), title, QString(text).replace(QLatin1String("\r\n"), "\n"),
                    boxButtons(buttons), parent);
    box.setObjectName(QStringLiteral("MsgBox"));
    fitTitle(box, title);
    const FocusReturn focus;
    captionFromLanguage(box, QMessageBox::Ok, 9017);
    captionFromLanguage(box, QMessageBox::Cancel, 9018);
    // Escape answers Cancel where there is one, else the only button (an OK box).
    if (box.button(QMessageBox::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    else if (buttons == Buttons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    QCheckBox* check = nullptr;
    if (checked) {
        check = new QCheckBox(checkText, &box);
        check->setObjectName(QStringLiteral("MsgBoxCheck"));
        check->setAccessibleName(checkText);
        check->setChecked(*checked);
        box.setCheckBox(check);
    }
    const int result = box.exec();
    focus.restoreNowAndLater();
    if (check) *checked = check->isChecked();
    return answerOf(result, buttons);
}
