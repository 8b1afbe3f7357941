#include "datafile.h"
#include "../model/channelcheck.h"
#include "../model/country.h"
#include "../model/document.h"
#include "../model/documenthistory.h"
#include "../model/recordcodec.h"
#include "fileio.h"

#include <QFileInfo>
#include <QSignalBlocker>

QByteArray EncodeDataFile(const RadioDataRec& data, const ChannelList& channels) {
    QByteArray b(DataFileSize, '\0');
    auto* p = reinterpret_cast<unsigned char*>(b.data());
    recordcodec::encode(data, p);
    for (int i = 0; i < MaxChannels; ++i)
        recordcodec::encode(channels[i], p + 1071 + 60 * i);
    return b;
}

bool DecodeDataFile(const QByteArray& bytes, RadioDataRec& data, ChannelList& channels) {
    if (bytes.size() < DataFileSize) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    recordcodec::decode(data, p);
    for (int i = 0; i < MaxChannels; ++i)
        recordcodec::decode(channels[i], p + 1071 + 60 * i);
    return true;
}

namespace {
// A file whose channel count or country mode is out of range would put the program into a
// state no window can show; such files are not loaded.
bool plausible(const RadioDataRec& d, const ChannelList& channels) {
    return d.CHCount >= 0 && d.CHCount <= MaxChannels && IsValidMode(d.Head.CountryMode) &&
           DamagedChannels(d, channels).isEmpty();
}
} // namespace

bool LoadDataFile(Document& doc, const QString& path) {
    QByteArray bytes;
    RadioDataRec data;
    ChannelList channels = doc.FileCHInfo;
    if (ReadRegularFile(path, DataFileSize + 1, bytes, nullptr) && bytes.size() == DataFileSize &&
        DecodeDataFile(bytes, data, channels) && plausible(data, channels)) {
        doc.FileRadioData = data;
        doc.FileCHInfo = channels;
        doc.FromFileCopy();
        return true;
    }
    doc.ToFileCopy();
    return false;
}

QString InitFilePath(const Document& doc, bool useTemplate) {
    return doc.InitDir + QStringLiteral("/Init/") + doc.ModelName + QLatin1Char('_') +
           QString::number(doc.CountryMode) +
           (useTemplate ? QStringLiteral("_NEW.dat") : QStringLiteral(".dat"));
}

void LoadInitFile(Document& doc, bool useTemplate) {
    const QString path = InitFilePath(doc, useTemplate);
    if (QFileInfo::exists(path)) LoadDataFile(doc, path);
}

void NewDocumentWithInitFile(Document& doc) {
    {
        const QSignalBlocker quiet(doc);
        doc.NewDocument();
        if (!doc.InitDir.isEmpty()) LoadInitFile(doc, !doc.InitRequested);
    }
    // Built quietly, announced once.
    AdoptedImage image = doc.currentImage();
    image.state = AdoptedImage::State::Saved;
    image.builtNew = true;
    doc.adoptImage(image);
}
