#include "frmDisplaySettings.h"

#include "Ansi.h"
#include "ModalBox.h"
#include "ProgramVersion.h"
#include "Surface.h"
#include "frmTest.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

std::string frmDisplaySettings::version() {
    return programVersionText();
}

frmDisplaySettings::frmDisplaySettings(ModeScreen& screen, const std::string& commandLine,
                                       std::function<void()> showTest, QWidget* parent)
    : QDialog(parent),
      model(screen,
            showTest ? std::move(showTest) : std::function<void()>([this] { showTestWindow(); })) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    Frame1 = new QGroupBox(ansi::toQString(DisplaySettingsModel::frameCaption), this);
    Combo1 = new QComboBox(Frame1);
    QFont fixed(Surface::standInFace("Fixedsys"));
    fixed.setPointSize(10);
    Combo1->setFont(fixed);
    Combo1->setMinimumContentsLength(
        int(DisplaySettingsModel::entryText({32, 1280, 1024, 100}).size()));
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Command1 = new QPushButton(ansi::toQString(DisplaySettingsModel::testCaption), Frame1);
    Command5 = new QPushButton(ansi::toQString(DisplaySettingsModel::findCaption), Frame1);
    Command2 = new QPushButton(ansi::toQString(DisplaySettingsModel::okCaption), this);
    Command3 = new QPushButton(ansi::toQString(DisplaySettingsModel::cancelCaption), this);
    for (QPushButton* b : {Command1, Command5, Command2, Command3}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(120);
    }
    Label1 = new QLabel(ansi::toQString(DisplaySettingsModel::recommendedText), this);
    Label2 = new QLabel(ansi::toQString(DisplaySettingsModel::writtenForText), this);
    for (QLabel* l : {Label1, Label2}) {
        l->setTextFormat(Qt::PlainText);
    }

    auto* tools = new QHBoxLayout;
    tools->addWidget(Command1);
    tools->addWidget(Command5);
    tools->addStretch();
    auto* frame = new QVBoxLayout(Frame1);
    frame->addWidget(Combo1);
    frame->addLayout(tools);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(10);
    layout->addWidget(Frame1);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(4);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, [this] { model.Command1_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { model.Command5_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { model.Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { model.Command3_Click(); });
    model.onSelectionChanged = [this] { Combo1->setCurrentIndex(model.ListIndex); };
    model.onClosed = [this] { QDialog::done(Accepted); };

    model.Form_Load(commandLine, version());
    setWindowTitle(ansi::toQString(model.caption));
    for (const std::string& entry : model.Combo1) {
        Combo1->addItem(ansi::toQString(entry));
    }
    Combo1->setCurrentIndex(model.ListIndex);
    // Connected only now: filling the list moves its selection on its own.
    connect(Combo1, &QComboBox::currentIndexChanged, this,
            [this](int index) { model.ListIndex = index; });
    setFixedSize(sizeHint());
}

// Esc and the close box: as Cancel.
void frmDisplaySettings::reject() {
    if (!model.closed()) {
        model.Command3_Click();
    }
}

void frmDisplaySettings::showTestWindow() {
    frmTest test(this);
    execBox(test);
}
