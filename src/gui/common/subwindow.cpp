#include "subwindow.h"

#include <QMdiSubWindow>

void closeHostWindow(QWidget* w) {
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(p)) {
            sub->close();
            return;
        }
    w->close();
}
