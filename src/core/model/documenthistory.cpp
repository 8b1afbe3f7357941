#include "documenthistory.h"
#include "country.h"
#include "document.h"

#include <QTimer>
#include <algorithm>
#include <set>

namespace {

// A user's session of a few hours stays within a few megabytes.
constexpr int UndoLimit = 500;

int usedChannels(const DocumentImage& image) {
    return std::clamp<int>(image.data.CHCount, 0, MaxChannels);
}

// The group settings of the channel table, which follow the channels.
bool sameGroupSettings(const FuncRec& a, const FuncRec& b) {
    return a.UseMem == b.UseMem && a.WorkGroup == b.WorkGroup && a.MemWorkCH == b.MemWorkCH &&
           a.GroupValid == b.GroupValid && a.WorkCH == b.WorkCH && a.EmgCH1 == b.EmgCH1 &&
           a.EmgCH2 == b.EmgCH2 && a.EmgMode1 == b.EmgMode1 && a.EmgMode2 == b.EmgMode2;
}

// The channel numbers whose records differ between the two images, in ascending order.
std::set<int> changedChannels(const DocumentImage& a, const DocumentImage& b) {
    std::set<int> r;
    auto find = [](const DocumentImage& img, int chNo) -> const CHInfoRec* {
        for (int i = 0; i < usedChannels(img); ++i)
            if (img.channels[i].CHNo == chNo) return &img.channels[i];
        return nullptr;
    };
    for (const DocumentImage* img : {&a, &b})
        for (int i = 0; i < usedChannels(*img); ++i) {
            const int chNo = img->channels[i].CHNo;
            const CHInfoRec* x = find(a, chNo);
            const CHInfoRec* y = find(b, chNo);
            if (!x || !y || !(*x == *y)) r.insert(chNo);
        }
    return r;
}

} // namespace

bool DocumentImage::sameAs(const DocumentImage& other) const {
    if (!(data == other.data)) return false;
    const int n = usedChannels(*this);
    return std::equal(channels.begin(), channels.begin() + n, other.channels.begin());
}

// One user action: the image before and after it. Pushing it does not redo it (the document
// already holds the result).
class DocumentHistory::Step : public QUndoCommand {
public:
    Step(DocumentHistory& h, std::shared_ptr<const DocumentImage> before,
         std::shared_ptr<const DocumentImage> after, const StepCaption& caption)
        : h_(h), before_(std::move(before)), after_(std::move(after)), caption_(caption) {
        retranslate();
    }
    void undo() override { h_.restore(*before_); }
    void redo() override {
        if (pushed_) h_.restore(*after_);
        pushed_ = true;
    }
    void retranslate() { setText(caption_.text()); }

private:
    DocumentHistory& h_;
    std::shared_ptr<const DocumentImage> before_, after_;
    StepCaption caption_;
    bool pushed_ = false;
};

DocumentHistory::DocumentHistory(Document& doc)
    : QObject(&doc), doc_(doc), pendingTimer_(new QTimer(this)) {
    stack_.setUndoLimit(UndoLimit);
    pendingTimer_->setSingleShot(true);
    pendingTimer_->setInterval(0);
    connect(pendingTimer_, &QTimer::timeout, this, &DocumentHistory::flush);
    connect(&stack_, &QUndoStack::indexChanged, this, &DocumentHistory::changed);
    connect(&stack_, &QUndoStack::cleanChanged, this, &DocumentHistory::changed);
    connect(&doc_, &Document::channelChanged, this, &DocumentHistory::noteChange);
    for (auto signal :
         {&Document::groupSettingsChanged, &Document::publicChannelChanged, &Document::keysChanged,
          &Document::toneTipsChanged, &Document::dtmfCodesChanged, &Document::rogerBeepsRechecked,
          &Document::documentReplaced})
        connect(&doc_, signal, this, &DocumentHistory::noteChange);
}

DocumentHistory::~DocumentHistory() {
    // The steps refer to this history; they go first.
    stack_.clear();
}

