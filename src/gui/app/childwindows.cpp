#include "childwindows.h"
#include "frmmain.h"

// Each editor window registers here under its object name, for example
//   main.registerChildFactory(QStringLiteral("frmCommChInfo"),
//                             [&main] { return new frmCommChInfo(main.document(), &main); });
// A window without an entry is not offered yet: its menu item and tree node open nothing.
void RegisterChildWindows(frmMain& main) {
    (void)main;
}
