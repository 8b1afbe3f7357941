#include "savedatafile.h"
#include "../lang/prompter.h"
#include "../model/document.h"
#include "datafile.h"

#include <QSaveFile>

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile f(path);
    // Writing in place would leave a half-written file behind after an error.
    f.setDirectWriteFallback(false);
    bool ok = f.open(QIODevice::WriteOnly);
    if (ok && f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        ok = false;
    }
    ok = ok && f.commit();
    if (!ok && error) *error = f.errorString();
    return ok;
}

bool SaveDataFile(Document& doc) {
    // The transfer copy is what a save writes, but it also marks the document as unchanged:
    // after a failed write it must go back to what it was.
    const RadioDataRec oldData = doc.FileRadioData;
    const ChannelList oldChannels = doc.FileCHInfo;
    doc.ToFileCopy();
    if (!WriteFileAtomically(doc.CurFileName, EncodeDataFile(doc.FileRadioData, doc.FileCHInfo))) {
        doc.FileRadioData = oldData;
        doc.FileCHInfo = oldChannels;
        doc.prompter().message(9002, Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return false;
    }
    doc.IsNewFile = false;
    doc.NotifyStateChanged();
    return true;
}
