#include "filetexts.h"
#include "../lang/langtext.h"

QString FileText(FileTextId id) {
    const QString t = LoadLangText(id);
    if (!t.isEmpty()) return t;
    switch (id) {
    case TxtNotRegular:
        return QStringLiteral("%1 is not a regular file.");
    case TxtWrongSize:
        return QStringLiteral("%1 is damaged: it holds %2 bytes, a data file holds %3.");
    case TxtDamagedRecords:
        return QStringLiteral("%1 holds damaged channel records: %2.");
    case TxtBadCount:
        return QStringLiteral("%1 is damaged: it counts %2 channels, a data file holds 0 to 409.");
    case TxtTooLargeChannelList:
        return QStringLiteral("%1 is too large for a channel list (%2 MB).");
    case TxtTooLargePlanTable:
        return QStringLiteral("%1 is too large for a channel plan table (%2 MB).");
    }
    return QString();
}
