#include "PlayerFixture.h"

#include "AudioSystem.h"
#include "MusicFixtures.h"

#include <QThread>

PlayerFixture::PlayerFixture(Drive drive) {
    if (drive == Drive::ByHand) {
        audio::close(); // whatever an earlier test left open
        mixer.emplace();
    }
}

void PlayerFixture::SetUp() {
    if (!mixer) {
        ASSERT_TRUE(audio::open()) << "SDL's audio driver should open";
    }
    Clock::install(&clock);
    player = std::make_unique<MPLAY>();
    dir = dirHolder.path().toStdString();
}

void PlayerFixture::TearDown() {
    player.reset();
    Clock::install(nullptr);
    if (mixer) {
        EXPECT_FALSE(audio::isOpen()) << "played by hand, the device stays closed";
    }
}

bool PlayerFixture::waitUntil(const std::function<bool()>& done) {
    if (mixer) {
        return mixer->runUntil(done, fixtures::kPatienceMs);
    }
    return fixtures::waitUntil(done);
}

void PlayerFixture::pass(int ms) {
    if (mixer) {
        mixer->advance(static_cast<std::uint64_t>(ms));
    } else {
        QThread::msleep(static_cast<unsigned long>(ms));
    }
}

void PrintTo(Drive drive, std::ostream* out) {
    *out << (drive == Drive::ByHand ? "ByHand" : "OnTheDevice");
}

std::string driveName(const testing::TestParamInfo<Drive>& info) {
    return testing::PrintToString(info.param);
}
