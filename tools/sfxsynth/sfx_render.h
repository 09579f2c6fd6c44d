// Renders a parsed recipe into 16-bit mono samples.
#pragma once

#include <cstdint>
#include <vector>

#include "sfx_recipe.h"

// Output rate of every effect.
constexpr int kSfxRate = 22050;

// The effect's samples: layers mixed, filtered, normalised to the recipe's peak,
// faded at both ends; the same recipe always gives the same samples.
std::vector<int16_t> RenderRecipe(const SfxRecipe& recipe);
