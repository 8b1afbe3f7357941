#include "childwindows.h"
#include "channels/frmchinfoedit.h"
#include "channels/frmcommchinfo.h"
#include "frmmain.h"
#include "settings/frmdtmf.h"
#include "settings/frmkey.h"
#include "settings/frmoptfeatures.h"
#include "settings/frmradioinfo.h"
#include "settings/frmtonetips.h"

// Each editor window registers here under its object name. A window without an entry is not
// offered yet: its menu item and tree node open nothing.
void RegisterChildWindows(frmMain& main) {
    main.registerChildFactory(QStringLiteral("frmCommChInfo"), [&main]() -> QWidget* {
        auto* w = new frmCommChInfo(main.document(), &main);
        // The ">>" cell opens the channel edit dialog (or brings the open one forward).
        QObject::connect(w, &frmCommChInfo::requestEditDialog, &main,
                         [&main] { main.ShowChildForm(QStringLiteral("FrmCHInfoEdit")); });
        main.attachChannelTable(w);
        return w;
    });
    main.registerChildFactory(QStringLiteral("FrmCHInfoEdit"), [&main]() -> QWidget* {
        return new FrmCHInfoEdit(main.document(), &main);
    });
    // The radio-wide settings windows.
    main.registerChildFactory(QStringLiteral("FrmOptFeatures"), [&main]() -> QWidget* {
        auto* w = new FrmOptFeatures(main.document(), &main);
        QObject::connect(w, &FrmOptFeatures::statusNote, &main,
                         [&main](const QString& text) { main.showStatusMessage(text); });
        return w;
    });
    main.registerChildFactory(QStringLiteral("FrmDTMF"), [&main]() -> QWidget* {
        return new FrmDTMF(main.document(), &main);
    });
    main.registerChildFactory(QStringLiteral("FrmKey"),
                              [&main]() -> QWidget* { return new FrmKey(main.document(), &main); });
    main.registerChildFactory(QStringLiteral("FrmRadioInfo"), [&main]() -> QWidget* {
        return new FrmRadioInfo(main.document(), &main);
    });
    main.registerChildFactory(QStringLiteral("FrmToneTips"), [&main]() -> QWidget* {
        auto* w = new FrmToneTips(main.document(), &main);
        QObject::connect(w, &FrmToneTips::statusNote, &main,
                         [&main](const QString& text) { main.showStatusMessage(text); });
        return w;
    });
}
