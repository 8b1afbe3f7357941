#pragma once

// Keeping top-level windows where they can be used.

class QWidget;

// Moves a shown top-level window so that its frame (title bar first) lies in the work area of a
// screen that exists: the one under its title bar, else the nearest. A window larger than that
// area is made smaller. Nothing changes for a minimised, maximised or full-screen window.
void keepFrameOnScreen(QWidget* window);
