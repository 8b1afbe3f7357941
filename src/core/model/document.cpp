#include "document.h"
#include "../lang/prompter.h"
#include "country.h"
#include "documenthistory.h"
#include "frequency.h"
#include "helpers.h"

#include <algorithm>

namespace {
SilentPrompter& silentPrompter() {
    static SilentPrompter p;
    return p;
}

// The fields that IsDataChanged compares in a channel: all but Reserved.
bool sameChannel(const CHInfoRec& a, const CHInfoRec& b) {
    return a.CHNo == b.CHNo && a.Spare == b.Spare && a.Scan == b.Scan &&
           a.RxFre.text() == b.RxFre.text() && a.OffSetFre == b.OffSetFre && a.RDCT == b.RDCT &&
           a.TDCT == b.TDCT && a.DUP == b.DUP && a.HI_CUT == b.HI_CUT && a.BUSY == b.BUSY &&
           a.NB == b.NB && a.Add_Sub_5K == b.Add_Sub_5K && a.AM_FM == b.AM_FM &&
           a.Tx_Power == b.Tx_Power && a.Public == b.Public && a.RBTone == b.RBTone &&
           a.DTMF_BOT == b.DTMF_BOT && a.DTMF_EOT == b.DTMF_EOT && a.DTMF_Call == b.DTMF_Call &&
           a.TSQ == b.TSQ;
}

// FuncRec without its Spare words.
bool sameFunc(FuncRec a, FuncRec b) {
    a.Spare = {};
    b.Spare = {};
    return a == b;
}

// DTMF settings, lengths and codes (not the spare words).
bool sameDtmf(const DTMFRec& a, const DTMFRec& b) {
    return a.DtmfSet == b.DtmfSet && a.Codes == b.Codes;
}

// The public channel's compared fields. Its RDCT counts too: the optional features window
// edits it, and an edit of it alone must not be lost without the save question.
bool samePublic(const CHInfoRec& a, const CHInfoRec& b) {
    return a.OffSetFre == b.OffSetFre && a.RDCT == b.RDCT && a.TDCT == b.TDCT && a.DUP == b.DUP &&
           a.HI_CUT == b.HI_CUT && a.BUSY == b.BUSY && a.NB == b.NB &&
           a.Add_Sub_5K == b.Add_Sub_5K && a.AM_FM == b.AM_FM && a.Tx_Power == b.Tx_Power &&
           a.RBTone == b.RBTone && a.DTMF_BOT == b.DTMF_BOT && a.DTMF_EOT == b.DTMF_EOT &&
           a.DTMF_Call == b.DTMF_Call;
}
} // namespace

namespace {
// The integer fields of a channel by field index; RxFre (index 1) is a text.
i16 CHInfoRec::*intField(int index) {
    static i16 CHInfoRec::*const fields[] = {nullptr,
                                             nullptr,
                                             &CHInfoRec::Public,
                                             &CHInfoRec::DUP,
                                             &CHInfoRec::OffSetFre,
                                             &CHInfoRec::TSQ,
                                             &CHInfoRec::Scan,
                                             &CHInfoRec::HI_CUT,
                                             &CHInfoRec::BUSY,
                                             &CHInfoRec::NB,
                                             &CHInfoRec::Add_Sub_5K,
                                             &CHInfoRec::AM_FM,
                                             &CHInfoRec::Tx_Power,
                                             &CHInfoRec::RBTone,
                                             &CHInfoRec::DTMF_BOT,
                                             &CHInfoRec::DTMF_EOT,
                                             &CHInfoRec::DTMF_Call,
                                             &CHInfoRec::RDCT,
                                             &CHInfoRec::TDCT};
    return index >= 0 && index <= FldTDCT ? fields[index] : nullptr;
}
} // namespace

int CHInfoRec::field(int index) const {
    const auto f = intField(index);
    return f ? this->*f : 0;
}

i16* CHInfoRec::fieldRef(int index) {
    const auto f = intField(index);
    return f ? &(this->*f) : nullptr;
}

Document::Document(QObject* parent)
    : QObject(parent), prompter_(&silentPrompter()), history_(new DocumentHistory(*this)) {}

void Document::setPrompter(Prompter* p) {
    prompter_ = p ? p : &silentPrompter();
}

void Document::ParseBand() {
    ParseBandText(BandText, FreLow, FreHigh);
}

