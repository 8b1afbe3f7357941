#include "savedatafile.h"
#include "../app/prompter.h"
#include "../model/document.h"
#include "datafile.h"

#include <QSaveFile>

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    // Writing in place would leave a half-written file behind after an error.
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
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
    doc.IsNewFile = 0;
    doc.NotifyStateChanged();
    return true;
}
