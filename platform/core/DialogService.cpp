#include "DialogService.h"

#include <cstdio>

namespace {

DialogService* installed = nullptr;
DialogService* programBoxes = nullptr;
std::string title = "Vantorix";

// A program without boxes of its own (a tool, a fuzz target) still has its message read.
class UnshownDialogs : public DialogService {
public:
    int messageBox(const std::string& prompt, int style, const std::string& t) override {
        std::fprintf(stderr, "%s: %s\n", t.c_str(), prompt.c_str());
        return mb::buttons(style).front();
    }

    std::string inputBox(const std::string& prompt, const std::string& t,
                         const std::string& defaultText) override {
        std::fprintf(stderr, "%s: %s\n", t.c_str(), prompt.c_str());
        return defaultText;
    }
};

} // namespace

std::vector<int> mb::buttons(int style) {
    switch (style & 7) {
    case OKCancel:
        return {OK, Cancel};
    case AbortRetryIgnore:
        return {Abort, Retry, Ignore};
    case YesNoCancel:
        return {Yes, No, Cancel};
    case YesNo:
        return {Yes, No};
    case RetryCancel:
        return {Retry, Cancel};
    default:
        return {OK};
    }
}

DialogService& DialogService::instance() {
    if (installed) {
        return *installed;
    }
    if (programBoxes) {
        return *programBoxes;
    }
    static UnshownDialogs unshown;
    return unshown;
}

void DialogService::install(DialogService* s) {
    installed = s;
}

void DialogService::setProgramBoxes(DialogService* s) {
    programBoxes = s;
}

void setProgramTitle(const std::string& t) {
    title = t;
}
const std::string& programTitle() {
    return title;
}

int MsgBox(const std::string& prompt, int style, const std::string& t) {
    return DialogService::instance().messageBox(prompt, style, t.empty() ? title : t);
}

std::string InputBox(const std::string& prompt, const std::string& t,
                     const std::string& defaultText) {
    return DialogService::instance().inputBox(prompt, t.empty() ? title : t, defaultText);
}

ScriptedDialogs::ScriptedDialogs() {
    DialogService::install(this);
}
ScriptedDialogs::~ScriptedDialogs() {
    if (&DialogService::instance() == this) {
        DialogService::install(nullptr);
    }
}

int ScriptedDialogs::messageBox(const std::string& prompt, int style, const std::string& t) {
    calls_.push_back(Call{false, prompt, style, t, ""});
    if (!answers_.empty()) {
        const int r = answers_.front();
        answers_.pop_front();
        return r;
    }
    return mb::buttons(style).front();
}

std::string ScriptedDialogs::inputBox(const std::string& prompt, const std::string& t,
                                      const std::string& defaultText) {
    calls_.push_back(Call{true, prompt, 0, t, defaultText});
    if (!inputs_.empty()) {
        std::string r = inputs_.front();
        inputs_.pop_front();
        return r;
    }
    return defaultText;
}

std::vector<std::string> ScriptedDialogs::prompts() const {
    std::vector<std::string> out;
    for (const auto& c : calls_) {
        out.push_back(c.prompt);
    }
    return out;
}
