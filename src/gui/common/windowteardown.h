#pragma once

class Document;
class QWidget;

// The first thing the destructor of a window that listens to the document does. From there
// on the window's members start to die, so nothing may reach them any more: no signal of the
// document reaches the window or any of its children, no signal of a child (a line edit that
// finishes editing as it loses the focus, a delegate that commits its editor) reaches
// anything, and an open cell editor is closed without storing. What the user meant to keep
// was stored when the window was asked to close (closeEvent); the document outlives every
// window.
void detachFromDocument(QWidget* window, const Document& doc);
