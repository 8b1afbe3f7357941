#pragma once

// Silences the document's prompter while the channel setter runs: the caller reports what the
// windows would have warned about (a typed frequency out of the band, ...) itself.

#include "../lang/prompter.h"
#include "document.h"

class QuietPrompter {
public:
    explicit QuietPrompter(Document& doc) : doc_(doc), saved_(&doc.prompter()) {
        doc_.setPrompter(&silent_);
    }
    ~QuietPrompter() { doc_.setPrompter(saved_); }
    QuietPrompter(const QuietPrompter&) = delete;
    QuietPrompter& operator=(const QuietPrompter&) = delete;

private:
    Document& doc_;
    Prompter* saved_;
    SilentPrompter silent_;
};
