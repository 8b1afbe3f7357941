#pragma once

// The bar diagram of a tone tip (Picture1 of the tone-tips window): one bar per note that
// lasts, its width proportional to the note's duration so that the bars fill the width, its
// height proportional to the frequency (2560 Hz = full height), red for odd and blue for even
// note numbers, over a time axis labelled in milliseconds. Drawn with QPainter in logical
// coordinates, so it scales with the window and stays sharp at any screen scale factor.

#include "core/model/records.h"

#include <QColor>
#include <QRectF>
#include <QVector>
#include <QWidget>

class ToneTipDiagram : public QWidget {
    Q_OBJECT
public:
    explicit ToneTipDiagram(QWidget* parent = nullptr);

    void setTip(const ToneTipRec& tip);
    const ToneTipRec& tip() const { return tip_; }

    struct Bar {
        int note; // 1 to 14
        QRectF rect;
        QColor colour;
    };
    // The bars as they are drawn at the widget's present size.
    QVector<Bar> bars() const;
    // The area the bars fill: full width for all notes, full height for 2560 Hz.
    QRectF plotArea() const;
    // The labelled ticks of the time axis: (milliseconds, x).
    QVector<QPair<int, qreal>> ticks() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    ToneTipRec tip_;
};
