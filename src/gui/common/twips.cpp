#include "twips.h"

#include <QWidget>

int twipsToPixelsX(const QWidget* w, int twips) {
    return qRound(twips * w->logicalDpiX() / 1440.0);
}
int twipsToPixelsY(const QWidget* w, int twips) {
    return qRound(twips * w->logicalDpiY() / 1440.0);
}
int pixelsToTwipsX(const QWidget* w, int px) {
    return qRound(px * 1440.0 / w->logicalDpiX());
}
int pixelsToTwipsY(const QWidget* w, int px) {
    return qRound(px * 1440.0 / w->logicalDpiY());
}
