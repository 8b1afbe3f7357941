#pragma once

class QWidget;

// Lengths in twips (1440 to the inch), as the stored window geometry and the layouts give
// them, to pixels of the widget's screen and back.
int twipsToPixelsX(const QWidget* w, int twips);
int twipsToPixelsY(const QWidget* w, int twips);
int pixelsToTwipsX(const QWidget* w, int px);
int pixelsToTwipsY(const QWidget* w, int px);
