#include "frmPrefTest.h"

#include "Numbers.h"
#include "QFTModuleDesktop.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

PerfBars::PerfBars(QWidget* parent) : QWidget(parent) {
    setMinimumSize(400, 40);
    setAutoFillBackground(true);
}

void PerfBars::paintEvent(QPaintEvent*) {
    if (!sampler) {
        return;
    }
    QPainter p(this);
    const double w = width();
    const int h = height();
    p.fillRect(0, 0,
               static_cast<int>(num::roundHalfEven(w / PerfSampler::FullScale * sampler->MaxIndex)),
               h, QColor(255, 0, 0));
    p.fillRect(0, 0,
               static_cast<int>(num::roundHalfEven(w / PerfSampler::FullScale * sampler->Index)), h,
               QColor(255, 255, 0));
    p.setPen(Qt::black);
    const QString text = QString::fromStdString(sampler->label());
    const int textHeight = p.fontMetrics().height();
    p.drawText(30, h / 2 - textHeight / 2 + p.fontMetrics().ascent(), text);
}

frmPrefTest::frmPrefTest(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Performance Test"));
    Label2 = new QLabel(QStringLiteral("QFN test :"), this);
    Picture1 = new PerfBars(this);
    Picture1->sampler = &sampler_;
    // The reference machine's mark.
    auto* Line1 = new QFrame(this);
    Line1->setFrameShape(QFrame::HLine);
    Label5 = new QLabel(QStringLiteral("MY PC (AMD ATHLON THUNDERBIRD 900 W/200 MHZ FSB)"), this);
    Label1 = new QLabel(
        QStringLiteral(
            "Please note that you can't use this test as common processor test. This test "
            "has been made special for Vantorix, and is only made so you can compare "
            "your performance with other machines."),
        this);
    Label1->setWordWrap(true);
    Command1 = new QPushButton(QStringLiteral("&Close"), this);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    Timer1 = new QTimer(this);
    Timer1->setInterval(20);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addWidget(Picture1);
    layout->addWidget(Line1);
    layout->addWidget(Label5);
    layout->addWidget(Label1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    Form_Load();
}

void frmPrefTest::Form_Load() {
    Running = true;
    Timer1->start();
}

void frmPrefTest::Timer1_Timer() {
    Timer1->stop();
    StartTest();
}

void frmPrefTest::StartTest() {
    inTest_ = true;
    VbLong windowStart = GetTicks();
    VbLong counter = 0;
    while (Running) {
        counter += 1;
        if (num::tickDelta(static_cast<std::uint32_t>(GetTicks()),
                           static_cast<std::uint32_t>(windowStart)) >= 100) {
            sampler_.addSample(counter);
            Picture1->repaint();
            counter = 0;
            QCoreApplication::processEvents();
            windowStart = GetTicks();
        }
    }
    inTest_ = false;
    accept();
}

void frmPrefTest::Command1_Click() {
    Running = false;
    if (!inTest_) {
        accept();
    }
}

// The window's close box and Escape end the loop the same way as Close; the loop then
// closes the window.
void frmPrefTest::closeEvent(QCloseEvent* e) {
    if (inTest_) {
        Running = false;
        e->ignore();
        return;
    }
    Running = false;
    Timer1->stop();
    QDialog::closeEvent(e);
}

void frmPrefTest::reject() {
    if (inTest_) {
        Running = false;
        return;
    }
    Running = false;
    Timer1->stop();
    QDialog::reject();
}
