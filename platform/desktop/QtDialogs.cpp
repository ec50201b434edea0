#include "QtDialogs.h"

#include "Ansi.h"
#include "ModalBox.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

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

QMessageBox::StandardButton standardButton(int result) {
    switch (result) {
    case mb::Cancel:
        return QMessageBox::Cancel;
    case mb::Abort:
        return QMessageBox::Abort;
    case mb::Retry:
        return QMessageBox::Retry;
    case mb::Ignore:
        return QMessageBox::Ignore;
    case mb::Yes:
        return QMessageBox::Yes;
    case mb::No:
        return QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

std::vector<ButtonSpec> buttonsFor(int style) {
    std::vector<ButtonSpec> specs;
    for (const int result : mb::buttons(style)) {
        specs.push_back({standardButton(result), result});
    }
    return specs;
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

DialogService& qtDialogs() {
    static QtDialogs qt;
    return qt;
}
