#include "frmReadMe.h"

#include "Ansi.h"

#include <QFont>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const noteLines[] = {
    "",
    "Hello, and thank you for trying Vantorix!",
    "",
    "This is my very first game with sprites, so please be kind.",
    "I wrote it in my spare time, mostly late at night, to learn",
    "how a real arcade game is put together.",
    "",
    "All the graphics are drawn with plain bit-block copies and",
    "masks, straight into the window or onto a full screen mode.",
    "The keyboard and the joystick are read through an input",
    "interface with events, and the sound effects and the music",
    "play through their own sound interfaces.",
    "",
    "Some things are not as smooth as I wanted them to be. If your",
    "machine is slow, try the Frame-Skip option on the start dialog,",
    "and use the Performance test to compare it with mine.",
    "",
    "You can build your own levels with the level editor, and play",
    "for the best scores on an internet hiscore server.",
    "",
    "I hope to do a lot better next time. Until then: have fun!",
    "",
    "  - Quillfen",
};

} // namespace

std::string readMeText() {
    std::string text = "Vantorix ReadMe!\r\n";
    for (const char* line : noteLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

frmReadMe::frmReadMe(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Vantorix - ReadMe!"));
    Text1 = new QPlainTextEdit(this);
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Fixedsys"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    Text1->setFont(font);
    Command1 = new QPushButton(QStringLiteral("&Close"), this);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    resize(560, 420);
    Form_Load();
}

void frmReadMe::Form_Load() {
    // The box shows line breaks, not the CR of each CR LF.
    std::string shown = readMeText();
    std::string plain;
    for (char c : shown) {
        if (c != '\r') {
            plain += c;
        }
    }
    Text1->setPlainText(ansi::toQString(plain));
}

void frmReadMe::Command1_Click() {
    accept();
}
