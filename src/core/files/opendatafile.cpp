#include "opendatafile.h"
#include "../lang/prompter.h"
#include "../model/country.h"
#include "../model/document.h"
#include "../model/recordcodec.h"
#include "../model/version.h"
#include "datafile.h"

#include <QFile>

namespace {

constexpr int HeadSize = recordcodec::sizeOf<FileHeadRec>();

OpenResult refuse(Document& doc, int id) {
    doc.prompter().message(id, Prompter::Buttons::Ok, Prompter::Icon::Critical);
    return OpenResult::Refused;
}

} // namespace

OpenResult OpenDataFile(Document& doc, const QString& path, QString* otherVersion) {
    using B = Prompter::Buttons;
    using I = Prompter::Icon;

    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return refuse(doc, 9002);
    const QByteArray bytes = f.read(DataFileSize);
    f.close();
    if (bytes.size() < HeadSize) return refuse(doc, 9002);

    FileHeadRec head;
    recordcodec::decode(head, reinterpret_cast<const unsigned char*>(bytes.constData()));

    if (head.Model.text() != TrimFixed(doc.ModelName)) return refuse(doc, 9012);

    const QString version = QString::fromLatin1(head.Version.raw());
    if (!IsVersionText(version)) return refuse(doc, 9065);

    // This program always reads its own data version, also when Version.ini is missing and
    // the table is empty: only files of other versions depend on the table.
    if (version != Document::DataVersionText() &&
        !IsCompatible(Document::DataVersionText(), version)) {
        const QString question = VersionMessage(Document::DataVersionText(), version, 1);
        if (doc.prompter().ask(question, B::YesNo, I::Question) != Prompter::Answer::Yes)
            return OpenResult::Refused;
        if (otherVersion) *otherVersion = version;
        return OpenResult::OtherVersion;
    }

    RadioDataRec data;
    ChannelList channels = doc.FileCHInfo;
    if (!DecodeDataFile(bytes, data, channels) || data.CHCount < 0 || data.CHCount > MaxChannels)
        return refuse(doc, 9002);

    // Checked on the decoded record, before anything reaches ApplyFileHead: a mode without a
    // band would leave the program in a state no window can show.
    if (!IsValidMode(data.Head.CountryMode)) {
        doc.prompter().plain(QStringLiteral("Country Mode Error!"));
        return OpenResult::Refused;
    }

    data.Head.Version = Document::DataVersionText();
    doc.FileRadioData = data;
    doc.FileCHInfo = channels;
    doc.FromFileCopy();
    doc.CurFileName = path;
    doc.IsNewFile = false;
    emit doc.documentReplaced();
    doc.NotifyStateChanged();
    return OpenResult::Opened;
}
