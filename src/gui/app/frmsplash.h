#pragma once

#include "core/lang/langtext.h"

#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

// The splash window: the picture of the current language for two seconds, or until it is
// clicked; then it opens the main window (once) and closes.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    // openMain runs exactly once, from the timer or from a click, whichever comes first.
    explicit frmSplash(std::function<void()> openMain, QWidget* parent = nullptr);
    // The picture file for a language: StartE.jpg for 1, StartC.jpg for 2, none otherwise.
    static QString pictureFor(Language language);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void finish();

    std::function<void()> openMain_;
    QLabel* picLogo_;
    QTimer* Timer1_;
    bool done_ = false;
};
