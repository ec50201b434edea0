#include "Ansi.h"
#include "HiscoreUi.h"
#include "InfoModel.h"
#include "QFTModuleDesktop.h"
#include "Timer.h"

#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// "Vantorix Internet Module": shown without blocking, kept in front while it is loaded.
class frmInfo : public InfoModel {
public:
    explicit frmInfo(QWidget* parent) : parent_(parent) {
        fgTimer.setInterval(1000);
        fgTimer.onTick = [this] {
            if (window_) {
                BringWindowToFront(window_);
            }
        };
    }
    ~frmInfo() override { Unload(); }

protected:
    void loadedNow() override {
        window_ = new QWidget(parent_, Qt::Dialog);
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
        window_->setWindowTitle("Vantorix Internet Module");
        label_ = new QLabel(window_);
        label_->setTextFormat(Qt::PlainText);
        label_->setAlignment(Qt::AlignCenter);
        label_->setMinimumWidth(320);
        auto* layout = new QVBoxLayout(window_);
        layout->addWidget(label_);
        window_->show();
        fgTimer.setEnabled(true);
    }
    void labelChanged() override {
        if (label_) {
            label_->setText(ansi::toQString(Label1()));
            // Wide enough for a long server name.
            window_->adjustSize();
            label_->repaint();
        }
    }
    void unloadedNow() override {
        fgTimer.setEnabled(false);
        // An event to the window may still be handled further down the stack (a key that
        // opened a box over it): the window goes once that is done.
        if (window_) {
            window_->hide();
            window_->deleteLater();
        }
        window_ = nullptr;
        label_ = nullptr;
    }

private:
    QWidget* parent_;
    QPointer<QWidget> window_;
    QPointer<QLabel> label_;
    Timer fgTimer;
};

} // namespace

std::unique_ptr<InfoModel> makeInfoWindow(QWidget* parent) {
    return std::make_unique<frmInfo>(parent);
}
