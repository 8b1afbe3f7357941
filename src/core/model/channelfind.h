#pragma once

// Finding channels in the document by what the channel table shows: a frequency ("27.185",
// or "27185" in kHz), a tone ("88.5", "D023N", "D023") or a slot ("EU 19", "a 7", "MEM 3").
// The matches come in the table's order: group by group, row by row, so that "next" walks
// the table as the user reads it.

#include <QList>
#include <QString>

class Document;

struct ChannelHit {
    int group = 0;
    int row = 0; // 1-based
    bool operator==(const ChannelHit&) const = default;
};

QList<ChannelHit> FindChannels(const Document& doc, const QString& query);
