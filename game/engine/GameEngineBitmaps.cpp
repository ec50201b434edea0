// The game's pictures from the graphics folder, and the sprite sets built from them.
#include "FileNames.h"
#include "GameEngine.h"

#include <QString>
#include <string>

namespace {

std::string twoDigits(int i) {
    std::string s = std::to_string(i);
    if (s.size() < 2) {
        s.insert(s.begin(), '0');
    }
    return s;
}

void loadNumbered(const std::string& folder, SurfaceArray& pics, const std::string& prefix) {
    for (std::size_t i = 0; i < pics.size(); ++i) {
        pics[i]->LoadPicture(
            resolveFileName(folder + prefix + twoDigits(static_cast<int>(i)) + ".bmp"));
    }
}

void loadNamed(const std::string& folder, SurfaceArray& pics,
               std::initializer_list<const char*> names) {
    std::size_t i = 0;
    for (const char* name : names) {
        if (i < pics.size()) {
            pics[i]->LoadPicture(resolveFileName(folder + name));
        }
        ++i;
    }
}

template <typename Set> void fill(Set& set, std::initializer_list<const SurfaceArray*> sources) {
    for (Sprite& s : set) {
        s = Sprite();
        for (const SurfaceArray* pics : sources) {
            for (const auto& p : *pics) {
                s.AddPicture(p);
            }
        }
    }
}

void fillOne(Sprite& s, std::initializer_list<const SurfaceArray*> sources) {
    Sprite* one = &s;
    struct Span {
        Sprite* p;
        Sprite* begin() const { return p; }
        Sprite* end() const { return p + 1; }
    } span{one};
    fill(span, sources);
}

} // namespace

void GameEngine::LoadBitmaps() {
    const std::string& dir = f.GfxPath;
    loadNumbered(dir, f.Monster0, "monster");
    loadNamed(dir, f.Ship, {"ship00.bmp", "ship01.bmp", "ship00b.bmp", "ship01b.bmp"});
    loadNamed(dir, f.Shot, {"shoot00.bmp", "shoot01.bmp", "shoot02.bmp", "shoot03.bmp"});
    loadNamed(dir, f.AlienShoots, {"alien_shoot00.bmp", "alien_shoot01.bmp"});
    loadNumbered(dir, f.Drops, "drop");
    loadNumbered(dir, f.RndDrops, "drop_rnd");
    f.pMain->LoadPicture(resolveFileName(dir + "background00.bmp"));
    f.ScoreBG->LoadPicture(resolveFileName(dir + "background01.bmp"));
    f.LevelBG->LoadPicture(resolveFileName(dir + "background02.bmp"));
    f.LivesBG->LoadPicture(resolveFileName(dir + "background03.bmp"));
    loadNamed(dir, f.Bonus, {"x00.bmp", "x01.bmp", "x02.bmp", "x03.bmp"});
    loadNamed(dir, f.EBonus, {"ebonus0.bmp", "ebonus1.bmp"});
    for (std::size_t i = 0; i < f.Lives.size(); ++i) {
        const bool last = i + 1 == f.Lives.size();
        f.Lives[i]->LoadPicture(resolveFileName(dir + (last ? "ship_live+.gif" : "ship_live.gif")));
    }
    loadNumbered(dir, f.sExp, "exp");
    loadNumbered(dir, f.Exp, "explosion");
    loadNumbered(dir, f.zExp, "sexplosion");
    loadNumbered(dir, f.ExpBig, "bigexplosion");
    f.VANTORTSP[0]->LoadPicture(resolveFileName(dir + "vantor_tsp.bmp"));
}

void GameEngine::BuildSpriteSets() {
    f.pBack->setSize(f.pMain->Width(), f.pMain->Height());
    if (f.pMain->hasPicture()) {
        f.pBack->setPicture(f.pMain->Picture());
    }
    f.Aliens.clear();
    f.Aliens.resize(1);
    fillOne(f.ShipSprite, {&f.Ship});
    fill(f.Shots, {&f.Shot});
    fillOne(f.WeaponIcon, {&f.Shot});
    fill(f.ExpSprites, {&f.Exp});
    fill(f.zExpSprites, {&f.zExp});
    fill(f.ExpBigSprites, {&f.ExpBig});
    fill(f.AlienShotSprites, {&f.AlienShoots});
    fill(f.DropSprites, {&f.Drops, &f.RndDrops});
    fillOne(f.RndDropsSprite, {&f.Drops, &f.RndDrops});
    fill(f.BonusSprites, {&f.Bonus});
    fillOne(f.EBonusSprite, {&f.EBonus});
    fillOne(f.ShipExplosion, {&f.sExp});
    fill(f.sExpSprites, {&f.sExp});
}
