#include "FrmJoystickSetup.h"

#include "Color.h"
#include "DialogService.h"
#include "GameControllerTool.h"
#include "Numbers.h"
#include "Settings.h"
#include "SettingsNotice.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const std::string app = "Vantorix";
const std::string section = "DEVMODE";

// A stored number as the dialog reads it: its leading number, whole, within Integer range.
VbInteger readInteger(const std::string& key, int defaultValue) {
    const double v = num::roundHalfEven(
        num::leadingNumber(GetSetting(app, section, key, num::toText(defaultValue))));
    return static_cast<VbInteger>(std::clamp(v, -32768.0, 32767.0));
}

void light(QLabel* label, bool on) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color::toQColor(on ? 255 : 0));
    label->setPalette(p);
    QFont f = label->font();
    f.setBold(on);
    label->setFont(f);
}

} // namespace

FrmJoystickSetup::FrmJoystickSetup(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Vantorix - Joystick setup"));
    setModal(true);

    Check1 = new QCheckBox(QStringLiteral("Enable Joystick"), this);
    Check1->setChecked(true);

    Frame1 = new QGroupBox(QStringLiteral("Select button for fire:"), this);
    Combo1 = new QComboBox(Frame1);
    Label3 = new QLabel(QStringLiteral("Press joystick button to select."), Frame1);
    auto* f1 = new QVBoxLayout(Frame1);
    f1->addWidget(Combo1);
    f1->addWidget(Label3);

    Frame3 = new QGroupBox(QStringLiteral("Fine tune Analog joystick sensitivity"), this);
    VScroll1 = new QScrollBar(Qt::Vertical, Frame3);
    VScroll1->setRange(0, 4500);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(50);
    VScroll1->setValue(500);
    VScroll1->setMinimumHeight(120);
    Label2 = new QLabel(QStringLiteral("Comp. factor: 500"), Frame3);
    auto* f3 = new QHBoxLayout(Frame3);
    f3->addWidget(VScroll1);
    f3->addWidget(Label2, 1);

    Frame2 = new QGroupBox(this);
    Label5 = new QLabel(QStringLiteral("Move joystick to test"), Frame2);
    static const char* const directions[] = {"LEFT", "RIGHT", "UP", "DOWN"};
    auto* f2 = new QGridLayout(Frame2);
    f2->addWidget(Label5, 0, 0, 1, 3);
    for (std::size_t i = 0; i < TEST.size(); ++i) {
        TEST[i] = new QLabel(QString::fromLatin1(directions[i]), Frame2);
        TEST[i]->setAlignment(Qt::AlignCenter);
        light(TEST[i], false);
    }
    // As a stick is held: up on top, left and right beside, down below.
    f2->addWidget(TEST[2], 1, 1);
    f2->addWidget(TEST[0], 2, 0);
    f2->addWidget(TEST[1], 2, 2);
    f2->addWidget(TEST[3], 3, 1);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Defaults"), this);
    Command3 = new QPushButton(QStringLiteral("Windows GAMING OPTIONS..."), this);
    Command4 = new QPushButton(QStringLiteral("Cancel"), this);
    Command1->setDefault(true);
    Command1->setAutoDefault(true);
    for (QPushButton* b : {Command2, Command3, Command4}) {
        b->setAutoDefault(false);
    }

    auto* left = new QVBoxLayout;
    left->addWidget(Check1);
    left->addWidget(Frame1);
    left->addWidget(Frame3);
    auto* right = new QVBoxLayout;
    right->addWidget(Frame2);
    right->addStretch(1);
    right->addWidget(Command1);
    right->addWidget(Command2);
    right->addWidget(Command3);
    right->addWidget(Command4);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(right);

    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { Combo1_Click(); });
    // valueChanged comes at every step of a drag as well as at its end.
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    dx8Joystick1.JoystickChange = [this](VbLong X, VbLong Y, VbLong Z, VbLong rX, VbLong rY,
                                         VbLong rZ, const dx8Joystick::SliderArray& Slider,
                                         const dx8Joystick::ButtonArray& Buttons) {
        dx8Joystick1_JoystickChange(X, Y, Z, rX, rY, rZ, Slider, Buttons);
    };

    Form_Load();
}

