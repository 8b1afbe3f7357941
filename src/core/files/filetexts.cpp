#include "filetexts.h"
#include "../lang/langtext.h"
#include "../model/recordcodec.h"

#include <QDir>

QString FileText(FileTextId id) {
    const QString t = LoadLangText(id);
    if (!t.isEmpty()) return t;
    switch (id) {
    case TxtNotRegular:
        return QStringLiteral("%1 is not a regular file.");
    case TxtDamagedRecords:
        return QStringLiteral("%1 holds damaged channel records: %2.");
    case TxtTooLargeChannelList:
        return QStringLiteral("%1 is too large for a channel list (%2 MB; the limit is %3 MB).");
    case TxtTooLargePlanTable:
        return QStringLiteral(
            "%1 is too large for a channel plan table (%2 MB; the limit is %3 MB).");
    case TxtFileRecordFault:
        return QStringLiteral("%1, %2: %3.");
    case TxtRecFileHead:
        return QStringLiteral("file head");
    case TxtRecChannelCount:
        return QStringLiteral("channel count");
    case TxtRecFunctions:
        return QStringLiteral("function settings");
    case TxtRecPublicChannel:
        return QStringLiteral("public channel");
    case TxtRecKeys:
        return QStringLiteral("key settings");
    case TxtRecDtmf:
        return QStringLiteral("DTMF record");
    case TxtRecToneTips:
        return QStringLiteral("tone tips");
    case TxtRecChannelEntry:
        return QStringLiteral("channel entry %1");
    case TxtFaultEndsEarly:
        return QStringLiteral("the file ends after %1 of %2 bytes");
    case TxtFileTooLong:
        return QStringLiteral("%1 is longer than the %2 bytes of a data file.");
    case TxtFaultModel:
        return QStringLiteral("the model is \"%1\", and this program reads %2 data");
    case TxtFaultVersion:
        return QStringLiteral("the version is \"%1\", not V followed by digits");
    case TxtFaultCount:
        return QStringLiteral("it counts %1 channels, and a data file holds 0 to 409");
    case TxtFaultCountryMode:
        return QStringLiteral("the country mode is %1, and the modes are 0, 1 and 2");
    case TxtRecLine:
        return QStringLiteral("line %1");
    case TxtFaultNotText:
        return QStringLiteral("it holds bytes that are no text: %1");
    }
    return QString();
}

QString DamagedFileText(const QString& path, const QString& record, const QString& fault) {
    // One pass over the pattern: a path or fault holding "%2" stays as it is.
    return FileText(TxtFileRecordFault).arg(QDir::toNativeSeparators(path), record, fault);
}

QString DataFileRecordAt(qint64 offset) {
    using namespace recordcodec;
    // The records in the order the file holds them; the channel list follows.
    const struct {
        int size;
        FileTextId name;
    } records[] = {
        {sizeOf<FileHeadRec>(), TxtRecFileHead}, {sizeOf<i16>(), TxtRecChannelCount},
        {sizeOf<FuncRec>(), TxtRecFunctions},    {sizeOf<CHInfoRec>(), TxtRecPublicChannel},
        {sizeOf<KeyRec>(), TxtRecKeys},          {sizeOf<DTMFRec>(), TxtRecDtmf},
        {sizeOf<ToneTipsRec>(), TxtRecToneTips},
    };
    qint64 start = 0;
    for (const auto& r : records) {
        if (offset < start + r.size) return FileText(r.name);
        start += r.size;
    }
    const qint64 entry = (offset - start) / sizeOf<CHInfoRec>() + 1;
    return FileText(TxtRecChannelEntry).arg(entry);
}
