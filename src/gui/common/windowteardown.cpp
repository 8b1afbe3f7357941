#include "windowteardown.h"
#include "core/model/document.h"

#include <QAbstractItemView>
#include <QWidget>

void detachFromDocument(QWidget* window, const Document& doc) {
    QObject::disconnect(&doc, nullptr, window, nullptr);
    const QList<QObject*> children = window->findChildren<QObject*>();
    for (QObject* o : children) {
        QObject::disconnect(&doc, nullptr, o, nullptr);
        o->blockSignals(true);
    }
    for (auto* view : window->findChildren<QAbstractItemView*>()) {
        const QModelIndex current = view->currentIndex();
        if (view->indexWidget(current)) view->closePersistentEditor(current);
    }
}
