// Writing STAGES.md: one table row per stage and the legend.
#include "stage_table.h"

#include <cstdio>

#include "stage_chart.h"

namespace {

std::string Themes(const StageCensus& c)
{
    std::string text;
    for (int t : c.themes)
        text += (text.empty() ? "" : ", ") + std::string(ThemeName(t));
    return text.empty() ? "-" : text;
}

std::string Introduces(const std::vector<int>& mechanics)
{
    std::string text;
    for (int m : mechanics)
        text += (text.empty() ? "" : ", ") + std::string(MechanicName(m));
    return text.empty() ? "-" : text;
}

std::string Share(const Tolerance& t)
{
    if (t.tried == 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d (%d%%)", t.kept, t.tried, (t.kept * 100 + t.tried / 2) / t.tried);
    return text;
}

} // namespace

std::string FormatStagesFile(const std::vector<StageRow>& rows, int placesPerVariant, const std::string& chartName)
{
    std::string out =
        "# Stages\n\n"
        "Made by `fribb3-stagecheck` (tools/stagecheck) from the maps and finishing scripts in\n"
        "this folder. The build runs it on every map and fails on a broken rule; a test checks\n"
        "that this file is what it prints. After changing a stage, rewrite the file with\n"
        "`cmake --build build --target stages-table`.\n\n"
        "| Stage | Theme | Music | Columns | Rings | MASKY | BEETLE | WINGEDEYE | ACIDFISH | SKULL | Enemies | Lifts | "
        "Hazards | Jumps | Checkpoints | Introduces | Finish frames | Out of sight | Shifted runs finishing |\n"
        "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
    for (const StageRow& r : rows) {
        const StageCensus& c = r.census;
        char cells[512];
        std::snprintf(cells, sizeof cells,
                      "| %d | %s | %s | %d | %d | %d | %d | %d | %d | %d | %d | %d (%d) | %d (%d/%d/%d) | %d | %d |",
                      r.number, Themes(c).c_str(), r.music.c_str(), c.columns, c.rings, c.enemies[MechMasky],
                      c.enemies[MechBeetle], c.enemies[MechWingedEye], c.enemies[MechAcidFish], c.enemies[MechSkull],
                      EnemiesOf(r), c.lifts, c.crushingLifts, HazardsOf(r), c.spikes, c.hiddenSpikes, c.explosives,
                      r.jumps, c.checkpoints);
        out += cells;
        out += ' ';
        out += Introduces(r.introduces);
        out += " | ";
        out += std::to_string(r.finishFrames);
        out += " | ";
        out += std::to_string(r.outOfSight);
        out += " | ";
        out += Share(r.tolerance);
        out += " |\n";
    }
    out += "\n"
           "- Theme: the themes with at least a tenth of the stage's themed tiles, most used first.\n"
           "- Music: the tune of the stage (content/music, module N for stage N).\n"
           "- Lifts: all lifts (in brackets those that rise into a ceiling and crush a rider who stays on).\n"
           "- Enemies: all enemy starts.\n"
           "- Hazards: all hazard cells (in brackets spikes / hidden spikes / explosive tiles).\n"
           "- Jumps: jumps of the finishing run (the jump button pressed anew).\n"
           "- Introduces: mechanics that no earlier stage has.\n"
           "- Finish frames: frames of `fribb3NN-finish.replay` from the first frame of the stage to the exit\n"
           "  (at most 6000 of the 9000 the stage allows).\n"
           "- Out of sight: frames of that run in which the hero is more than " +
           std::to_string(kOutOfSightPixels) +
           " pixels above the top of the\n"
           "  screen (the playfield's top row), where the player cannot see him; the build fails on any.\n"
           "- Shifted runs finishing: variants of the finishing script in which the input changes at " +
           std::to_string(placesPerVariant) +
           " random\n"
           "  places each come one or two frames earlier or later (a fixed random sequence per stage), and\n"
           "  how many of them still finish with every ring and no death.\n"
           "\n"
           "The build also draws the difficulty curve as `build/content-out/maps/" +
           chartName +
           "`: for\n"
           "each stage from left to right, bars for the hazards (red), enemies (violet) and jumps (blue),\n"
           "each scaled to its largest value, and a yellow line through the share of shifted runs that\n"
           "fail (0 to 50 % from bottom to top). Difficulty should rise from stage 1 to stage 10.\n";
    return out;
}