std::shared_ptr<const DocumentImage> DocumentHistory::snapshot() const {
    auto image = std::make_shared<DocumentImage>();
    image->data = doc_.RadioData;
    image->channels = doc_.CHInfo;
    return image;
}

void DocumentHistory::setRecording(bool on) {
    if (recording_ == on) return;
    recording_ = on;
    clear();
}

void DocumentHistory::noteChange() {
    if (recording_ && !restoring_ && !pendingTimer_->isActive()) pendingTimer_->start();
}

void DocumentHistory::flush() {
    pendingTimer_->stop();
    if (!recording_ || !baseline_) return;
    const auto now = snapshot();
    if (now->sameAs(*baseline_)) return;
    // Showing another group changes the stored group selection and nothing else: that is
    // where the next step starts, not a step of its own.
    DocumentImage viewOnly = *baseline_;
    viewOnly.data.Func.GroupSel = now->data.Func.GroupSel;
    if (now->sameAs(viewOnly)) {
        baseline_ = now;
        return;
    }
    commit(describeChange(*baseline_, *now, doc_.CountryMode));
}

void DocumentHistory::commit(const StepCaption& caption) {
    pendingTimer_->stop();
    if (!recording_ || !baseline_) return;
    auto now = snapshot();
    if (now->sameAs(*baseline_)) return;
    auto before = baseline_;
    baseline_ = now;
    stack_.push(new Step(*this, std::move(before), std::move(now), caption));
}

void DocumentHistory::clear() {
    pendingTimer_->stop();
    stack_.clear();
    baseline_ = recording_ ? snapshot() : nullptr;
    emit changed();
}

void DocumentHistory::undo() {
    flush();
    if (stack_.canUndo()) stack_.undo();
}

void DocumentHistory::redo() {
    flush();
    if (stack_.canRedo()) stack_.redo();
}

QString DocumentHistory::undoText() {
    return stack_.canUndo() ? stack_.undoText() : QString();
}

QString DocumentHistory::redoText() {
    return stack_.canRedo() ? stack_.redoText() : QString();
}

void DocumentHistory::retranslate() {
    for (int i = 0; i < stack_.count(); ++i)
        static_cast<Step*>(const_cast<QUndoCommand*>(stack_.command(i)))->retranslate();
    emit changed();
}

void DocumentHistory::restore(const DocumentImage& image) {
    pendingTimer_->stop();
    restoring_ = true;
    doc_.RadioData = image.data;
    doc_.CHInfo = image.channels;
    doc_.ApplyFileHead(doc_.RadioData.Head);
    emit doc_.documentReplaced();
    emit doc_.stateChanged();
    restoring_ = false;
    // The windows have redrawn; what they show is where the next step starts.
    baseline_ = snapshot();
}

QString StepCaption::text() const {
    if (object.id == 0) return action.text();
    TextNote t = action;
    t.args.prepend(object.text());
    return t.text();
}

StepCaption DocumentHistory::describeChange(const DocumentImage& before, const DocumentImage& after,
                                            int mode) {
    const std::set<int> channels = changedChannels(before, after);
    if (channels.size() == 1)
        return {{9890, {}}, {9891, {ChannelSlotName(*channels.begin(), mode)}}};
    if (!channels.empty()) return {{9890, {}}, {9892, {QString::number(channels.size())}}};
    const RadioDataRec& a = before.data;
    const RadioDataRec& b = after.data;
    if (!sameGroupSettings(a.Func, b.Func)) return {{9893, {}}, {}};
    if (!(a.Func == b.Func) || !(a.PublicCH == b.PublicCH)) return {{9894, {}}, {}};
    if (!(a.Key == b.Key)) return {{9895, {}}, {}};
    if (!(a.DTMF == b.DTMF)) return {{9896, {}}, {}};
    if (!(a.ToneTips == b.ToneTips)) return {{9897, {}}, {}};
    return {{9898, {}}, {}};
}
