#pragma once

#include "Color.h"
#include "DialogService.h"
#include "FileBytes.h"
#include "FileDialogService.h"
#include "MainEditModel.h"
#include "ManualClock.h"
#include "QFTModule.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

// A program folder with its alien pictures (image above mask: a coloured block on white
// over its black shape on white), a scripted set of boxes and file dialogs, a manual clock
// and an editor model after its start-up. Kinds 0..7 are 24 x 18, 8..10 are 32 x 24.
class EditorFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        app = dir.path().toStdString() + "/";
        QDir(dir.path()).mkpath("gfx/hi_color");
        QDir(dir.path()).mkpath("custom_levels");
        for (int i = 0; i <= 20; i += 2) {
            writeAlienPicture(i);
        }
        setAppPathForTesting(app);
        setProgramTitle("vantedit");
        model = std::make_unique<MainEditModel>(clock);
        model->launchGame =
            [this](const std::string& program,
                   const std::vector<std::string>& arguments) -> std::optional<std::int64_t> {
            launches.push_back({program, arguments});
            if (!launchResult) {
                return std::nullopt;
            }
            runningGames.insert(nextPid);
            return nextPid++;
        };
        // Test launches copy their levels here, and their games run until a test ends them.
        QDir(dir.path()).mkpath("tmp");
        model->testCopies.parentFolder = app + "tmp";
        model->testCopies.gameRunning = [this](std::int64_t pid) {
            return runningGames.count(pid) > 0;
        };
    }

    void start(const std::string& commandLine = "") {
        model->CommandLine = commandLine;
        ASSERT_TRUE(model->Form_Load());
        dialogs.clear();
    }

    void writeAlienPicture(int n) {
        const int w = n >= 16 ? 32 : 24;
        const int h = n >= 16 ? 24 : 18;
        QImage img(w, 2 * h, QImage::Format_RGB32);
        img.fill(Qt::white);
        for (int y = 2; y < h - 2; ++y) {
            for (int x = 2; x < w - 2; ++x) {
                img.setPixel(x, y, qRgb(200, 40 + n, 40));
                img.setPixel(x, y + h, qRgb(0, 0, 0));
            }
        }
        const std::string name =
            app + "gfx/hi_color/monster" + (n < 10 ? "0" : "") + std::to_string(n) + ".bmp";
        ASSERT_TRUE(img.save(QString::fromStdString(name), "BMP"));
    }

    std::string path(const std::string& name) const { return app + name; }
    static void put(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }

    // A palette drop with the mouse at (x, y), the item grabbed at (gx, gy).
    void dropFromPalette(int kind, double gx, double gy, double x, double y) {
        const PaletteItem& item = model->CurMonster[kind];
        ASSERT_TRUE(model->paletteMouseDown(mousebutton::Left, item.Left + gx, item.Top + gy));
        model->dragOverPane(x, y);
        model->dropOnPane(x, y);
    }

    // Lifts placed alien i at (gx, gy) inside it and drops with the mouse at (x, y).
    void dragPlaced(int i, double gx, double gy, double x, double y) {
        const PlacedPicture& p = model->Mz[i];
        ASSERT_TRUE(model->paneMouseDown(mousebutton::Left, 0, p.Left + gx, p.Top + gy));
        model->dragOverPane(x, y);
        model->dropOnPane(x, y);
    }

    const EditAlienRec& alien(int i) const { return model->EditLevels[model->CurLevel].Aliens[i]; }
    const std::vector<EditAlienRec>& aliens() const {
        return model->EditLevels[model->CurLevel].Aliens;
    }

    std::vector<std::string> prompts() const { return dialogs.prompts(); }

    struct Launch {
        std::string program;
        std::vector<std::string> arguments;
    };

    QTemporaryDir dir;
    std::string app;
    ManualClock clock;
    ScriptedDialogs dialogs;
    ScriptedFileDialogs files;
    std::unique_ptr<MainEditModel> model;
    std::vector<Launch> launches;
    bool launchResult = true;
    std::int64_t nextPid = 101;
    std::set<std::int64_t> runningGames;
};
