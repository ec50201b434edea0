#include "frmControl.h"

#include "QFTModuleDesktop.h"
#include "Surface.h"
#include "SurfaceView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QVBoxLayout>

namespace {

constexpr std::int32_t Green = 0x00FF00;
constexpr std::int32_t Red = 0x0000FF;
constexpr int TextWidth = 280;
constexpr int LineHeight = 14;

struct TimerEntry {
    const char* name;
    Timer GameForm::*timer;
    bool highRes;
};

// The game window's timers in its control order.
constexpr TimerEntry Timers[] = {
    {"MainLoop", &GameForm::MainLoop, true},
    {"MoveAliensTimer", &GameForm::MoveAliensTimer, true},
    {"AlienShootTimer", &GameForm::AlienShootTimer, true},
    {"ShootTimer", &GameForm::ShootTimer, true},
    {"PlaceShipTimer", &GameForm::PlaceShipTimer, true},
    {"SpriteAnimation", &GameForm::SpriteAnimation, true},
    {"FastAnimationTimer", &GameForm::FastAnimationTimer, true},
    {"EndExplosion", &GameForm::EndExplosion, true},
    {"CantDieTimer", &GameForm::CantDieTimer, true},
    {"FrozenAliensTimer", &GameForm::FrozenAliensTimer, true},
    {"FrozenAliensCounter", &GameForm::FrozenAliensCounter, true},
    {"PaintDisplayTimer", &GameForm::PaintDisplayTimer, true},
    {"HideMessage", &GameForm::HideMessage, true},
    {"HideFade", &GameForm::HideFade, true},
    {"FadeTimer", &GameForm::FadeTimer, true},
    {"FlashTimer", &GameForm::FlashTimer, true},
    {"ShakeTimer", &GameForm::ShakeTimer, true},
    {"PauseTimer", &GameForm::PauseTimer, true},
    {"HiscorePrintTimer", &GameForm::HiscorePrintTimer, true},
    {"CreditTimer", &GameForm::CreditTimer, true},
    {"UpdateGradient", &GameForm::UpdateGradient, true},
    {"FocusTimer", &GameForm::FocusTimer, true},
    {"FlimmerTimer", &GameForm::FlimmerTimer, true},
    {"DemoSpriteAnimation", &GameForm::DemoSpriteAnimation, true},
    {"CheckForgroundWindow", &GameForm::CheckForgroundWindow, false},
    {"c64Screen", &GameForm::c64Screen, false},
    {"DemoTimer", &GameForm::DemoTimer, false},
    {"DemoFrameTimer", &GameForm::DemoFrameTimer, false},
    {"AutoDump", &GameForm::AutoDump, false},
};

const char* flag(bool b) {
    return b ? "True" : "False";
}

} // namespace

std::vector<DebugLine> debugLines(GameForm& form) {
    std::vector<DebugLine> lines;
    for (const TimerEntry& t : Timers) {
        const Timer& timer = form.*(t.timer);
        lines.push_back({std::string(t.name) + " : " + flag(timer.Enabled()) + "(" +
                             std::to_string(timer.Interval()) + ")",
                         t.highRes, timer.Enabled() ? Green : Red});
    }
    const bool shown = form.PicDispView.Visible;
    lines.push_back({std::string("PicDisp:") + flag(shown), false, shown ? Green : Red});
    return lines;
}

QPointer<frmControl> frmControl::open_;

frmControl::frmControl(GameForm& form, QWidget* gameWindow)
    : QWidget(gameWindow, Qt::Tool), f(form),
      text_(std::make_unique<Surface>(TextWidth, LineHeight * 31)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Threads (timer objects)");
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox("Advanced debug options", this);
    frame->setObjectName("Frame1");
    auto* fl = new QVBoxLayout(frame);
    Check1 = new QCheckBox("Disable page-flip (to see what is realy drawn in each loop)", frame);
    Check1->setObjectName("Check1");
    Check2 = new QCheckBox("Disable back-buffer RBB-RESET", frame);
    Check2->setObjectName("Check2");
    fl->addWidget(Check1);
    fl->addWidget(Check2);
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    connect(Check2, &QCheckBox::toggled, this, [this] { Check2_Click(); });
    layout->addWidget(frame);
    text_->setBackColor(0);
    text_->setFontName("Arial");
    text_->setFontSize(8);
    auto* view = new SurfaceView(text_.get(), this);
    view->setFixedSize(text_->Width(), text_->Height());
    layout->addWidget(view);

    Tmr1.setInterval(50);
    Tmr1.onTick = [this] { Tmr1_Timer(); };
    Form_Load();
}

frmControl::~frmControl() {
    Tmr1.onTick = nullptr;
    Tmr1.setEnabled(false);
    Form_Unload();
}

void frmControl::toggle(GameForm& form, QWidget* gameWindow) {
    if (DebugPanelOpen && open_) {
        open_->close();
        return;
    }
    auto* w = new frmControl(form, gameWindow);
    w->show();
}

frmControl* frmControl::instance() {
    return open_.data();
}

void frmControl::Form_Load() {
    open_ = this;
    DebugPanelOpen = true;
    SetWindowTopMost(this, VbTrue);
    Tmr1.setEnabled(true);
}

void frmControl::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    Tmr1.setEnabled(false);
    DebugPanelOpen = false;
    if (open_ == this) {
        open_ = nullptr;
    }
}

void frmControl::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmControl::Check1_Click() {
    f.pMain->setAutoRedraw(!Check1->isChecked());
}

void frmControl::Check2_Click() {
    f.pBack->setAutoRedraw(!Check2->isChecked());
}

void frmControl::Tmr1_Timer() {
    Surface& s = *text_;
    s.Cls();
    for (const DebugLine& line : debugLines(f)) {
        s.setFontBold(line.bold);
        s.setForeColor(line.color);
        s.Print(line.text);
    }
    s.Refresh();
}
