#include "typedvalue.h"
#include "channeleditstate.h"

#include "core/lang/prompter.h"
#include "core/model/channeledit.h"
#include "core/model/channelrules.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"
#include "core/model/textnote.h"

namespace {
constexpr int MsgBadFrequency = 9021; // the frequency is out of range or not a number
constexpr int TxtFreMoved = 27200;    // %1 MHz was set to %2 MHz, %3
constexpr int TxtValueMoved = 27201;  // %1: %2 was set to %3, %4
} // namespace

QString movedValueText(int id, const QString& typed, const QString& stored, const QString& why) {
    if (id == FldRxFre) return TextNote{TxtFreMoved, {typed, stored, why}}.text();
    return TextNote{TxtValueMoved, {ChannelFieldLabel(id), typed, stored, why}}.text();
}

bool storeTypedValue(Document& doc, int group, int row, int id, const QString& value) {
    const int chNo = FirstCHOfGroup(group, doc.CountryMode) + row;
    const QString typed = PrintableValue(value.trimmed());
    // A list chosen on an empty row has nothing to store: the row gets a frequency first.
    if (id != FldRxFre && !doc.Channel(chNo)) return false;
    const EditResult r = EditChannelField(doc, chNo, id, value.trimmed(), ValueSource::Typed);
    if (r.outcome == EditOutcome::Refused) {
        const QString why = r.reason.id ? r.reason.text() : QString();
        if (id == FldRxFre && !value.trimmed().isEmpty())
            doc.prompter().message(MsgBadFrequency, Prompter::Buttons::Ok, Prompter::Icon::Warning,
                                   why);
        else
            doc.prompter().ask(why, Prompter::Buttons::Ok, Prompter::Icon::Warning);
        // The windows show the stored value again.
        emit doc.channelChanged(chNo);
        return false;
    }
    if (r.outcome == EditOutcome::Adjusted)
        emit ChannelEditState::of(doc).statusNote(
            movedValueText(id, typed, r.after, r.reason.id ? r.reason.text() : QString()));
    return true;
}