void Document::SetCountryMode(int mode) {
    CountryMode = mode;
    BandText = BandTextOf(mode);
    RadioData.Head.CountryMode = static_cast<i16>(mode);
    RadioInfo.InfoMode = mode;
    ParseBand();
}

QString Document::unnamedFileName() {
    return QStringLiteral("new.dat");
}

QString Document::title() const {
    return IsNewFile && !untitled_.isEmpty() ? untitled_ : FileTitle(CurFileName);
}

void Document::NewDocument() {
    IsNewFile = true;
    CurFileName = unnamedFileName();
    untitled_.clear();
    builtNew_ = true;

    KeyRec& k = RadioData.Key;
    k.KeySet = 3;
    for (int i = 0; i < 18; ++i)
        k.KeyFun[i] = static_cast<i16>(i + 1);

    FuncRec& f = RadioData.Func;
    const auto spare = f.Spare;
    f = FuncRec{};
    f.Spare = spare;
    f.MemWorkCH = 1;
    f.GroupValid[0] = 1;
    f.TOT = 4;
    f.Backlight = 1;
    f.Volume = 1;
    f.SqlLevel = 3;
    f.AsqValue = 3;
    f.ScanTime = 1;
    f.SqlBack = 1;
    f.AsqBack = 1;
    f.UseMaxSwr = 1;
    f.MaxSwr = 160;

    CHInfoRec& p = RadioData.PublicCH;
    p.OffSetFre = 5;
    p.RDCT = p.TDCT = p.DUP = p.HI_CUT = p.BUSY = p.NB = p.Add_Sub_5K = p.AM_FM = p.Tx_Power = 0;
    p.Public = p.RBTone = p.DTMF_BOT = p.DTMF_EOT = p.DTMF_Call = p.TSQ = 0;

    DTMFRec& d = RadioData.DTMF;
    d.DtmfSet = {10, 0, 2, 0, 0, 1};
    for (auto& c : d.Codes) {
        c.Len = 0;
        c.Code = QString();
    }

    RadioData.CHCount = 0;
    CurRow = 1;
    const QString mid = ShortestDecimal((FreLow + FreHigh) / 2);
    AddChannel(1, mid);
    AddChannel(ChVfo, mid);
    static const char* mem[] = {"28.015000", "28.145000", "28.115000", "28.085000",
                                "28.055000", "28.025000", "28.075000", "28.005000"};
    for (int i = 0; i < 8; ++i)
        AddChannel(ChMemFirst + i, QString::fromLatin1(mem[i]));

    RadioData.Head.CountryMode = static_cast<i16>(CountryMode);
    RadioData.Head.Model = ModelName;
    RadioData.Head.Version = DataVersionText();

    auto setTip = [this](int tip, std::initializer_list<std::pair<int, int>> steps) {
        ToneTipRec& t = RadioData.ToneTips.Tip[tip - 1];
        int i = 0;
        for (const auto& [tone, time] : steps) {
            t.Step[i].Tone = static_cast<i16>(tone);
            t.Step[i].Time = static_cast<i16>(time);
            ++i;
        }
        t.Repeat = 1;
        t.Pause = 0;
    };
    setTip(1, {{210, 10}, {0, 10}, {210, 10}, {0, 10}, {210, 10}, {0, 10}, {210, 10}});
    setTip(2, {{80, 4},
               {0, 4},
               {80, 4},
               {0, 4},
               {80, 4},
               {0, 4},
               {80, 4},
               {0, 4},
               {80, 4},
               {0, 4},
               {80, 4},
               {0, 4},
               {80, 4},
               {0, 4}});
    setTip(3, {{170, 3}, {90, 3}, {170, 3}, {90, 3}, {170, 3}, {90, 3}, {170, 3}});
    setTip(4, {{64, 6}, {94, 6}, {134, 6}, {163, 6}, {192, 6}});
    setTip(5, {{150, 20}, {70, 20}, {150, 20}, {70, 20}, {150, 20}, {70, 20}});

    RadioInfoDefaults(RadioInfo, RadioData.Head.CountryMode, RadioData.Head.Model.raw());
    ToFileCopy();
    emit documentReplaced();
    emit stateChanged();
    // After the windows redrew: what they settled is where undo stops.
    history_->clear();
}

QString Document::DataVersionText() {
    return QStringLiteral("V100");
}

bool Document::IsDataChanged() const {
    // The group shown (GroupSel) is kept in the file, but looking at another group is no edit.
    return differsFromFileCopy();
}

