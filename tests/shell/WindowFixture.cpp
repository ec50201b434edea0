#include "WindowFixture.h"

#include "QFTModule.h"
#include "Random.h"
#include "Settings.h"

#include <QDir>
#include <QFile>

WindowFixture::WindowFixture() {
    Clock::install(&clock);
    DialogService::install(&dialogs);
    Random::instance().clearQueue();
    const QString bin = QStringLiteral(VANTORIX_BIN_DIR);
    QDir root(dir.path());
    QFile::link(bin + "/gfx", root.filePath("gfx"));
    QFile::link(bin + "/sfx", root.filePath("sfx"));
    root.mkpath("Original_levels");
    root.mkpath("screendumps");
    QFile::copy(bin + "/Original_levels/data.dat", root.filePath("Original_levels/data.dat"));
    setAppPathForTesting(dir.path().toStdString() + "/");
    LevelFilePath.clear();
    SkipIntroScreen = false;
    FirstUseFlag = false;
    DirectSoundReady = false;
}

WindowFixture::~WindowFixture() {
    shell.reset();
    engine.reset();
    form.reset();
    DialogService::install(nullptr);
    Clock::install(nullptr);
    Random::instance().clearQueue();
    setAppPathForTesting("");
}

GameShell& WindowFixture::open(const std::string& commandLine) {
    form = std::make_unique<GameForm>();
    engine = std::make_unique<GameEngine>(*form);
    engine->fallbackSoundPlayer = [](const std::string&) {};
    shell = std::make_unique<GameShell>(*form, *engine, window, music, commandLine);
    return *shell;
}

GameShell& WindowFixture::start(const std::string& commandLine) {
    open(commandLine);
    shell->Form_Load();
    return *shell;
}

void WindowFixture::enableGameMenu() {
    form->mnuFile.Enabled = true;
}

std::string WindowFixture::setting(const std::string& section, const std::string& key) {
    return GetSetting("Vantorix", section, key, "<none>");
}

std::string WindowFixture::folder() const {
    return dir.path().toStdString() + "/";
}
