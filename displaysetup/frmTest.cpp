#include "frmTest.h"

#include "Ansi.h"
#include "KeyCodes.h"
#include "modTest.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

frmTest::frmTest(QWidget* parent, Clock& clock) : QDialog(parent), model(clock) {
    setWindowTitle(TestModel::caption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);

    Label1 = new QLabel(ansi::toQString(TestModel::prompt), this);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = new QLabel(this);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setAlignment(Qt::AlignCenter);
    QFont big = Label2->font();
    big.setBold(true);
    Label2->setFont(big);
    // Room for the longest countdown text from the start, so the window keeps its size.
    Label2->setMinimumWidth(Label2->fontMetrics().horizontalAdvance("Returning in 15 seconds") +
                            16);

    Command2 = new QPushButton("&OK", this);
    Command1 = new QPushButton("Cancel", this);
    for (QPushButton* b : {Command2, Command1}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(96);
    }
    connect(Command2, &QPushButton::clicked, this, [this] { model.Command2_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { model.Command1_Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(12);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addLayout(buttons);

    model.onCountdownChanged = [this] { Label2->setText(ansi::toQString(model.countdownText())); };
    model.onClosed = [this] { QDialog::done(TestPassed ? Accepted : Rejected); };

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::geometryChanged, this, [this] { centre(); });
    }
}

void frmTest::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        model.Form_KeyDown(vk::Escape);
        return;
    }
    QDialog::keyPressEvent(event);
}

// The window's close box.
void frmTest::reject() {
    if (!model.closed()) {
        model.Command1_Click();
    }
}

void frmTest::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centre();
    raise();
    activateWindow();
}

void frmTest::centre() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    adjustSize();
    QRect frame = frameGeometry();
    frame.moveCenter(screen->geometry().center());
    move(frame.topLeft());
}
