#include "DialogService.h"
#include "FrmJoystickSetup.h"
#include "JoystickInput.h"
#include "ManualClock.h"
#include "Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace {

std::string setting(const char* key) {
    return GetSetting("Vantorix", "DEVMODE", key, "<none>");
}

bool lit(const QLabel* l) {
    return l->palette().color(QPalette::WindowText) == QColor(255, 0, 0) && l->font().bold();
}
bool dark(const QLabel* l) {
    return l->palette().color(QPalette::WindowText) == QColor(0, 0, 0) && !l->font().bold();
}

class JoystickSetupTest : public testing::Test {
protected:
    void SetUp() override {
        Clock::install(&clock);
        joy::setProgramActiveForTesting(true);
    }
    void TearDown() override {
        dlg.reset();
        device.reset();
        joy::setProgramActiveForTesting(std::nullopt);
        Clock::install(nullptr);
    }
    void plugIn() { device = std::make_unique<joy::VirtualDevice>(joy::Kind::Joystick); }
    FrmJoystickSetup& open() {
        dlg = std::make_unique<FrmJoystickSetup>();
        return *dlg;
    }

    // A pad, stored settings that are not the defaults, and Defaults pressed.
    FrmJoystickSetup& openWithStoredValuesThenDefaults() {
        plugIn();
        SaveSetting("Vantorix", "DEVMODE", "JOYSTICKBUTTON", "5");
        SaveSetting("Vantorix", "DEVMODE", "JOYTUNE", "3000");
        FrmJoystickSetup& d = open();
        d.Command2->click();
        return d;
    }

    ManualClock clock;
    std::unique_ptr<joy::VirtualDevice> device;
    std::unique_ptr<FrmJoystickSetup> dlg;
};

TEST_F(JoystickSetupTest, LoadsTheStoredSettingsWithADevice) {
    plugIn();
    SaveSetting("Vantorix", "DEVMODE", "JOYSTICK", "0");
    SaveSetting("Vantorix", "DEVMODE", "JOYSTICKBUTTON", "7");
    SaveSetting("Vantorix", "DEVMODE", "JOYTUNE", "1200");
    FrmJoystickSetup& d = open();
    EXPECT_EQ(d.windowTitle(), "Vantorix - Joystick setup");
    EXPECT_EQ(d.Check1->text(), "Enable Joystick");
    EXPECT_EQ(d.Frame1->title(), "Select button for fire:");
    EXPECT_EQ(d.Frame3->title(), "Fine tune Analog joystick sensitivity");
    EXPECT_EQ(d.Label3->text(), "Press joystick button to select.");
    EXPECT_EQ(d.Label5->text(), "Move joystick to test");
    EXPECT_EQ(d.Command3->text(), "Windows GAMING OPTIONS...");
    EXPECT_TRUE(d.joystickPresent());
    EXPECT_FALSE(d.Check1->isChecked());
    EXPECT_FALSE(d.Combo1->isEnabled());
    ASSERT_EQ(d.Combo1->count(), 32);
    EXPECT_EQ(d.Combo1->itemText(0), "Button 01");
    EXPECT_EQ(d.Combo1->itemText(31), "Button 32");
    EXPECT_EQ(d.Combo1->currentIndex(), 7);
    EXPECT_EQ(d.VScroll1->value(), 1200);
    EXPECT_EQ(d.Label2->text(), "Comp. factor: 1200");
    d.Check1->click();
    EXPECT_TRUE(d.Combo1->isEnabled());
}

TEST_F(JoystickSetupTest, DefaultsWhenNothingIsStored) {
    plugIn();
    FrmJoystickSetup& d = open();
    EXPECT_TRUE(d.Check1->isChecked());
    EXPECT_TRUE(d.Combo1->isEnabled());
    EXPECT_EQ(d.Combo1->currentIndex(), 0);
    EXPECT_EQ(d.VScroll1->value(), 500);
    EXPECT_EQ(d.VScroll1->maximum(), 4500);
    EXPECT_EQ(d.VScroll1->pageStep(), 50);
    EXPECT_EQ(d.Label2->text(), "Comp. factor: 500");
}