bool Document::untouchedNew() const {
    // The transfer copy of a built document is what New built, until a save replaces it; a
    // saved document is kept in a file of the user's.
    return builtNew_ && IsNewFile && !differsFromFileCopy();
}

bool Document::differsFromFileCopy() const {
    const RadioDataRec& w = RadioData;
    const RadioDataRec& t = FileRadioData;
    if (w.Head.Model != t.Head.Model || w.Head.CountryMode != t.Head.CountryMode) return true;
    if (w.CHCount != t.CHCount) return true;
    for (int i = 0; i < t.CHCount && i < MaxChannels; ++i) {
        const CHInfoRec& fc = FileCHInfo[i];
        const CHInfoRec* wc = nullptr;
        if (CHInfo[i].CHNo == fc.CHNo)
            wc = &CHInfo[i];
        else if (const int j = FindChannel(fc.CHNo); j >= 0)
            wc = &CHInfo[j];
        if (!wc || !sameChannel(*wc, fc)) return true;
    }
    FuncRec shownFunc = w.Func;
    shownFunc.GroupSel = t.Func.GroupSel;
    return !(w.Key == t.Key && sameFunc(shownFunc, t.Func) && sameDtmf(w.DTMF, t.DTMF) &&
             w.ToneTips == t.ToneTips && samePublic(w.PublicCH, t.PublicCH));
}

void Document::FillFileHead(FileHeadRec& head) const {
    head.Model = ModelName;
    head.CountryMode = static_cast<i16>(CountryMode);
    head.Version = DataVersionText();
}

void Document::ApplyFileHead(const FileHeadRec& head) {
    ModelName = head.Model.text();
    CountryMode = head.CountryMode;
    BandText = BandTextOf(CountryMode);
    RadioInfo.InfoMode = head.CountryMode;
    ParseBand();
}

void Document::ToFileCopy() {
    FillFileHead(RadioData.Head);
    FileRadioData = RadioData;
    const int n = std::clamp<int>(RadioData.CHCount, 0, MaxChannels);
    std::copy_n(CHInfo.begin(), n, FileCHInfo.begin());
}

void Document::FromFileCopy() {
    RadioData = FileRadioData;
    ApplyFileHead(RadioData.Head);
    const int n = std::clamp<int>(FileRadioData.CHCount, 0, MaxChannels);
    std::copy_n(FileCHInfo.begin(), n, CHInfo.begin());
}

void Document::adoptImage(const AdoptedImage& image) {
    RadioData = image.data;
    RadioData.CHCount = static_cast<i16>(std::clamp<int>(image.data.CHCount, 0, MaxChannels));
    CHInfo = image.channels;
    ApplyFileHead(RadioData.Head);
    IsNewFile = image.fileName.isEmpty();
    CurFileName = IsNewFile ? unnamedFileName() : image.fileName;
    untitled_ = IsNewFile ? image.title : QString();
    builtNew_ = image.builtNew;
    // A save writes every record of the transfer copy, also those past the channel count,
    // which the copy on saving does not touch: they must be the new image's, never what an
    // earlier document left there.
    const int n = RadioData.CHCount;
    std::copy(CHInfo.begin() + n, CHInfo.end(), FileCHInfo.begin() + n);
    if (image.state == AdoptedImage::State::Saved) ToFileCopy();
    emit documentReplaced();
    emit stateChanged();
}

AdoptedImage Document::currentImage() const {
    AdoptedImage image;
    image.data = RadioData;
    image.channels = CHInfo;
    image.fileName = IsNewFile ? QString() : CurFileName;
    image.title = IsNewFile ? untitled_ : QString();
    // The transfer copy stays what was last loaded or saved.
    image.state = AdoptedImage::State::Unsaved;
    return image;
}

// --- Channel list ---

void Document::AddChannel(int chNo, const QString& freText) {
    if (RadioData.CHCount >= MaxChannels) return;
    CHInfoRec& c = CHInfo[RadioData.CHCount];
    const auto reserved = c.Reserved;
    c = CHInfoRec{};
    c.Reserved = reserved;
    c.CHNo = static_cast<i16>(chNo);
    // The radio keeps no scan bit for its VFO channel: a VFO in the scan list would come back
    // from every write and read as a change.
    c.Scan = chNo == ChVfo ? 0 : 1;
    c.RxFre = ::FreToStored(freText, FreLow);
    c.OffSetFre = 100;
    c.NB = 1;
    c.Public = 1;
    ++RadioData.CHCount;
}

