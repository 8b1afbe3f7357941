#include "documenttitles.h"
#include "../files/backups.h"
#include "../lang/langtext.h"
#include "../link/session.h"
#include "../model/document.h"

#include <QFileInfo>

namespace {
enum TitleText {
    TxtRadioReadTitle = 9830, // %1 date and time
    TxtBackupTitle = 9831,    // %1 date and time of the read
    TxtBackupFileTitle = 9832 // %1 file name
};

QString text(TitleText id, const QString& fallback) {
    const QString t = LoadLangText(id);
    return t.isEmpty() ? fallback : t;
}

QString stamp(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}
} // namespace

QString RadioReadTitle(const QDateTime& when) {
    return text(TxtRadioReadTitle, QStringLiteral("read from the radio %1")).arg(stamp(when));
}

QString BackupTitle(const QString& path) {
    const QDateTime when = BackupStore::timeOfName(QFileInfo(path).fileName());
    if (when.isValid())
        return text(TxtBackupTitle, QStringLiteral("backup of %1")).arg(stamp(when));
    return text(TxtBackupFileTitle, QStringLiteral("backup %1")).arg(QFileInfo(path).fileName());
}

void AdoptRadioRead(Document& doc, const LinkSession& session, const QDateTime& when) {
    AdoptedImage image;
    session.ReadImage(image.data, image.channels);
    image.title = RadioReadTitle(when);
    image.state = AdoptedImage::State::Unsaved;
    doc.adoptImage(image);
}
