#include "Dialogs.h"

#include "Ansi.h"
#include "ModalBox.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

DialogService* installed = nullptr;
std::string title = "Vantorix";

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {
    case mb::Critical:
        return QMessageBox::Critical;
    case mb::Question:
        return QMessageBox::Question;
    case mb::Exclamation:
        return QMessageBox::Warning;
    case mb::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int result;
};

std::vector<ButtonSpec> buttonsFor(int style) {
    switch (style & 7) {
    case mb::OKCancel:
        return {{QMessageBox::Ok, mb::OK}, {QMessageBox::Cancel, mb::Cancel}};
    case mb::AbortRetryIgnore:
        return {{QMessageBox::Abort, mb::Abort},
                {QMessageBox::Retry, mb::Retry},
                {QMessageBox::Ignore, mb::Ignore}};
    case mb::YesNoCancel:
        return {{QMessageBox::Yes, mb::Yes},
                {QMessageBox::No, mb::No},
                {QMessageBox::Cancel, mb::Cancel}};
    case mb::YesNo:
        return {{QMessageBox::Yes, mb::Yes}, {QMessageBox::No, mb::No}};
    case mb::RetryCancel:
        return {{QMessageBox::Retry, mb::Retry}, {QMessageBox::Cancel, mb::Cancel}};
    default:
        return {{QMessageBox::Ok, mb::OK}};
    }
}

int defaultIndex(int style) {
    if (style & mb::DefaultButton3) {
        return 2;
    }
    if (style & mb::DefaultButton2) {
        return 1;
    }
    return 0;
}

class QtDialogs : public DialogService {
public:
    int messageBox(const std::string& prompt, int style, const std::string& t) override {
        CentredBox<QMessageBox> box(iconFor(style), ansi::toQString(t), ansi::toQString(prompt),
                                    QMessageBox::NoButton, boxOwner());
        box.setTextFormat(Qt::PlainText);
        const auto specs = buttonsFor(style);
        for (const auto& s : specs) {
            box.addButton(s.button);
        }
        const int def = defaultIndex(style);
        if (def < static_cast<int>(specs.size())) {
            box.setDefaultButton(specs[static_cast<std::size_t>(def)].button);
        }
        const auto pressed = static_cast<QMessageBox::StandardButton>(execBox(box));
        for (const auto& s : specs) {
            if (s.button == pressed) {
                return s.result;
            }
        }
        // Closed with Escape or the frame: the cancel button where there is one.
        for (const auto& s : specs) {
            if (s.result == mb::Cancel || s.result == mb::No) {
                return s.result;
            }
        }
        return specs.front().result;
    }

    std::string inputBox(const std::string& prompt, const std::string& t,
                         const std::string& defaultText) override {
        CentredBox<QInputDialog> dlg(boxOwner());
        dlg.setWindowTitle(ansi::toQString(t));
        dlg.setLabelText(ansi::toQString(prompt));
        dlg.setTextValue(ansi::toQString(defaultText));
        if (execBox(dlg) != QDialog::Accepted) {
            return "";
        }
        return ansi::fromQString(dlg.textValue());
    }
};

} // namespace

DialogService& DialogService::instance() {
    if (installed) {
        return *installed;
    }
    static QtDialogs qt;
    return qt;
}

void DialogService::install(DialogService* s) {
    installed = s;
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
    return buttonsFor(style).front().result;
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
