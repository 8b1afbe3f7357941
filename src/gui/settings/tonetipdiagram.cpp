#include "tonetipdiagram.h"

#include "core/lang/langtext.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
// Frequencies in tens of Hz: 256 is the full height.
constexpr qreal FullScale = 256.0;

int totalTime(const ToneTipRec& tip) {
    int t = 0;
    for (const ToneStepRec& s : tip.Step)
        if (s.Time > 0) t += s.Time;
    return t;
}
} // namespace

ToneTipDiagram::ToneTipDiagram(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picture1_0"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ToneTipDiagram::setTip(const ToneTipRec& tip) {
    if (tip == tip_) return;
    tip_ = tip;
    update();
}

QSize ToneTipDiagram::sizeHint() const {
    return {fontMetrics().averageCharWidth() * 60, fontMetrics().height() * 9};
}

QSize ToneTipDiagram::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 30, fontMetrics().height() * 5};
}

QRectF ToneTipDiagram::plotArea() const {
    const QFontMetricsF fm(font());
    const qreal margin = fm.averageCharWidth();
    // Below the bars: the tick marks, a line of tick labels and a line for the axis title.
    const qreal axis = fm.height() * 2 + margin;
    return QRectF(margin * 2, margin, width() - margin * 4, height() - margin - axis);
}

QVector<ToneTipDiagram::Bar> ToneTipDiagram::bars() const {
    QVector<Bar> out;
    const int t = totalTime(tip_);
    if (t < 1) return out;
    const QRectF area = plotArea();
    qreal x = area.left();
    for (int i = 1; i <= 14; ++i) {
        const ToneStepRec& s = tip_.Step[i - 1];
        if (s.Time <= 0) continue;
        const qreal w = s.Time * area.width() / t;
        const qreal h = std::clamp(s.Tone / FullScale, 0.0, 1.0) * area.height();
        out.append(
            {i, QRectF(x, area.bottom() - h, w, h), i % 2 ? QColor(Qt::red) : QColor(Qt::blue)});
        x += w;
    }
    return out;
}

QVector<QPair<int, qreal>> ToneTipDiagram::ticks() const {
    QVector<QPair<int, qreal>> out;
    const int totalMs = totalTime(tip_) * 10;
    if (totalMs < 1) return out;
    const QRectF area = plotArea();
    const QFontMetricsF fm(font());
    // As many ticks as labels of the widest value fit with room between them, at a step of 1,
    // 2 or 5 times a power of ten milliseconds.
    const qreal labelWidth = fm.horizontalAdvance(QString::number(totalMs)) * 2.0;
    const int most = std::max(1, static_cast<int>(area.width() / labelWidth));
    int step = 10;
    for (int scale = 10;; scale *= 10) {
        if (totalMs / scale <= most) {
            step = scale;
            break;
        }
        if (totalMs / (2 * scale) <= most) {
            step = 2 * scale;
            break;
        }
        if (totalMs / (5 * scale) <= most) {
            step = 5 * scale;
            break;
        }
    }
    for (int ms = 0; ms <= totalMs; ms += step)
        out.append({ms, area.left() + ms * area.width() / totalMs});
    return out;
}

void ToneTipDiagram::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const QRectF area = plotArea();
    for (const Bar& b : bars())
        p.fillRect(b.rect, b.colour);

    // The axis: a base line, ticks with their times, the title.
    const QFontMetricsF fm(font());
    p.setPen(QPen(palette().text().color(), 0));
    p.drawLine(QPointF(area.left(), area.bottom()), QPointF(area.right(), area.bottom()));
    const qreal tick = fm.averageCharWidth() / 2;
    const auto marks = ticks();
    for (qsizetype k = 0; k < marks.size(); ++k) {
        const auto& [ms, x] = marks[k];
        p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + tick));
        const QString label = QString::number(ms);
        const qreal w = fm.horizontalAdvance(label);
        // The first and last labels stay inside the widget.
        const qreal left = std::clamp(x - w / 2, 0.0, width() - w);
        p.drawText(QPointF(left, area.bottom() + tick + fm.ascent()), label);
    }
    const QString title = LoadLangText(29005);
    p.drawText(QRectF(0, area.bottom() + tick + fm.height(), width(), fm.height()),
               Qt::AlignHCenter | Qt::AlignTop, title);
}
