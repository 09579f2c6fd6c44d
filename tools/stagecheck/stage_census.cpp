// The contents of a stage: rings, enemies, lifts, hazards, checkpoints, themes and mechanics.
#include "stage_census.h"

#include <algorithm>

namespace {

constexpr uint8_t kLift = 0x42;

// A lift turns below the first non-empty cell above it; when that cell blocks
// the hero, a rider who stays on is crushed against it.
bool RisesIntoCeiling(const StageMap& map, int c, int r)
{
    for (int above = r - 1; above >= 0; --above) {
        const uint8_t code = map.cells[c * kRows + above];
        if (IsSolidCode(code) || MechanicOf(code) == MechSpikes || MechanicOf(code) == MechHiddenSpikes ||
            MechanicOf(code) == MechExplosive)
            return true;
    }
    return false;
}

} // namespace

StageCensus CountStage(const StageMap& map)
{
    StageCensus s;
    s.columns = map.columns;
    for (int c = 0; c < map.columns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            const uint8_t code = map.cells[c * kRows + r];
            const int theme = ThemeOf(code);
            if (theme >= 0)
                ++s.themeCells[theme];
            const int m = MechanicOf(code);
            if (m >= 0)
                s.has[m] = true;
            const int enemy = EnemyOf(code);
            if (enemy >= 0)
                ++s.enemies[enemy];
            s.rings += m == MechRings;
            s.checkpoints += m == MechCheckpoint;
            s.spikes += m == MechSpikes;
            s.hiddenSpikes += m == MechHiddenSpikes;
            s.explosives += m == MechExplosive;
            if (code == kLift) {
                ++s.lifts;
                if (RisesIntoCeiling(map, c, r)) {
                    ++s.crushingLifts;
                    s.has[MechCrushingLift] = true;
                }
            }
        }
    }
    int themed = 0;
    for (int t = 0; t < ThemeCount; ++t)
        themed += s.themeCells[t];
    for (int t = 0; t < ThemeCount; ++t)
        if (themed > 0 && s.themeCells[t] >= kThemeShare * themed)
            s.themes.push_back(t);
    std::stable_sort(s.themes.begin(), s.themes.end(), [&](int a, int b) { return s.themeCells[a] > s.themeCells[b]; });
    return s;
}
