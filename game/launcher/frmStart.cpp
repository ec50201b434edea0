#include "frmStart.h"

#include "Ansi.h"
#include "FrmJoystickSetup.h"
#include "KeyCodes.h"
#include "ModalBox.h"
#include "QFTModuleDesktop.h"
#include "frmInternetConfig.h"
#include "frmPrefTest.h"
#include "frmReadMe.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmStart::frmStart(const std::string& commandLine, QWidget* parent)
    : QDialog(parent), model_(commandLine) {
    Picture1 = new QLabel(this);
    Picture1->setAlignment(Qt::AlignCenter);
    // The title picture: the game's name drawn large.
    Picture1->setText(QStringLiteral("VANTORIX"));
    QFont titleFont = Picture1->font();
    titleFont.setPointSize(28);
    titleFont.setBold(true);
    Picture1->setFont(titleFont);
    Picture1->setStyleSheet(QStringLiteral("background: black; color: #40c0ff; padding: 8px;"));

    Frame3 = new QGroupBox(QStringLiteral("Level file"), this);
    Combo1 = new QComboBox(Frame3);
    (new QVBoxLayout(Frame3))->addWidget(Combo1);

    const char* const captions[10] = {nullptr,
                                      "Play in &Full Screen",
                                      "Play in &Window",
                                      "&Quit",
                                      "Display Setup...",
                                      "Joystick setup...",
                                      "Performance test...",
                                      "ReadMe...",
                                      "Check product update online...",
                                      "Internet Mode setup..."};
    for (int i = 1; i <= 9; ++i) {
        Command[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
        Command[i]->setAutoDefault(false);
    }

    Frame2 = new QGroupBox(QStringLiteral("PLAY"), this);
    auto* playLayout = new QVBoxLayout(Frame2);
    for (int i = 1; i <= 3; ++i) {
        playLayout->addWidget(Command[i]);
    }

    Frame1 = new QGroupBox(QStringLiteral("GAME OPTIONS"), this);
    Check2 = new QCheckBox(QStringLiteral("Frame-Skip (for slow pc's only)"), Frame1);
    Check1 = new QCheckBox(QStringLiteral("Skip Amiga-look-a-like Screen (just for fun!)"), Frame1);
    auto* optionLayout = new QVBoxLayout(Frame1);
    optionLayout->addWidget(Check2);
    optionLayout->addWidget(Check1);

    auto* tools = new QGridLayout;
    for (int i = 4; i <= 9; ++i) {
        tools->addWidget(Command[i], (i - 4) / 2, (i - 4) % 2);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Picture1);
    layout->addWidget(Frame3);
    auto* middle = new QHBoxLayout;
    middle->addWidget(Frame2);
    middle->addWidget(Frame1, 1);
    layout->addLayout(middle);
    layout->addLayout(tools);

    connect(Combo1, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.Combo1Index = index; });
    connect(Check1, &QCheckBox::clicked, this, [this] {
        model_.Check1 = Check1->isChecked() ? 1 : 0;
        model_.Check1_Click();
    });
    connect(Check2, &QCheckBox::clicked, this,
            [this] { model_.Check2 = Check2->isChecked() ? 1 : 0; });
    void (StartModel::*handlers[10])() = {
        nullptr,
        &StartModel::Command1_Click,
        &StartModel::Command2_Click,
        &StartModel::Command3_Click,
        &StartModel::Command4_Click,
        &StartModel::Command5_Click,
        &StartModel::Command6_Click,
        &StartModel::Command7_Click,
        &StartModel::Command8_Click,
        &StartModel::Command9_Click,
    };
    for (int i = 1; i <= 9; ++i) {
        const auto handler = handlers[i];
        connect(Command[i], &QPushButton::clicked, this, [this, handler] {
            takeControls();
            (model_.*handler)();
        });
    }

    model_.pumpEvents = [] { QCoreApplication::processEvents(); };
    model_.showGame = [this] {
        if (showGame) {
            showGame();
        }
    };
    model_.unload = [this] {
        unloadAsked_ = true;
        close();
        unloadAsked_ = false;
    };
    model_.showJoystickSetup = [this] {
        FrmJoystickSetup dialog(this);
        execBox(dialog);
    };
    model_.showPerfTest = [this] {
        frmPrefTest dialog(this);
        execBox(dialog);
    };
    model_.showReadMe = [this] {
        frmReadMe dialog(this);
        execBox(dialog);
    };
    model_.showInternetConfig = [this] { showInternetConfig(this); };
    model_.openAddress = [this](const std::string& url) {
        return ShellRun(url, "", this, "") > 32;
    };
    model_.busyChanged = [this] { busyChanged(); };
}

frmStart::~frmStart() {
    if (busy_) {
        QApplication::restoreOverrideCursor();
    }
}

void frmStart::load() {
    model_.Form_Load();
    refresh();
}

void frmStart::refresh() {
    setWindowTitle(QString::fromStdString(model_.Caption));
    {
        const QSignalBlocker block(Combo1);
        Combo1->clear();
        for (const auto& item : model_.Combo1) {
            Combo1->addItem(ansi::toQString(item));
        }
        Combo1->setCurrentIndex(model_.Combo1Index);
    }
    Combo1->setEnabled(model_.Combo1Enabled);
    Check1->setChecked(model_.Check1 == 1);
    Check1->setVisible(model_.Check1Visible);
    Check2->setChecked(model_.Check2 == 1);
    Command[5]->setEnabled(model_.Command5Enabled);
    Command[1]->setDefault(model_.DefaultButton == 1);
    Command[2]->setDefault(model_.DefaultButton == 2);
    (model_.DefaultButton == 1 ? Command[1] : Command[2])->setFocus();
}

void frmStart::takeControls() {
    model_.Combo1Index = Combo1->currentIndex();
    model_.Check1 = Check1->isChecked() ? 1 : 0;
    model_.Check2 = Check2->isChecked() ? 1 : 0;
}

void frmStart::busyChanged() {
    // Disabled during the update check (with the busy pointer) and while Play loads the game.
    const bool busy = !model_.Enabled;
    setEnabled(!busy && !model_.Playing());
    if (busy && !busy_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (!busy && busy_) {
        QApplication::restoreOverrideCursor();
    }
    busy_ = busy;
}

void frmStart::closeEvent(QCloseEvent* e) {
    // The update check runs with the dialog disabled; it ends before the dialog may go.
    // While the game window loads only Play itself closes the dialog.
    if ((busy_ || model_.Playing()) && !unloadAsked_) {
        e->ignore();
        return;
    }
    if (!unloaded_) {
        unloaded_ = true;
        takeControls();
        model_.Form_Unload();
    }
    e->accept();
}

void frmStart::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        takeControls();
        model_.Form_KeyDown(vk::Escape, 0);
        return;
    }
    QDialog::keyPressEvent(e);
}

// Escape and the window's close box close the dialog as Quit does.
void frmStart::reject() {
    if (!busy_) {
        model_.Command3_Click();
    }
}
