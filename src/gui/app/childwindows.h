#pragma once

class frmMain;

// Tells the main window how to make each editor window (one line per window).
void RegisterChildWindows(frmMain& main);
