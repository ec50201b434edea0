#pragma once

#include "MusicBackend.h"
#include "Timer.h"
#include "VbTypes.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Surface;
class SurfaceView;

// The music player control: plays one file at a time, a tracker module (with status
// getters and an automatic restart at a loop time) or a stream, and shows an optional
// level meter of one bar per channel, yellow at the first channel towards red. Every call
// answers its neutral value when nothing suitable is open, or when there is no sound.
class MPLAY : public QWidget {
public:
    explicit MPLAY(QWidget* parent = nullptr, Clock& clock = Clock::instance());
    ~MPLAY() override;

    // True only when a module was loaded and started.
    bool PlayFile(const std::string& lzFileName, VbLong LoopAtTimePos,
                  bool StreamWavMpgLoop = false);
    bool StopFile();
    void SetVuVisual();
    // Why the last PlayFile played nothing, naming the file; "" when it played.
    const std::string& LastError() const { return lastError_; }
    void CloseObject();

    std::string SongTitle() const;
    VbLong MasterVolume() const;
    void setMasterVolume(VbLong value);
    VbLong GlobalVolume(VbLong channel) const;
    void setGlobalVolume(VbLong channel, VbLong value);
    bool Paused() const { return paused_; }
    void setPauseModule(bool on);
    void setPause(bool on) { setPauseModule(on); }
    VbLong CurTime() const;
    bool IsPlaying() const;
    bool StreamIsPlaying() const;
    float CurVu(VbLong channel) const;
    VbLong CurCPUUsage() const;
    VbLong StreamLength() const;
    bool StreamIsPaused() const;
    VbLong StreamPosition() const;
    VbLong StreamTime() const;
    void setStreamPause(bool on);
    VbLong CurRow() const;
    VbLong CurPattern() const;
    VbLong NumberOfPatterns() const;
    std::string CurType() const;
    VbLong NumberOfSamples() const;
    VbLong sample(VbLong SampleNo) const;
    VbLong CurMixingFrequency(VbLong channel) const;
    VbLong NumberOfChannels() const;
    VbInteger ThrowStatEventsInterval() const;
    void setThrowStatEventsInterval(VbInteger ms);
    bool ThrowEvents() const;
    void setThrowEvents(bool on);
    bool VuMeter() const { return vuMeter_; }
    void setVuMeter(bool on);
    float VuOffsetAdd() const { return vuOffsetAdd_; }
    void setVuOffsetAdd(float factor) { vuOffsetAdd_ = factor; }

    // Raised by the status timer: StreamStats while a stream is open, Stats otherwise.
    std::function<void(VbLong sPosition, VbLong sTime)> StreamStats;
    std::function<void(bool Playing, VbLong TimePos, VbLong CPULoad, bool Paused, VbLong Row,
                       VbLong Pat)>
        Stats;

    // The level bars: Vu(0) always exists.
    int VuCount() const { return static_cast<int>(vu_.size()); }
    Surface& Vu(int index) const;
    SurfaceView& VuView(int index) const;
    VbLong BarCount() const { return barCount_; }
    // Paints bar index for a level from 0 to 1, as the status timer does with CurVu.
    void DrawVu(int index, double level);

    void UpdateStat_Timer();
    void AutoLoop_Timer();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Bar;
    void InitSoundSystem();
    void UserControl_Resize();
    void addBar();

    Timer UpdateStat;
    Timer AutoLoop;
    std::unique_ptr<music::Module> module_;
    std::unique_ptr<music::Stream> stream_;
    bool paused_ = false;
    VbLong barCount_ = -1;
    bool initialised_ = false;
    VbLong loopTime_ = 0;
    bool vuMeter_ = false;
    float vuOffsetAdd_ = 0;
    std::vector<std::unique_ptr<Bar>> vu_;
    std::string lastError_;
};
