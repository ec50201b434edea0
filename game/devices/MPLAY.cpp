#include "MPLAY.h"

#include "ColorFader.h"
#include "Numbers.h"
#include "Surface.h"
#include "SurfaceView.h"
#include "TextCase.h"

#include <QEvent>
#include <algorithm>
#include <cctype>
#include <limits>

namespace {

VbLong clampLong(std::int64_t v) {
    return static_cast<VbLong>(std::clamp<std::int64_t>(v, std::numeric_limits<VbLong>::min(),
                                                        std::numeric_limits<VbLong>::max()));
}

std::string lastThreeLower(const std::string& name) {
    return lowerCase(name.size() > 3 ? name.substr(name.size() - 3) : name);
}

bool isOneOf(const std::string& end, std::initializer_list<const char*> kinds) {
    return std::any_of(kinds.begin(), kinds.end(), [&](const char* k) { return end == k; });
}

} // namespace

struct MPLAY::Bar {
    std::unique_ptr<Surface> picture;
    SurfaceView* view = nullptr;
};

MPLAY::MPLAY(QWidget* parent, Clock& clock) : QWidget(parent), UpdateStat(clock), AutoLoop(clock) {
    UpdateStat.setInterval(25);
    UpdateStat.onTick = [this] { UpdateStat_Timer(); };
    AutoLoop.setInterval(1000);
    AutoLoop.onTick = [this] { AutoLoop_Timer(); };
    addBar();
    vu_[0]->view->setVisible(false);
}

MPLAY::~MPLAY() {
    // Take the music off the mixer before the objects go.
    if (initialised_) {
        CloseObject();
    }
    module_.reset();
    stream_.reset();
}

void MPLAY::addBar() {
    auto bar = std::make_unique<Bar>();
    bar->picture = std::make_unique<Surface>(1, 1);
    bar->picture->setBackColor(0);
    bar->view = new SurfaceView(bar->picture.get(), this);
    bar->view->installEventFilter(this);
    vu_.push_back(std::move(bar));
}

Surface& MPLAY::Vu(int index) const {
    return *vu_.at(static_cast<std::size_t>(index))->picture;
}

SurfaceView& MPLAY::VuView(int index) const {
    return *vu_.at(static_cast<std::size_t>(index))->view;
}

void MPLAY::InitSoundSystem() {
    music::startAudio(); // without sound every later call answers neutral
    initialised_ = true;
}

bool MPLAY::PlayFile(const std::string& lzFileName, VbLong LoopAtTimePos, bool StreamWavMpgLoop) {
    paused_ = false;
    if (module_ || stream_) {
        StopFile();
    }
    InitSoundSystem();
    lastError_.clear();
    const std::string end = lastThreeLower(lzFileName);
    if (isOneOf(end, {"mp3", "wav", "mp2", "mpg", "iff", ".au", "wma", "asf"})) {
        stream_ = music::Stream::open(lzFileName, StreamWavMpgLoop, &lastError_);
        if (stream_) {
            stream_->play();
        }
        SetVuVisual();
        return false;
    }
    if (isOneOf(end, {"mod", "s3m", ".xm", ".it", "mid", "rmi", "sgt", "dat"})) {
        module_ = music::Module::load(lzFileName, &lastError_);
        if (!module_) {
            return false;
        }
        if (!module_->play()) {
            lastError_ = lzFileName + ": the module does not start";
            return false; // stays loaded until the next StopFile
        }
        SetVuVisual();
        loopTime_ = LoopAtTimePos;
        if (LoopAtTimePos > 0) {
            AutoLoop.setEnabled(true);
        }
        return true;
    }
    lastError_ = lzFileName + ": not a kind of music file this player plays";
    return false;
}

bool MPLAY::StopFile() {
    bool result = false;
    if (stream_) {
        stream_->stop();
        stream_.reset();
        AutoLoop.setEnabled(false);
        UpdateStat.setEnabled(false);
        result = true;
    }
    if (module_) {
        AutoLoop.setEnabled(false);
        UpdateStat.setEnabled(false);
        if (!module_->stop()) {
            return false;
        }
        module_.reset();
        result = true;
    }
    return result;
}

void MPLAY::CloseObject() {
    if (!initialised_) {
        return;
    }
    // The device is shared with the sound effects: the music lets go of it and of
    // everything it had open, so no handle outlives the shut-down.
    AutoLoop.setEnabled(false);
    UpdateStat.setEnabled(false);
    module_.reset();
    stream_.reset();
    music::releaseAll();
    initialised_ = false;
}

void MPLAY::AutoLoop_Timer() {
    if (loopTime_ > 0 && module_ && CurTime() >= loopTime_) {
        module_->stop();
        module_->play();
        module_->setOrder(0);
    }
}

void MPLAY::SetVuVisual() {
    barCount_ = NumberOfChannels();
    while (vu_.size() > 1) {
        vu_.back()->view->removeEventFilter(this);
        delete vu_.back()->view;
        vu_.pop_back();
    }
    if (barCount_ >= -1) {
        ColorFader fader;
        fader.setSteps(barCount_);
        fader.setStartColor(65535);
        fader.setEndColor(255);
        auto give = [&](Bar& bar) {
            const VbLong c = fader.GetNextColor();
            if (c != -1) { // an unset fade gives no colour; the bar keeps its own
                bar.picture->setForeColor(c);
            }
        };
        give(*vu_[0]);
        for (VbLong i = 1; i <= barCount_ - 1; ++i) {
            addBar();
            give(*vu_.back());
        }
    }
    for (auto& bar : vu_) {
        bar->view->setVisible(vuMeter_);
    }
    UserControl_Resize();
}

