#include "savedatafile.h"
#include "../lang/prompter.h"
#include "../model/document.h"
#include "datafile.h"

bool SaveDataFile(Document& doc) {
    // The transfer copy is what a save writes, but it also marks the document as unchanged:
    // after a failed write it must go back to what it was.
    const RadioDataRec oldData = doc.FileRadioData;
    const ChannelList oldChannels = doc.FileCHInfo;
    doc.ToFileCopy();
    QString why;
    if (!WriteFileAtomically(doc.CurFileName, EncodeDataFile(doc.FileRadioData, doc.FileCHInfo),
                             &why)) {
        doc.FileRadioData = oldData;
        doc.FileCHInfo = oldChannels;
        doc.prompter().message(9002, Prompter::Buttons::Ok, Prompter::Icon::Critical, why);
        return false;
    }
    doc.IsNewFile = false;
    doc.NotifyStateChanged();
    return true;
}
