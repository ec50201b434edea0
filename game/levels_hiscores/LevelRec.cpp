#include "LevelRec.h"

#include "LevelFileFormat.h"

LevelRec toLevelRec(const ParsedLevel& level) {
    LevelRec r;
    const std::size_t n = level.Aliens.size();
    for (auto* a : {&r.AlienType, &r.AlienX, &r.AlienY, &r.AlienHits, &r.AlienDrops, &r.AlienShoots,
                    &r.AlienScore}) {
        a->reserve(n);
    }
    for (const auto& a : level.Aliens) {
        r.AlienType.push_back(static_cast<VbInteger>(a.Type));
        r.AlienX.push_back(static_cast<VbInteger>(a.X));
        r.AlienY.push_back(static_cast<VbInteger>(a.Y));
        r.AlienHits.push_back(static_cast<VbInteger>(a.Hits));
        r.AlienDrops.push_back(static_cast<VbInteger>(a.Drops));
        r.AlienShoots.push_back(static_cast<VbInteger>(a.Shoots));
        r.AlienScore.push_back(static_cast<VbInteger>(a.Score));
    }
    r.Speed = level.Speed;
    r.Name = level.Name;
    return r;
}
