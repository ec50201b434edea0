#include "AssetNames.h"
#include "FileRead.h"
#include "Surface.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

const std::string gfx = binDir() + "/gfx/hi_color/";

// Through the programs' own decoder, which reads BMP and GIF only.
QImage load(const std::string& name) {
    return decodePicture(readFile(gfx + name, FileKind::Picture));
}

struct FrameSize {
    int width, height; // of the frame, half the picture's height
};

FrameSize frameOf(const std::string& name) {
    QImage image = load(name);
    return {image.width(), image.height() / 2};
}

TEST(Pictures, EveryFileTheGameLoadsIsThereByItsExactName) {
    // Names must match exactly: the list of the folder, not a case-folding lookup.
    QStringList present = QDir(QString::fromStdString(gfx)).entryList(QDir::Files);
    std::vector<std::string> wanted = spriteFrameNames();
    for (const std::string& n : plainPictureNames())
        wanted.push_back(n);
    for (const std::string& name : wanted) {
        EXPECT_TRUE(present.contains(QString::fromStdString(name))) << name;
        EXPECT_FALSE(load(name).isNull()) << name << " does not load";
    }
    EXPECT_EQ(present.size(), static_cast<qsizetype>(wanted.size())) << "unexpected extra files";
}

TEST(Pictures, EverySpriteFrameIsImageOnWhiteOverItsExactMask) {
    for (const std::string& name : spriteFrameNames()) {
        QImage picture = load(name).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(picture.isNull()) << name;
        ASSERT_EQ(picture.height() % 2, 0) << name << " has an odd height";
        const int h = picture.height() / 2;
        int inked = 0, faults = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < picture.width(); ++x) {
                QRgb image = picture.pixel(x, y) & 0xFFFFFF;
                QRgb mask = picture.pixel(x, y + h) & 0xFFFFFF;
                bool maskOk = mask == 0x000000 || mask == 0xFFFFFF;
                bool matches = (mask == 0x000000) == (image != 0xFFFFFF);
                if (!maskOk || !matches)
                    ++faults;
                inked += mask == 0x000000;
            }
        EXPECT_EQ(faults, 0) << name << ": mask and image disagree at " << faults << " pixels";
        // Only the last frames of an explosion may have burnt out completely.
        if (name.find("explosion") == std::string::npos && name.rfind("exp", 0) != 0) {
            EXPECT_GT(inked, 0) << name << " is empty";
        }
    }
}

TEST(Pictures, FramesOfOneSpriteShareTheirSize) {
    auto sameSize = [](const std::vector<std::string>& names) {
        FrameSize first = frameOf(names[0]);
        for (const std::string& n : names) {
            FrameSize f = frameOf(n);
            EXPECT_EQ(f.width, first.width) << n;
            EXPECT_EQ(f.height, first.height) << n;
        }
    };
    for (int type = 0; type <= 10; ++type)
        sameSize({"monster" + twoDigits(2 * type) + ".bmp",
                  "monster" + twoDigits(2 * type + 1) + ".bmp"});
    sameSize({"ship00.bmp", "ship01.bmp", "ship00b.bmp", "ship01b.bmp"});
    sameSize({"alien_shoot00.bmp", "alien_shoot01.bmp"});
    sameSize({"ebonus0.bmp", "ebonus1.bmp"});
    for (const char* set : {"exp", "explosion", "sexplosion", "bigexplosion"}) {
        std::vector<std::string> frames;
        for (int i = 0; i < 16; ++i)
            frames.push_back(set + twoDigits(i) + ".bmp");
        sameSize(frames);
    }
    std::vector<std::string> pickups;
    for (int i = 0; i < 10; ++i)
        pickups.push_back("drop" + twoDigits(i) + ".bmp");
    for (int i = 0; i < 16; ++i)
        pickups.push_back("drop_rnd" + twoDigits(i) + ".bmp");
    sameSize(pickups);
}

TEST(Pictures, SizesFitTheWindow) {
    QImage pane = load("background00.bmp");
    EXPECT_EQ(pane.size(), QSize(400, 420));
    // The ship sits on the pane's bottom edge, below the shield line at y = 375.
    EXPECT_LE(frameOf("ship00.bmp").height, pane.height() - 375 - 1);
    for (const char* panel : {"background01.bmp", "background02.bmp", "background03.bmp"})
        EXPECT_EQ(load(panel).size(), QSize(190, 22)) << panel;
    EXPECT_EQ(load("disk.bmp").size(), QSize(200, 205));
    EXPECT_EQ(load("help.bmp").size(), pane.size());
    // Six spare-ship icons side by side in a panel, plus the one with the plus sign.
    QImage life = load("ship_live.gif");
    EXPECT_LE(6 * life.width() + load("ship_live+.gif").width(), 190);
    EXPECT_LE(life.height(), 22);
    // The special aliens are the big ones.
    EXPECT_GT(frameOf("monster16.bmp").width, frameOf("monster00.bmp").width);
}

TEST(Pictures, SpareShipIconsAreRealGifsWithTransparency) {
    for (const char* name : {"ship_live.gif", "ship_live+.gif"}) {
        QFile file(QString::fromStdString(gfx + name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(file.read(6) == "GIF89a") << name;
        QImage icon = load(name);
        ASSERT_TRUE(icon.hasAlphaChannel()) << name;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << name << ": the corner should be see-through";
    }
}

} // namespace
