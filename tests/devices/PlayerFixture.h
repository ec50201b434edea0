#pragma once

#include "MPLAY.h"
#include "ManualClock.h"
#include "ManualMixer.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

// What moves the music: the test pulling the mixer by hand (the device stays closed and no
// time passes but what the test renders), or SDL's device in real time.
enum class Drive { ByHand, OnTheDevice };
void PrintTo(Drive drive, std::ostream* out);

// A music player on either drive, with the timers on a ManualClock and a folder for the
// files a test writes.
class PlayerFixture : public testing::Test {
protected:
    explicit PlayerFixture(Drive drive);
    void SetUp() override;
    void TearDown() override;

    // Until done(), within the patience; on the device it polls, by hand it renders.
    bool waitUntil(const std::function<bool()>& done);
    // Lets ms of music go by.
    void pass(int ms);

    std::optional<ManualMixer> mixer; // by hand only; outlives the player
    ManualClock clock;
    QTemporaryDir dirHolder;
    std::string dir;
    std::unique_ptr<MPLAY> player;
};

// Names the instances of a test run on both drives.
std::string driveName(const testing::TestParamInfo<Drive>& info);
