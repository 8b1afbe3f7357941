#pragma once

// The .dat file: RadioDataRec (1071 bytes) at offset 0, then the 409 channel records of 60
// bytes each at 1071 + 60 * i; 25611 bytes in all.

#include "../model/records.h"

#include <QByteArray>
#include <QString>

class Document;

constexpr int DataFileSize = 1071 + 60 * MaxChannels;
static_assert(DataFileSize == 25611);

QByteArray EncodeDataFile(const RadioDataRec& data, const ChannelList& channels);
// Decodes a whole file image; false when it is shorter than a data file.
bool DecodeDataFile(const QByteArray& bytes, RadioDataRec& data, ChannelList& channels);

// Reads a data file into the document's transfer copy and from there into the working copy,
// without questions or messages. A file that is not a regular file of exactly 25611 bytes, or
// holds a channel count, a country mode or channel records that File > Open refuses, is not
// loaded. On any error the transfer copy is refreshed from the unchanged working copy.
// Returns whether the file was loaded.
bool LoadDataFile(Document& doc, const QString& path);

// The initial-data files below the document's InitDir: the template for new documents
// (MODEL_MODE_NEW.dat) or the factory file (MODEL_MODE.dat).
QString InitFilePath(const Document& doc, bool useTemplate);
// Loads the initial-data file when it exists; nothing happens otherwise.
void LoadInitFile(Document& doc, bool useTemplate);
// File > New and its kin: the defaults of NewDocument, then the initial-data file of the
// model and country mode over them (the factory file while InitRequested, else the
// template), announced as one replacement of the document (Document::adoptImage). The undo
// history is the caller's: it clears it once the windows show the new document.
void NewDocumentWithInitFile(Document& doc);
