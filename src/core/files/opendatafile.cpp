#include "opendatafile.h"
#include "../lang/prompter.h"
#include "../model/channelcheck.h"
#include "../model/country.h"
#include "../model/document.h"
#include "../model/documenthistory.h"
#include "../model/helpers.h"
#include "../model/recordcodec.h"
#include "../model/version.h"
#include "datafile.h"
#include "fileio.h"
#include "filetexts.h"

#include <QDir>

namespace {

constexpr int HeadSize = recordcodec::sizeOf<FileHeadRec>();
constexpr int TxtCountryModeError = 9045;

OpenResult refuse(Document& doc, const QString& detail, int id = 9002) {
    doc.prompter().message(id, Prompter::Buttons::Ok, Prompter::Icon::Critical, detail);
    return OpenResult::Refused;
}

QString wrongSize(const QString& path, qint64 size) {
    // One byte more than a data file was read to tell a longer file.
    if (size > DataFileSize)
        return FileText(TxtFileTooLong)
            .arg(QDir::toNativeSeparators(path), QString::number(DataFileSize));
    // The record the first missing byte belongs to is where the file breaks off.
    return DamagedFileText(path, DataFileRecordAt(size),
                           FileText(TxtFaultEndsEarly).arg(size).arg(DataFileSize));
}

QString headFault(const QString& path, const QString& fault) {
    return DamagedFileText(path, FileText(TxtRecFileHead), fault);
}

// A text of the head as the file holds it, without the blanks or NULs that pad it.
QString shownHeadText(QByteArray raw) {
    while (raw.endsWith(' ') || raw.endsWith('\0'))
        raw.chop(1);
    return EscapeBytes(raw);
}

} // namespace

OpenResult ReadCheckedDataFile(Document& doc, const QString& path, CheckedDataFile& file,
                               DamagedChannelsPolicy policy) {
    QByteArray bytes;
    QString why;
    // One byte more than a data file holds, so that a longer file is seen as such.
    if (!ReadRegularFile(path, DataFileSize + 1, bytes, &why)) return refuse(doc, why);
    return CheckDataBytes(doc, path, bytes, file, policy);
}

OpenResult CheckDataBytes(Document& doc, const QString& path, const QByteArray& bytes,
                          CheckedDataFile& file, DamagedChannelsPolicy policy) {
    using B = Prompter::Buttons;
    using I = Prompter::Icon;

    if (bytes.size() < HeadSize) return refuse(doc, wrongSize(path, bytes.size()));

    FileHeadRec head;
    recordcodec::decode(head, reinterpret_cast<const unsigned char*>(bytes.constData()));

    // The texts of the head are shown escaped: a damaged file may hold any byte there. The
    // version is shown with its blanks, which are its fault.
    if (head.Model.text() != TrimFixed(doc.ModelName))
        return refuse(
            doc,
            headFault(path, FileText(TxtFaultModel)
                                .arg(shownHeadText(head.Model.raw()), TrimFixed(doc.ModelName))),
            9012);

    const QString version = QString::fromLatin1(head.Version.raw());
    if (!IsVersionText(version))
        return refuse(
            doc, headFault(path, FileText(TxtFaultVersion).arg(EscapeBytes(head.Version.raw()))),
            9065);

    // This program always reads its own data version, also when Version.ini is missing and
    // the table is empty: only files of other versions depend on the table.
    if (version != Document::DataVersionText() &&
        !IsCompatible(Document::DataVersionText(), version)) {
        const QString question = VersionMessage(Document::DataVersionText(), version, 1);
        if (doc.prompter().ask(question, B::YesNo, I::Question) != Prompter::Answer::Yes)
            return OpenResult::Refused;
        file.otherVersion = version;
        return OpenResult::OtherVersion;
    }

    // The bytes after a data file are no part of it, and nothing says what they would be.
    if (bytes.size() != DataFileSize) return refuse(doc, wrongSize(path, bytes.size()));
    file.channels = doc.FileCHInfo;
    DecodeDataFile(bytes, file.data, file.channels);
    if (file.data.CHCount < 0 || file.data.CHCount > MaxChannels)
        return refuse(doc, DamagedFileText(path, FileText(TxtRecChannelCount),
                                           FileText(TxtFaultCount).arg(file.data.CHCount)));

    // Checked on the decoded record, before anything reaches ApplyFileHead: a mode without a
    // band would leave the program in a state no window can show.
    if (!IsValidMode(file.data.Head.CountryMode))
        return refuse(
            doc, headFault(path, FileText(TxtFaultCountryMode).arg(file.data.Head.CountryMode)),
            TxtCountryModeError);

    const QList<DamagedChannel> damaged = DamagedChannels(file.data, file.channels);
    if (!damaged.isEmpty()) {
        refuse(doc, FileText(TxtDamagedRecords)
                        .arg(QDir::toNativeSeparators(path), DamagedChannelsText(damaged)));
        if (policy == DamagedChannelsPolicy::Refuse) return OpenResult::Refused;
    }
    return OpenResult::Opened;
}

void ApplyDataFile(Document& doc, const QString& path, const CheckedDataFile& file,
                   const QString& untitled) {
    AdoptedImage image;
    image.data = file.data;
    image.data.Head.Version = Document::DataVersionText();
    image.channels = file.channels;
    image.fileName = untitled.isEmpty() ? path : QString();
    image.title = untitled;
    image.state = AdoptedImage::State::Saved;
    doc.adoptImage(image);
}

OpenResult OpenDataFile(Document& doc, const QString& path, DamagedChannelsPolicy policy) {
    CheckedDataFile file;
    const OpenResult r = ReadCheckedDataFile(doc, path, file, policy);
    if (r == OpenResult::Opened) {
        ApplyDataFile(doc, path, file);
        doc.history().clear();
    }
    return r;
}