void MPLAY::UserControl_Resize() {
    const int sw = width();
    const int sh = height();
    auto place = [&](Bar& bar, int x, int w) {
        bar.view->setGeometry(x, 0, w, sh);
        bar.picture->setSize(std::max(w, 1), std::max(sh, 1));
    };
    if (barCount_ != 0 && barCount_ != -1) {
        const int bw = static_cast<int>(num::roundHalfEven(static_cast<double>(sw) / barCount_));
        for (std::size_t i = 0; i < vu_.size(); ++i) {
            place(*vu_[i], static_cast<int>(i) * bw, bw);
        }
    } else {
        place(*vu_[0], 0, sw);
    }
}

void MPLAY::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

bool MPLAY::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        for (auto& bar : vu_) {
            if (bar->view == watched) {
                UserControl_Resize(); // Vu_Click
                break;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MPLAY::UpdateStat_Timer() {
    if (stream_) {
        if (StreamStats) {
            StreamStats(StreamPosition(), StreamTime());
        }
    } else if (Stats) {
        Stats(IsPlaying(), CurTime(), CurCPUUsage(), paused_, CurRow(), CurPattern());
    }
    if (vuMeter_ && barCount_ >= 0) {
        for (int i = 0; i < VuCount(); ++i) {
            DrawVu(i, CurVu(i));
        }
    }
}

void MPLAY::DrawVu(int index, double level) {
    Surface& bar = Vu(index);
    const double sh = bar.ScaleHeight();
    const double lv = num::roundHalfEven(level * 255.0);
    double h = num::roundHalfEven(sh / 255.0 * lv);
    if (h < 0.4 * sh) {
        // Short bars are drawn longer, so a quiet channel still shows.
        h = num::roundHalfEven(h + h * vuOffsetAdd_);
    }
    bar.Cls();
    bar.FilledBox(0, sh - h, bar.ScaleWidth(), sh, bar.ForeColor());
    bar.Refresh();
}

void MPLAY::setVuMeter(bool on) {
    vuMeter_ = on;
    for (auto& bar : vu_) {
        bar->view->setVisible(on);
    }
}

// ---- status

std::string MPLAY::SongTitle() const {
    return module_ ? module_->name() : "";
}

VbLong MPLAY::MasterVolume() const {
    return module_ ? module_->masterVolume() : -1;
}

void MPLAY::setMasterVolume(VbLong value) {
    if (module_) {
        module_->setMasterVolume(value);
    }
}

VbLong MPLAY::GlobalVolume(VbLong channel) const {
    if (module_) {
        return std::max(module_->channelVolume(channel), 0);
    }
    if (stream_) {
        return channel == 0 ? stream_->volume() : 0;
    }
    return -1;
}

void MPLAY::setGlobalVolume(VbLong channel, VbLong value) {
    if (module_) {
        module_->setChannelVolume(channel, value);
    } else if (stream_ && channel == 0) {
        stream_->setVolume(value);
    }
}

void MPLAY::setPauseModule(bool on) {
    if (module_) {
        module_->setPaused(on);
        paused_ = on;
    }
}

VbLong MPLAY::CurTime() const {
    return module_ ? clampLong(module_->playTimeMs()) : 0;
}

bool MPLAY::IsPlaying() const {
    return module_ && module_->isPlaying();
}

bool MPLAY::StreamIsPlaying() const {
    return stream_ && stream_->isPlaying();
}

float MPLAY::CurVu(VbLong channel) const {
    if (module_) {
        return static_cast<float>(module_->channelVu(channel));
    }
    if (stream_) {
        return channel == 0 ? static_cast<float>(stream_->vu()) : 0.0f;
    }
    return 0.0f;
}

VbLong MPLAY::CurCPUUsage() const {
    return static_cast<VbLong>(num::roundHalfEven(music::cpuUsage()));
}

VbLong MPLAY::StreamLength() const {
    return stream_ ? clampLong(stream_->length()) : 0;
}

bool MPLAY::StreamIsPaused() const {
    return stream_ && stream_->isPaused();
}

VbLong MPLAY::StreamPosition() const {
    return stream_ ? clampLong(stream_->position()) : 0;
}

VbLong MPLAY::StreamTime() const {
    return stream_ ? clampLong(stream_->timeMs()) : 0;
}

void MPLAY::setStreamPause(bool on) {
    if (stream_) {
        stream_->setPaused(on);
    }
}

VbLong MPLAY::CurRow() const {
    return module_ ? module_->row() : 0;
}

VbLong MPLAY::CurPattern() const {
    return module_ ? module_->pattern() : 0;
}

VbLong MPLAY::NumberOfPatterns() const {
    return module_ ? module_->numPatterns() : 0;
}

std::string MPLAY::CurType() const {
    return module_ ? num::toText(static_cast<int>(module_->type())) : "";
}

VbLong MPLAY::NumberOfSamples() const {
    return module_ ? module_->numSamples() : 0;
}

VbLong MPLAY::sample(VbLong SampleNo) const {
    // A handle: non-zero for every sample the module has.
    if (!module_ || SampleNo < 0 || SampleNo >= module_->numSamples()) {
        return 0;
    }
    return SampleNo + 1;
}

VbLong MPLAY::CurMixingFrequency(VbLong) const {
    return music::mixingFrequency();
}

VbLong MPLAY::NumberOfChannels() const {
    if (module_) {
        return module_->numChannels();
    }
    return stream_ ? 1 : -1;
}

VbInteger MPLAY::ThrowStatEventsInterval() const {
    return static_cast<VbInteger>(UpdateStat.Interval());
}

void MPLAY::setThrowStatEventsInterval(VbInteger ms) {
    UpdateStat.setInterval(ms);
}

bool MPLAY::ThrowEvents() const {
    return UpdateStat.Enabled();
}

void MPLAY::setThrowEvents(bool on) {
    UpdateStat.setEnabled(on);
}
