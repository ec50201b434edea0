#include "RealBoxes.h"

#include "DialogService.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

struct RealBoxes::Watch {
    QTimer poll;
};

RealBoxes::RealBoxes() : watch_(std::make_unique<Watch>()), before_(&DialogService::instance()) {
    DialogService::install(nullptr);
    QObject::connect(&watch_->poll, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (box && box->isVisible()) {
            shown_.push_back(
                {box->frameGeometry(), box->parentWidget(), box->windowTitle().toStdString()});
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(box, &escape);
        }
    });
    watch_->poll.start(5);
}

RealBoxes::~RealBoxes() {
    DialogService::install(before_);
}

RealBoxes::Shown askOneBox(bool input) {
    RealBoxes boxes;
    if (input) {
        InputBox("Name?");
    } else {
        MsgBox("Are you sure ?", mb::OKCancel + mb::Question, "END GAME");
    }
    return boxes.shown().size() == 1 ? boxes.shown().front() : RealBoxes::Shown{};
}

QRect centredOn(const QWidget& owner, QSize box) {
    const QWidget& w = *owner.window();
    QRect r(QPoint(0, 0), box);
    r.moveCenter(w.frameGeometry().center());
    const QRect screen = w.screen()->availableGeometry();
    r.moveLeft(std::max(screen.left(), std::min(r.left(), screen.right() + 1 - r.width())));
    r.moveTop(std::max(screen.top(), std::min(r.top(), screen.bottom() + 1 - r.height())));
    return r;
}

std::unique_ptr<QWidget> activeWindowAt(QRect geometry, bool frameless) {
    auto w = std::make_unique<QWidget>();
    if (frameless) {
        w->setWindowFlag(Qt::FramelessWindowHint);
    }
    w->setGeometry(geometry);
    w->show();
    w->activateWindow();
    becomesActive(w.get());
    return w;
}

bool becomesActive(const QWidget* w) {
    QElapsedTimer t;
    t.start();
    while (QApplication::activeWindow() != w && t.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return QApplication::activeWindow() == w;
}