TEST_F(JoystickSetupTest, WithoutADeviceNothingCanBeChosenAndOkWritesNothing) {
    SaveSetting("Vantorix", "DEVMODE", "JOYSTICK", "1");
    FrmJoystickSetup& d = open();
    EXPECT_FALSE(d.joystickPresent());
    ASSERT_EQ(d.Combo1->count(), 1);
    EXPECT_EQ(d.Combo1->currentText(), "NOT DETECTED");
    EXPECT_FALSE(d.Check1->isEnabled());
    EXPECT_FALSE(d.Check1->isChecked());
    EXPECT_FALSE(d.Combo1->isEnabled());
    d.VScroll1->setValue(3000);
    d.Command1->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(setting("JOYSTICK"), "1");
    EXPECT_EQ(setting("JOYSTICKBUTTON"), "<none>");
    EXPECT_EQ(setting("JOYTUNE"), "<none>");
}

TEST_F(JoystickSetupTest, PressedButtonSelectsItsItemEvenWhileTheListIsDisabled) {
    plugIn();
    SaveSetting("Vantorix", "DEVMODE", "JOYSTICK", "0");
    FrmJoystickSetup& d = open();
    ASSERT_FALSE(d.Combo1->isEnabled());
    device->setButton(4, true);
    clock.advance(50);
    EXPECT_EQ(d.Combo1->currentText(), "Button 05");
    EXPECT_EQ(d.selectedFireButton(), 4);
    // Several at once: the highest wins.
    device->setButton(9, true);
    device->setButton(2, true);
    clock.advance(50);
    EXPECT_EQ(d.selectedFireButton(), 9);
}

TEST_F(JoystickSetupTest, DirectionLabelsLightOutsideTheDeadBand) {
    plugIn();
    FrmJoystickSetup& d = open();
    EXPECT_EQ(d.TEST[0]->text(), "LEFT");
    EXPECT_EQ(d.TEST[1]->text(), "RIGHT");
    EXPECT_EQ(d.TEST[2]->text(), "UP");
    EXPECT_EQ(d.TEST[3]->text(), "DOWN");
    // From the device: full left and up.
    device->setAxis(0, -32768);
    device->setAxis(1, -32768);
    clock.advance(50);
    EXPECT_TRUE(lit(d.TEST[0]));
    EXPECT_TRUE(dark(d.TEST[1]));
    EXPECT_TRUE(lit(d.TEST[2]));
    EXPECT_TRUE(dark(d.TEST[3]));

    const dx8Joystick::SliderArray s{};
    const dx8Joystick::ButtonArray none{};
    struct Case {
        int tune;
        VbLong x, y;
        bool left, right, up, down;
    } cases[] = {
        {4500, 500, 9500, false, false, false, false}, // the band's edge counts as centred
        {4500, 499, 9501, true, false, false, true},   {4500, 9501, 499, false, true, true, false},
        {500, 4500, 5500, false, false, false, false}, {500, 4499, 5501, true, false, false, true},
        {0, 4999, 5000, true, false, false, false}, // 0: every position off centre
    };
    for (const Case& c : cases) {
        d.VScroll1->setValue(c.tune);
        d.dx8Joystick1_JoystickChange(c.x, c.y, 0, 0, 0, 0, s, none);
        EXPECT_EQ(lit(d.TEST[0]), c.left) << c.tune << " " << c.x;
        EXPECT_EQ(lit(d.TEST[1]), c.right) << c.tune << " " << c.x;
        EXPECT_EQ(lit(d.TEST[2]), c.up) << c.tune << " " << c.y;
        EXPECT_EQ(lit(d.TEST[3]), c.down) << c.tune << " " << c.y;
        for (QLabel* l : d.TEST) {
            EXPECT_TRUE(lit(l) || dark(l));
        }
    }
}

TEST_F(JoystickSetupTest, DraggingTheScrollBarUpdatesTheFactorAtEveryStep) {
    plugIn();
    FrmJoystickSetup& d = open();
    d.VScroll1->setSliderDown(true);
    for (int v : {600, 1234, 4500}) {
        d.VScroll1->setSliderPosition(v);
        EXPECT_EQ(d.Label2->text(), QString("Comp. factor: %1").arg(v));
    }
    d.VScroll1->setSliderDown(false);
}

