#pragma once

// The status bar's message: one at a time, the newest replacing the last. A text longer than
// the room is cut with "…" and shown whole as the tooltip, never cut off silently.

#include <QLabel>

class StatusLine : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    void setMessage(const QString& text);
    QString message() const { return full_; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void elide();
    QString full_;
};