void Document::DeleteChannel(int index) {
    const int n = RadioData.CHCount;
    if (index < 0 || index >= n) return;
    for (int i = index; i < n - 1; ++i)
        CHInfo[i] = CHInfo[i + 1];
    --RadioData.CHCount;
}

int Document::FindChannel(int chNo) const {
    for (int i = 0; i < RadioData.CHCount; ++i)
        if (CHInfo[i].CHNo == chNo) return i;
    return -1;
}

CHInfoRec* Document::Channel(int chNo) {
    const int i = FindChannel(chNo);
    return i < 0 ? nullptr : &CHInfo[i];
}

const CHInfoRec* Document::Channel(int chNo) const {
    const int i = FindChannel(chNo);
    return i < 0 ? nullptr : &CHInfo[i];
}

void Document::SetCHField(CHInfoRec& e, int fieldIndex, const QVariant& value) {
    const QString text = value.toString();
    if (fieldIndex == FldRxFre) {
        e.RxFre = ::FreToStored(text, FreLow);
        return;
    }
    const auto f = intField(fieldIndex);
    if (!f) return;
    int v;
    if (fieldIndex == FldOffSetFre)
        v = ClampNumberText(text, 5, 1000, 5, 5);
    else if (fieldIndex == FldRBTone)
        v = ClampNumberText(text, 0, 8, 1, 0);
    else if (fieldIndex >= FldDTMF_BOT && fieldIndex <= FldDTMF_Call)
        v = ClampNumberText(text, 0, 16, 1, 0);
    else
        v = static_cast<int>(NumberOrDefault(text, 0));
    e.*f = static_cast<i16>(v);
    // AM allows two power levels only.
    if (fieldIndex == FldAM_FM && e.AM_FM == 1 && e.Tx_Power > 1) e.Tx_Power = 1;
}

// --- Channel value setter ---

void Document::SetCHValue(int group, int row, int id, const QVariant& value) {
    // Stores what the rule source allowed (judgeValue, through EditChannelField or a window):
    // a frequency as the shown text it accepted, an empty one to delete the channel.
    const QString text = value.toString();
    const int chNo = FirstCHOfGroup(group, CountryMode) + row;
    const int i = FindChannel(chNo);
    if (i < 0) {
        if (id == FldRxFre && !text.isEmpty() && RadioData.CHCount < MaxChannels) {
            AddChannel(chNo, text);
            RefreshGroupCHs(group);
        }
    } else {
        if (id == FldRxFre && text.isEmpty())
            DeleteChannel(i);
        else if (!(id == FldRxFre && text == FreToShown(CHInfo[i].RxFre.text())))
            SetCHField(CHInfo[i], id, value);
        if (id == FldRxFre) RefreshGroupCHs(group);
    }
    emit channelChanged(chNo);
}

bool Document::groupHasRow(int group, int stored) const {
    const int row = stored + 1;
    if (row < 1 || row > GroupSize(group, CountryMode)) return false;
    return FindChannel(FirstCHOfGroup(group, CountryMode) + row) >= 0;
}

void Document::RefreshGroupCHs(int group) {
    const int mode = CountryMode;
    if (!IsMemGroup(group, mode) && (group < 0 || group >= SettingGroupCount(mode))) {
        emit groupSettingsChanged();
        return; // the VFO group (and channels outside every group) carry no settings
    }
    FuncRec& f = RadioData.Func;
    auto firstRow = [&]() -> i16 {
        const QVector<int> pos = GroupPositions(group, mode);
        return static_cast<i16>(pos.isEmpty() ? 0 : pos.first() - 1);
    };
    if (IsMemGroup(group, mode)) {
        if (CountCHInGroup(group, mode) == 0)
            f.MemWorkCH = 0;
        else if (!groupHasRow(group, f.MemWorkCH))
            f.MemWorkCH = firstRow();
    } else {
        if (CountCHInGroup(group, mode) > 0) {
            // A setting whose row is gone moves to the group's first programmed row.
            for (i16* v : {&f.WorkCH[group], &f.EmgCH1[group], &f.EmgCH2[group]})
                if (!groupHasRow(group, *v)) *v = firstRow();
        } else {
            f.GroupValid[group] = f.WorkCH[group] = f.EmgCH1[group] = f.EmgCH2[group] = 0;
        }
        EnsureValidGroup(mode);
    }
    emit groupSettingsChanged();
}

// --- Codecs ---

