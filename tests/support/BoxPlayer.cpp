#include "BoxPlayer.h"

#include "DialogService.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

BoxPlayer::BoxPlayer(std::vector<Step> steps)
    : steps_(std::move(steps)), before_(&DialogService::instance()) {
    DialogService::install(nullptr);
    QCoreApplication::instance()->installEventFilter(this);
}

BoxPlayer::~BoxPlayer() {
    QCoreApplication::instance()->removeEventFilter(this);
    DialogService::install(before_);
}

void BoxPlayer::type(QDialog& box, const char* text) {
    auto* input = qobject_cast<QInputDialog*>(&box);
    if (!input) {
        escape(box); // not an input box: the answer the test waits for does not come
        return;
    }
    input->setTextValue(QString::fromLatin1(text));
    input->accept();
}

void BoxPlayer::escape(QDialog& box) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &escape);
}

bool BoxPlayer::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QDialog*>(watched);
    if (event->type() != QEvent::Show || event->spontaneous() || !box || !box->isWindow() ||
        !box->testAttribute(Qt::WA_ShowModal)) {
        return false;
    }
    // Each step runs from a timer of its own: a step that opens a box leaves the next one
    // free to act on it.
    QTimer::singleShot(5, this, [this, shown = QPointer<QDialog>(box)] {
        if (!shown || !shown->isVisible()) {
            return;
        }
        shown_.push_back(
            {shown->frameGeometry(), shown->parentWidget(), shown->windowTitle().toStdString()});
        if (next_ < steps_.size()) {
            steps_[next_++](*shown);
        } else {
            escape(*shown);
        }
    });
    return false;
}
