#include "ModuleEngine.h"

#include <algorithm>
#include <cmath>
#include <libopenmpt/libopenmpt.hpp>
#include <libopenmpt/libopenmpt_ext.hpp>
#include <sstream>

namespace music {

namespace {

class TrackerModuleEngine : public ModuleEngine {
public:
    bool open(const std::vector<char>& data, std::string& error) {
        try {
            std::ostringstream log; // libopenmpt's notes are not for the player
            mod_ = std::make_unique<openmpt::module_ext>(data.data(), data.size(), log);
            interactive_ = static_cast<openmpt::ext::interactive*>(
                mod_->get_interface(openmpt::ext::interactive_id));
            // Songs loop at their end, as the classic players did.
            mod_->set_repeat_count(-1);
        } catch (...) {
            error = "not a module libopenmpt can read";
            return false;
        }
        return true;
    }

    void render(float* out, std::size_t frames, int rate) override {
        mod_->read_interleaved_stereo(rate, frames, out);
    }

    std::string name() const override {
        return ask([&] { return mod_->get_metadata("title"); }, std::string());
    }

    ModuleType type() const override {
        const std::string t = ask([&] { return mod_->get_metadata("type"); }, std::string());
        if (t == "mod") {
            return TypeMod;
        }
        if (t == "s3m") {
            return TypeS3m;
        }
        if (t == "xm") {
            return TypeXm;
        }
        if (t == "it" || t == "mptm") {
            return TypeIt;
        }
        return TypeNone;
    }

    void restart() override { setOrder(0); }

    void setOrder(int order) override {
        ask(
            [&] {
                mod_->set_position_order_row(order, 0);
                return 0;
            },
            0);
    }

    int row() const override {
        return ask([&] { return static_cast<int>(mod_->get_current_row()); }, 0);
    }
    int pattern() const override {
        return ask([&] { return static_cast<int>(mod_->get_current_pattern()); }, 0);
    }
    int order() const override {
        return ask([&] { return static_cast<int>(mod_->get_current_order()); }, 0);
    }
    int numPatterns() const override {
        return ask([&] { return static_cast<int>(mod_->get_num_patterns()); }, 0);
    }
    int numSamples() const override {
        return ask([&] { return static_cast<int>(mod_->get_num_samples()); }, 0);
    }
    int numChannels() const override {
        return ask([&] { return static_cast<int>(mod_->get_num_channels()); }, 0);
    }

    double channelVu(int channel) const override {
        return ask(
            [&] {
                if (channel < 0 || channel >= mod_->get_num_channels()) {
                    return 0.0;
                }
                return std::clamp(static_cast<double>(mod_->get_current_channel_vu_mono(channel)),
                                  0.0, 1.0);
            },
            0.0);
    }

    int channelVolume(int channel) const override {
        return ask(
            [&] {
                if (!interactive_ || channel < 0 || channel >= mod_->get_num_channels()) {
                    return -1;
                }
                return static_cast<int>(
                    std::nearbyint(interactive_->get_channel_volume(channel) * 255.0));
            },
            -1);
    }

    void setChannelVolume(int channel, int volume) override {
        ask(
            [&] {
                if (interactive_ && channel >= 0 && channel < mod_->get_num_channels()) {
                    interactive_->set_channel_volume(channel, std::clamp(volume, 0, 255) / 255.0);
                }
                return 0;
            },
            0);
    }

private:
    // One libopenmpt question; its failure gives the fallback.
    template <typename F, typename T> static T ask(F f, T fallback) {
        try {
            return f();
        } catch (...) {
            return fallback;
        }
    }

    std::unique_ptr<openmpt::module_ext> mod_;
    openmpt::ext::interactive* interactive_ = nullptr;
};

} // namespace

std::unique_ptr<ModuleEngine> openTrackerModule(const std::vector<char>& data, std::string& error) {
    auto engine = std::make_unique<TrackerModuleEngine>();
    if (!engine->open(data, error)) {
        return nullptr;
    }
    return engine;
}

} // namespace music
