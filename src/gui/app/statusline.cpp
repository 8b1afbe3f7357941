#include "statusline.h"

#include <QFontMetrics>

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
    // The bar gives the message what room is left; the message never widens the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextFormat(Qt::PlainText);
}

void StatusLine::setMessage(const QString& text) {
    full_ = text;
    setToolTip(text);
    elide();
}

QSize StatusLine::minimumSizeHint() const {
    return QSize(0, QLabel::minimumSizeHint().height());
}

QSize StatusLine::sizeHint() const {
    return QSize(fontMetrics().horizontalAdvance(full_), QLabel::sizeHint().height());
}

void StatusLine::resizeEvent(QResizeEvent* e) {
    QLabel::resizeEvent(e);
    elide();
}

void StatusLine::elide() {
    // One line: the first line break ends what the bar shows; the tooltip has all of it.
    QString line = full_;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const int room = contentsRect().width();
    setText(room > 0 ? fontMetrics().elidedText(line, Qt::ElideRight, room) : line);
}