TEST_F(JoystickSetupTest, OkWritesTheThreeKeys) {
    plugIn();
    FrmJoystickSetup& d = open();
    d.Check1->click(); // off
    d.Combo1->setCurrentIndex(12);
    d.VScroll1->setValue(2250);
    d.Command1->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(setting("JOYSTICK"), "0");
    EXPECT_EQ(setting("JOYSTICKBUTTON"), "12");
    EXPECT_EQ(setting("JOYTUNE"), "2250");
}

TEST_F(JoystickSetupTest, OkThatCannotStoreSaysSoOnceAndCloses) {
    ScriptedDialogs dialogs;
    DialogService::install(&dialogs);
    plugIn();
    ASSERT_TRUE(SaveSetting("Vantorix", "DEVMODE", "JOYTUNE", "700"));
    const std::string ini = settingsFilePath("Vantorix");
    ::chmod(ini.c_str(), 0444);
    FrmJoystickSetup& d = open();
    d.VScroll1->setValue(2250);
    d.Command1->click();
    ::chmod(ini.c_str(), 0644);
    DialogService::install(nullptr);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt,
              "ERROR! Unable to save the settings!\r\n\r\nPermission denied: \"" + ini + "\"");
    EXPECT_EQ(setting("JOYTUNE"), "700");
}

TEST_F(JoystickSetupTest, DefaultsThenCancelLeavesTheStoreUnchanged) {
    FrmJoystickSetup& d = openWithStoredValuesThenDefaults();
    EXPECT_EQ(d.VScroll1->value(), 500);
    EXPECT_EQ(d.Combo1->currentIndex(), 0);
    EXPECT_TRUE(d.Check1->isChecked());
    d.Command4->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(setting("JOYSTICKBUTTON"), "5");
    EXPECT_EQ(setting("JOYTUNE"), "3000");
    EXPECT_EQ(setting("JOYSTICK"), "<none>");
}

TEST_F(JoystickSetupTest, DefaultsThenOkWritesTheDefaults) {
    FrmJoystickSetup& d = openWithStoredValuesThenDefaults();
    d.Command1->click();
    EXPECT_EQ(setting("JOYSTICKBUTTON"), "0");
    EXPECT_EQ(setting("JOYTUNE"), "500");
    EXPECT_EQ(setting("JOYSTICK"), "1");
}

TEST_F(JoystickSetupTest, StoredButtonOutOfRangeIsKeptUnlessThePlayerPicks) {
    plugIn();
    SaveSetting("Vantorix", "DEVMODE", "JOYSTICKBUTTON", "40");
    FrmJoystickSetup& d = open();
    EXPECT_EQ(d.Combo1->currentIndex(), -1);
    d.Command1->click();
    EXPECT_EQ(setting("JOYSTICKBUTTON"), "40");
}

TEST_F(JoystickSetupTest, GamingOptionsOpensTheDesktopToolOrSaysThereIsNone) {
    plugIn();
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    QTemporaryDir bin;
    setenv("PATH", bin.path().toLocal8Bit().constData(), 1);
    ScriptedDialogs boxes;
    FrmJoystickSetup& d = open();

    d.Command3->click();
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].style, mb::Information);
    EXPECT_NE(boxes.calls()[0].prompt.find("jstest-gtk"), std::string::npos);

    // A stand-in for the tool that leaves a mark.
    const QString marker = bin.path() + "/started";
    const QString tool = bin.path() + "/jstest-gtk";
    QFile f(tool);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QString("#!/bin/sh\necho started > '%1'\n").arg(marker).toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    boxes.clear();
    d.Command3->click();
    for (int i = 0; i < 6000 && !QFile::exists(marker); ++i) { // a minute at most
        QThread::msleep(10);
    }
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_TRUE(boxes.calls().empty());
    EXPECT_EQ(d.result(), 0) << "the dialog stays open";
}

} // namespace
