// The difficulty curve of the stages as a small picture, drawn by the stage checker.
#pragma once

#include <cstdint>
#include <vector>

#include "stage_table.h"

// Size of the chart picture.
constexpr int kChartWidth = 336;
constexpr int kChartHeight = 150;

// A 24-bit BMP file of the chart: for each stage, left to right, three bars (hazards in red,
// enemies in violet, jumps of the finishing run in blue), each scaled to its largest value
// over the stages, and a yellow line through the share of shifted finishing runs that fail,
// on a scale from 0 to 50 %; the stage number under each group.
std::vector<uint8_t> DrawDifficultyChart(const std::vector<StageRow>& rows);

// What a stage adds up to on the chart.
int HazardsOf(const StageRow& row);
int EnemiesOf(const StageRow& row);
// Percent of the shifted runs that fail to finish (0 when none were tried).
int StrictnessOf(const StageRow& row);
