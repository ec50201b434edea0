#include "AudioSystem.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

// Points SDL at a driver that does not exist: the machine has no sound device.
class NoSoundDevice {
public:
    NoSoundDevice() {
        const char* v = std::getenv("SDL_AUDIODRIVER");
        saved_ = v ? v : "";
        audio::close();
        setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    }
    ~NoSoundDevice() {
        audio::close();
        setenv("SDL_AUDIODRIVER", saved_.c_str(), 1);
    }

private:
    std::string saved_;
};

} // namespace

TEST(AudioSystem, DummyDriverOpensOnceAndCountsOneDevice) {
    audio::close();
    ASSERT_TRUE(audio::open());
    EXPECT_TRUE(audio::open());
    EXPECT_TRUE(audio::isOpen());
    EXPECT_GE(audio::outputDeviceCount(), 1);
    audio::close();
    EXPECT_FALSE(audio::isOpen());
    // Opens again after a close.
    EXPECT_TRUE(audio::open());
    audio::close();
}

TEST(AudioSystem, CloseRunsListenersWhileTheMixerIsOpen) {
    ASSERT_TRUE(audio::open());
    int runs = 0;
    bool wasOpen = false;
    const int id = audio::addCloseListener([&] {
        ++runs;
        wasOpen = audio::isOpen();
    });
    const int gone = audio::addCloseListener([&] { runs += 100; });
    audio::removeCloseListener(gone);
    audio::close();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(wasOpen);
    audio::removeCloseListener(id);
}

TEST(AudioSystem, ReserveChannelsOnlyGrows) {
    ASSERT_TRUE(audio::open());
    EXPECT_GE(audio::channelCount(), 8);
    audio::reserveChannels(40);
    EXPECT_EQ(audio::channelCount(), 40);
    audio::reserveChannels(3);
    EXPECT_EQ(audio::channelCount(), 40);
    audio::close();
    EXPECT_EQ(audio::channelCount(), 0);
}

TEST(AudioSystem, NoDeviceRunsSilent) {
    NoSoundDevice none;
    EXPECT_FALSE(audio::open());
    EXPECT_FALSE(audio::isOpen());
    EXPECT_EQ(audio::outputDeviceCount(), 0);
    audio::reserveChannels(8); // harmless without a device
}
