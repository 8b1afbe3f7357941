#pragma once

#include <QPushButton>

// CommandMove: the thin button at the right edge of the tree panel that drags the panel's
// width. It only reports how far the pointer moved while held; frmMain decides whether the
// panel may take that width.
class TreeSplitter : public QPushButton {
    Q_OBJECT
public:
    explicit TreeSplitter(QWidget* parent = nullptr);
    bool moveTree() const { return moveTree_; }

signals:
    void dragged(int dx);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool moveTree_ = false;
    int pressX_ = 0;
};
