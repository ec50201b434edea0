#include "WindowActivations.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace {

bool isPlainWindow(const QWidget* w) {
    if (!w->isWindow()) {
        return false;
    }
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop:
        return false;
    default:
        return true;
    }
}

bool canTakeKeyboard(const QWidget* w) {
    return w && w->isVisible() && !w->isMinimized();
}

class ActivationHistory : public QObject {
public:
    static ActivationHistory* instance() {
        static QPointer<ActivationHistory> history;
        if (!history && QCoreApplication::instance()) {
            history = new ActivationHistory;
        }
        return history;
    }

    QWidget* lastShown() const {
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
            if (*it && (*it)->isVisible()) {
                return *it;
            }
        }
        return nullptr;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType()) {
            return false;
        }
        auto* w = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowActivate && isPlainWindow(w)) {
            std::erase_if(windows_, [w](const QPointer<QWidget>& p) { return !p || p == w; });
            windows_.emplace_back(w);
        } else if (event->type() == QEvent::Hide && !event->spontaneous() && isPlainWindow(w) &&
                   !windows_.empty() && windows_.back() == w &&
                   QGuiApplication::applicationState() == Qt::ApplicationActive) {
            // The window with the keyboard is put away (by now it is no longer the active
            // one); the next is chosen once the hiding is done, as a window that only
            // rebuilds its frame shows again.
            QTimer::singleShot(0, this, [this] { handKeyboardOn(); });
        }
        return false;
    }

private:
    ActivationHistory() : QObject(QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
    }

    void handKeyboardOn() {
        if (QApplication::activeWindow() || QApplication::activePopupWidget()) {
            return;
        }
        QWidget* next = nullptr;
        for (auto it = windows_.rbegin(); it != windows_.rend() && !next; ++it) {
            next = canTakeKeyboard(*it) ? it->data() : nullptr;
        }
        if (!next) {
            std::vector<QWidget*> shown;
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (isPlainWindow(w) && canTakeKeyboard(w)) {
                    shown.push_back(w);
                }
            }
            next = shown.size() == 1 ? shown.front() : nullptr;
        }
        if (next) {
            next->activateWindow();
        }
    }

    std::vector<QPointer<QWidget>> windows_;
};

void watchActivations() {
    ActivationHistory::instance();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchActivations)

QWidget* lastActiveWindowShown() {
    const ActivationHistory* history = ActivationHistory::instance();
    return history ? history->lastShown() : nullptr;
}
