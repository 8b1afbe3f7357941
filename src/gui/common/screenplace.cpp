#include "screenplace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

void keepFrameOnScreen(QWidget* window) {
    if (!window || window->isMinimized() || window->isMaximized() || window->isFullScreen()) return;
    QRect frame = window->frameGeometry();
    // The screen under the middle of the title bar, else the nearest one to it.
    const QPoint title(frame.center().x(), frame.top() + 1);
    QScreen* screen = QGuiApplication::screenAt(title);
    if (!screen) {
        int best = -1;
        for (QScreen* s : QGuiApplication::screens()) {
            const QRect a = s->availableGeometry();
            const int dx = std::max({a.left() - title.x(), 0, title.x() - a.right()});
            const int dy = std::max({a.top() - title.y(), 0, title.y() - a.bottom()});
            if (best < 0 || dx + dy < best) {
                best = dx + dy;
                screen = s;
            }
        }
    }
    if (!screen) return;
    const QRect avail = screen->availableGeometry();
    // The frame around the client area: what the window manager added.
    const QMargins around(
        window->geometry().left() - frame.left(), window->geometry().top() - frame.top(),
        frame.right() - window->geometry().right(), frame.bottom() - window->geometry().bottom());
    if (frame.width() > avail.width() || frame.height() > avail.height()) {
        const QSize client(std::min(frame.width(), avail.width()) - around.left() - around.right(),
                           std::min(frame.height(), avail.height()) - around.top() -
                               around.bottom());
        window->resize(client.expandedTo(window->minimumSize()));
        frame = window->frameGeometry();
    }
    QPoint to = frame.topLeft();
    to.setX(std::clamp(to.x(), avail.left(),
                       std::max(avail.left(), avail.right() + 1 - frame.width())));
    to.setY(std::clamp(to.y(), avail.top(),
                       std::max(avail.top(), avail.bottom() + 1 - frame.height())));
    if (to != frame.topLeft()) window->move(to);
}