FrmJoystickSetup::~FrmJoystickSetup() = default;

void FrmJoystickSetup::Form_Load() {
    // Only 1 switches joystick play on in the game, so only 1 shows the box ticked.
    Check1->setChecked(readInteger("JOYSTICK", 1) == 1);
    Check1_Click();
    const QWidget* opener = parentWidget();
    setWindowIcon(opener ? opener->windowIcon() : QApplication::windowIcon());
    dx8Joystick1.Init();
    fireButton_ = readInteger("JOYSTICKBUTTON", 0);
    VScroll1->setValue(readInteger("JOYTUNE", 500));
    VScroll1_Change();

    // Adding to an empty list would select its first item; the stored choice decides.
    const QSignalBlocker block(Combo1);
    if (dx8Joystick1.JoystickConnected()) {
        joystickPresent_ = true;
        for (int n = 1; n <= 32; ++n) {
            Combo1->addItem(QStringLiteral("Button %1").arg(n, 2, 10, QLatin1Char('0')));
        }
        Combo1->setCurrentIndex(fireButton_ >= 0 && fireButton_ < Combo1->count() ? fireButton_
                                                                                  : -1);
    } else {
        Combo1->addItem(QStringLiteral("NOT DETECTED"));
        Combo1->setCurrentIndex(0);
        Check1->setEnabled(false);
        Combo1->setEnabled(false);
        Check1->setChecked(false);
    }
}

void FrmJoystickSetup::Combo1_Click() {
    if (Combo1->currentIndex() >= 0) {
        fireButton_ = static_cast<VbInteger>(Combo1->currentIndex());
    }
}

void FrmJoystickSetup::Check1_Click() {
    Combo1->setEnabled(Check1->isChecked());
}

void FrmJoystickSetup::VScroll1_Change() {
    Label2->setText(QStringLiteral("Comp. factor: %1").arg(VScroll1->value()));
}

void FrmJoystickSetup::dx8Joystick1_JoystickChange(VbLong X, VbLong Y, VbLong, VbLong, VbLong,
                                                   VbLong, const dx8Joystick::SliderArray&,
                                                   const dx8Joystick::ButtonArray& Buttons) {
    for (int i = 0; i < 32; ++i) {
        if (Buttons[static_cast<std::size_t>(i)] && i < Combo1->count()) {
            Combo1->setCurrentIndex(i);
        }
    }
    // The game's comparisons, so what lights here moves the ship there. Wide arithmetic:
    // a stored dead band is not trusted to be small.
    const std::int64_t t = VScroll1->value();
    light(TEST[0], X < 5000 - t);
    light(TEST[1], X > 5000 + t);
    light(TEST[2], Y < 5000 - t);
    light(TEST[3], Y > 5000 + t);
}

void FrmJoystickSetup::Command1_Click() {
    if (joystickPresent_) {
        const bool saved = SaveSetting(app, section, "JOYSTICK", Check1->isChecked() ? "1" : "0") &&
                           SaveSetting(app, section, "JOYSTICKBUTTON",
                                       num::toText(static_cast<int>(fireButton_))) &&
                           SaveSetting(app, section, "JOYTUNE", num::toText(VScroll1->value()));
        if (!saved) {
            tellSettingsNotSaved();
        }
    }
    accept();
}

void FrmJoystickSetup::Command2_Click() {
    VScroll1->setValue(500);
    if (joystickPresent_) {
        Combo1->setCurrentIndex(0);
    }
}

void FrmJoystickSetup::Command3_Click() {
    if (!gamecontroller::openTool()) {
        MsgBox("No game-controller settings are installed on this computer.\n\n"
               "Install jstest-gtk to test and calibrate your joystick.",
               mb::Information);
    }
}

void FrmJoystickSetup::Command4_Click() {
    reject();
}

void FrmJoystickSetup::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void FrmJoystickSetup::Form_Unload() {
    // The live test ends with the dialog.
    dx8Joystick1.setPollInterval(0);
}
