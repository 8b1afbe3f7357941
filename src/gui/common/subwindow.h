#pragma once

class QWidget;

// Closes the window w sits in: its MDI subwindow inside the main window, or w itself when it
// stands alone (as in the tests), so that the close goes through the window's closeEvent once.
void closeHostWindow(QWidget* w);