QString Document::FreToStored(const QString& text) const {
    return ::FreToStored(text, FreLow);
}
QString Document::FreToShown(const QString& stored) const {
    return ::FreToShown(stored, FreLow, prompter_);
}
QString Document::FreToListText(const QString& stored, int group) const {
    return ::FreToListText(stored, group, CountryMode, FreLow, prompter_);
}

QString Document::NearestCHFre(double f, int* position, int* chNo) const {
    int best = -1;
    double bestDist = std::abs(f); // a channel must be closer than f itself
    for (int i = 0; i < RadioData.CHCount; ++i) {
        const CHInfoRec& c = CHInfo[i];
        if (c.CHNo > 360) continue;
        const QString t = ::FreToListText(c.RxFre.text(), GroupOfChannel(c.CHNo, 0), 0, FreLow);
        const auto v = ParseNumber(t);
        if (!v) continue;
        const double d = std::abs(*v - f);
        if (d < bestDist) {
            bestDist = d;
            best = i;
        }
    }
    if (best < 0) best = 0;
    const CHInfoRec& c = CHInfo[best];
    if (position) *position = c.CHNo - FirstCHOfGroup(GroupOfChannel(c.CHNo, 0), 0) - 1;
    if (chNo) *chNo = c.CHNo;
    return ::FreToShown(c.RxFre.text(), FreLow);
}

// --- Groups ---

int Document::CountCHInGroup(int group, int mode) const {
    const int first = FirstCHOfGroup(group, mode), size = GroupSize(group, mode);
    int n = 0;
    for (int i = 0; i < RadioData.CHCount; ++i) {
        const int pos = CHInfo[i].CHNo - first;
        if (pos >= 1 && pos <= size) ++n;
    }
    return n;
}

int Document::CountCHOutsideGroup(int group, int mode) const {
    const int first = FirstCHOfGroup(group, mode), size = GroupSize(group, mode);
    int n = 0;
    for (int i = 0; i < RadioData.CHCount; ++i) {
        const int ch = CHInfo[i].CHNo;
        const int pos = ch - first;
        if ((pos < 1 || pos > size) && ch <= 400) ++n;
    }
    return n;
}

QVector<int> Document::GroupPositions(int group, int mode) const {
    const int first = FirstCHOfGroup(group, mode), size = GroupSize(group, mode);
    QVector<int> r;
    for (int i = 0; i < RadioData.CHCount; ++i) {
        const int pos = CHInfo[i].CHNo - first;
        if (pos >= 1 && pos <= size) r << pos;
    }
    std::sort(r.begin(), r.end());
    return r;
}

int Document::CountOtherValidGroups(int group, int mode) const {
    int n = 0;
    for (int g = 0; g < SettingGroupCount(mode); ++g)
        if (g != group && RadioData.Func.GroupValid[g] > 0) ++n;
    return n;
}

void Document::EnsureValidGroup(int mode) {
    const int groups = SettingGroupCount(mode);
    for (int g = 0; g < groups; ++g)
        if (RadioData.Func.GroupValid[g] > 0) return;
    for (int i = 0; i < RadioData.CHCount; ++i) {
        const int g = GroupOfChannel(CHInfo[i].CHNo, mode);
        if (g >= 0 && g < groups) {
            RadioData.Func.GroupValid[g] = 1;
            return;
        }
    }
}

// --- References ---

void Document::ReplaceDtmfRef(int oldRef, int newRef) {
    auto fix = [&](CHInfoRec& c) {
        for (i16* f : {&c.DTMF_BOT, &c.DTMF_EOT, &c.DTMF_Call})
            if (*f == oldRef) *f = static_cast<i16>(newRef);
    };
    for (int i = 0; i < RadioData.CHCount; ++i)
        fix(CHInfo[i]);
    fix(RadioData.PublicCH);
    emit dtmfCodesChanged();
}

int Document::ValidRBTone(int n) const {
    if (n < 1 || n > 8) return 0;
    const ToneTipRec& t = RadioData.ToneTips.Tip[n - 1];
    if (t.Repeat < 1) return 0;
    for (const auto& s : t.Step)
        if (s.Time > 0) return n;
    return 0;
}

void Document::RecheckRBTones() {
    for (int i = 0; i < RadioData.CHCount; ++i)
        CHInfo[i].RBTone = static_cast<i16>(ValidRBTone(CHInfo[i].RBTone));
    RadioData.PublicCH.RBTone = static_cast<i16>(ValidRBTone(RadioData.PublicCH.RBTone));
    emit rogerBeepsRechecked();
}
