// The picture set from the graphics folder and the sprite sets built from it.
#include "Color.h"
#include "EngineFixture.h"
#include "VbError.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Group {
    std::string prefix;
    int count;
};

// Every numbered group, with the number it is marked with in its pictures' first pixel.
const std::vector<Group> numbered = {{"monster", 22},     {"drop", 10},      {"drop_rnd", 16},
                                     {"exp", 16},         {"explosion", 16}, {"sexplosion", 16},
                                     {"bigexplosion", 16}};
const std::vector<std::string> named = {
    "ship00.bmp",        "ship01.bmp",        "ship00b.bmp",      "ship01b.bmp",
    "shoot00.bmp",       "shoot01.bmp",       "shoot02.bmp",      "shoot03.bmp",
    "alien_shoot00.bmp", "alien_shoot01.bmp", "background00.bmp", "background01.bmp",
    "background02.bmp",  "background03.bmp",  "x00.bmp",          "x01.bmp",
    "x02.bmp",           "x03.bmp",           "ebonus0.bmp",      "ebonus1.bmp",
    "ship_live.gif",     "ship_live+.gif",    "vantor_tsp.bmp"};

std::int32_t mark(int group, int index) {
    return color::rgb(group * 10 + 1, index, 77);
}

std::string two(int i) {
    std::string s = std::to_string(i);
    return s.size() < 2 ? "0" + s : s;
}

class GameEngineBitmaps : public testing::Test, public EngineFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (std::size_t g = 0; g < numbered.size(); ++g) {
            for (int i = 0; i < numbered[g].count; ++i) {
                std::string name = numbered[g].prefix + two(i) + ".bmp";
                // The folder's own spelling of a name does not matter.
                if (name == "monster07.bmp") {
                    name = "Monster07.BMP";
                }
                write(name, 8, 8, mark(static_cast<int>(g), i));
            }
        }
        for (std::size_t k = 0; k < named.size(); ++k) {
            const bool pane = named[k] == "background00.bmp";
            write(named[k], pane ? 480 : 8, pane ? 420 : 8, mark(9, static_cast<int>(k)));
        }
        f().GfxPath = dir.path().toStdString() + "/";
    }
    void write(const std::string& name, int w, int h, std::int32_t c) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(color::toQRgb(c));
        // GIF names carry bitmap data; the loader goes by the content.
        ASSERT_TRUE(img.save(dir.filePath(QString::fromStdString(name)), "BMP"));
    }
    static std::int32_t first(const std::shared_ptr<Surface>& s) { return s->Point(0, 0); }
    static int namedIndex(const std::string& n) {
        for (std::size_t k = 0; k < named.size(); ++k) {
            if (named[k] == n) {
                return static_cast<int>(k);
            }
        }
        return -1;
    }
    QTemporaryDir dir;
};

TEST_F(GameEngineBitmaps, EveryElementHoldsItsNumberedPicture) {
    e().LoadBitmaps();
    GameForm& g = f();
    EXPECT_EQ(first(g.Monster0[7]), mark(0, 7));
    EXPECT_EQ(first(g.Monster0[21]), mark(0, 21));
    EXPECT_EQ(first(g.Drops[3]), mark(1, 3));
    EXPECT_EQ(first(g.RndDrops[15]), mark(2, 15));
    EXPECT_EQ(first(g.sExp[5]), mark(3, 5)); // "exp"
    EXPECT_EQ(first(g.Exp[5]), mark(4, 5));  // "explosion05", never "explosion5"
    EXPECT_EQ(first(g.zExp[5]), mark(5, 5)); // "sexplosion"
    EXPECT_EQ(first(g.ExpBig[15]), mark(6, 15));
    EXPECT_EQ(first(g.Ship[2]), mark(9, namedIndex("ship00b.bmp")));
    EXPECT_EQ(first(g.Shot[3]), mark(9, namedIndex("shoot03.bmp")));
    EXPECT_EQ(first(g.AlienShoots[1]), mark(9, namedIndex("alien_shoot01.bmp")));
    EXPECT_EQ(first(g.Bonus[2]), mark(9, namedIndex("x02.bmp")));
    EXPECT_EQ(first(g.EBonus[0]), mark(9, namedIndex("ebonus0.bmp")));
    EXPECT_EQ(first(g.Lives[5]), mark(9, namedIndex("ship_live.gif")));
    EXPECT_EQ(first(g.Lives[6]), mark(9, namedIndex("ship_live+.gif")));
    EXPECT_EQ(first(g.LivesBG), mark(9, namedIndex("background03.bmp")));
    EXPECT_EQ(first(g.VANTORTSP[0]), mark(9, namedIndex("vantor_tsp.bmp")));
    EXPECT_EQ(g.pMain->Width(), 480);
    EXPECT_EQ(g.pMain->Height(), 420);

    // The sprite sets share the loaded pictures in their frame order.
    e().BuildSpriteSets();
    EXPECT_EQ(g.pBack->Width(), 480);
    EXPECT_EQ(first(g.pBack), mark(9, namedIndex("background00.bmp")));
    EXPECT_EQ(g.ShipSprite.PictureCount(), 3);
    EXPECT_EQ(g.ShipSprite.Picture(2), g.Ship[2]);
    EXPECT_EQ(g.Shots[19].PictureCount(), 3);
    EXPECT_EQ(g.WeaponIcon.PictureCount(), 3);
    EXPECT_EQ(g.DropSprites[9].PictureCount(), 25);
    EXPECT_EQ(g.DropSprites[9].Picture(10), g.RndDrops[0]);
    EXPECT_EQ(g.RndDropsSprite.PictureCount(), 25);
    EXPECT_EQ(g.ExpSprites[0].Picture(4), g.Exp[4]);
    EXPECT_EQ(g.zExpSprites[9].Picture(4), g.zExp[4]);
    EXPECT_EQ(g.ExpBigSprites[3].PictureCount(), 15);
    EXPECT_EQ(g.AlienShotSprites[5].PictureCount(), 1);
    EXPECT_EQ(g.BonusSprites[0].PictureCount(), 3);
    EXPECT_EQ(g.EBonusSprite.PictureCount(), 1);
    EXPECT_EQ(g.ShipExplosion.Picture(15), g.sExp[15]);
    EXPECT_EQ(g.sExpSprites[4].PictureCount(), 15);
    EXPECT_EQ(g.Aliens.size(), 1u);
}

TEST_F(GameEngineBitmaps, AMissingFileStopsTheLoadThere) {
    ASSERT_TRUE(QDir(dir.path()).remove("drop03.bmp"));
    try {
        e().LoadBitmaps();
        FAIL() << "no error";
    } catch (const VbError& err) {
        EXPECT_EQ(err.Number(), vberr::FileNotFound);
    }
    EXPECT_EQ(first(f().Monster0[21]), mark(0, 21));
    EXPECT_EQ(first(f().Ship[3]), mark(9, namedIndex("ship01b.bmp")));
    EXPECT_EQ(first(f().AlienShoots[1]), mark(9, namedIndex("alien_shoot01.bmp")));
    EXPECT_EQ(first(f().Drops[2]), mark(1, 2));
    EXPECT_NE(first(f().RndDrops[0]), mark(2, 0)); // not reached
}

} // namespace
