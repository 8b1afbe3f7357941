#include "channeleditstate.h"
#include "core/model/country.h"
#include "core/model/document.h"

ChannelEditState::ChannelEditState(Document& doc) : QObject(&doc) {
    setObjectName(QStringLiteral("ChannelEditState"));
    resetFrom(doc);
    connect(&doc, &Document::documentReplaced, this, [this, &doc] { resetFrom(doc); });
}

ChannelEditState& ChannelEditState::of(Document& doc) {
    auto* s = doc.findChild<ChannelEditState*>(QString(), Qt::FindDirectChildrenOnly);
    return s ? *s : *new ChannelEditState(doc);
}

void ChannelEditState::resetFrom(const Document& doc) {
    const int g = doc.RadioData.Func.GroupSel;
    CurGroup = g >= 0 && g < GroupCount(doc.CountryMode) ? g : 0;
    CurCH = 1;
    CurCol = 0;
}
