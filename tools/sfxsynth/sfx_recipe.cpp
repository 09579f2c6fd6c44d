// Parses the line-based recipe text: "key value..." lines, "layer" opens a new voice, '#' comments.
#include "sfx_recipe.h"

#include <cstdlib>
#include <sstream>

namespace {

bool ParseNumber(const std::string& word, double& out)
{
    if (word.empty())
        return false;
    char* end = nullptr;
    out = std::strtod(word.c_str(), &end);
    return end && *end == '\0';
}

bool ParseWave(const std::string& word, Wave& out)
{
    if (word == "sine")
        out = Wave::Sine;
    else if (word == "square")
        out = Wave::Square;
    else if (word == "triangle")
        out = Wave::Triangle;
    else if (word == "saw")
        out = Wave::Saw;
    else if (word == "noise")
        out = Wave::Noise;
    else
        return false;
    return true;
}

// Keys that take one number, with where the number goes.
bool SetLayerNumber(SfxLayer& layer, const std::string& key, double v)
{
    if (key == "start")
        layer.start = v;
    else if (key == "length")
        layer.length = v;
    else if (key == "duty")
        layer.duty = v;
    else if (key == "attack")
        layer.attack = v;
    else if (key == "decay")
        layer.decay = v;
    else if (key == "release")
        layer.release = v;
    else if (key == "gain")
        layer.gain = v;
    else if (key == "seed")
        layer.seed = static_cast<unsigned>(v);
    else if (key == "lowpass")
        layer.lowpass = v;
    else if (key == "highpass")
        layer.highpass = v;
    else
        return false;
    return true;
}

bool SetGlobalNumber(SfxRecipe& recipe, const std::string& key, double v)
{
    if (key == "length")
        recipe.length = v;
    else if (key == "peak")
        recipe.peak = v;
    else if (key == "fade")
        recipe.fadeMs = v;
    else if (key == "loudness")
        recipe.loudness = v;
    else if (key == "lowpass")
        recipe.lowpass = v;
    else if (key == "highpass")
        recipe.highpass = v;
    else
        return false;
    return true;
}

} // namespace

bool ParseRecipe(const std::string& text, SfxRecipe& recipe, std::string& error)
{
    recipe = SfxRecipe{};
    std::istringstream lines(text);
    std::string line;
    int lineNo = 0;
    SfxLayer* layer = nullptr;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(lineNo) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++lineNo;
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.resize(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string s; words >> s;)
            w.push_back(s);
        if (w.empty())
            continue;
        const std::string& key = w[0];
        if (key == "layer") {
            recipe.layers.emplace_back();
            layer = &recipe.layers.back();
            continue;
        }
        std::vector<double> nums;
        if (!(key == "wave" || key == "glide")) {
            for (size_t i = 1; i < w.size(); ++i) {
                double v;
                if (!ParseNumber(w[i], v))
                    return fail("'" + w[i] + "' is not a number");
                nums.push_back(v);
            }
        }
        if (!layer) {
            if (nums.size() != 1 || !SetGlobalNumber(recipe, key, nums[0]))
                return fail("unknown or malformed setting '" + key + "' before the first layer");
            continue;
        }
        if (key == "wave") {
            if (w.size() != 2 || !ParseWave(w[1], layer->wave))
                return fail("wave must be sine, square, triangle, saw or noise");
        } else if (key == "glide") {
            if (w.size() != 2 || (w[1] != "exp" && w[1] != "lin"))
                return fail("glide must be exp or lin");
            layer->glide = w[1] == "exp" ? Glide::Exponential : Glide::Linear;
        } else if (key == "freq") {
            if (nums.empty() || nums.size() > 2)
                return fail("freq takes a start and an optional end frequency");
            layer->freqStart = nums[0];
            layer->freqEnd = nums.size() == 2 ? nums[1] : nums[0];
        } else if (key == "vibrato" || key == "tremolo") {
            if (nums.size() != 2)
                return fail(key + " takes a rate and a depth");
            (key == "vibrato" ? layer->vibratoRate : layer->tremoloRate) = nums[0];
            (key == "vibrato" ? layer->vibratoDepth : layer->tremoloDepth) = nums[1];
        } else if (nums.size() != 1 || !SetLayerNumber(*layer, key, nums[0])) {
            return fail("unknown or malformed layer setting '" + key + "'");
        }
    }
    if (recipe.layers.empty())
        return fail("a recipe needs at least one layer");
    if (recipe.length <= 0.0 || recipe.peak <= 0.0 || recipe.peak > 1.0)
        return fail("length must be positive and peak within (0, 1]");
    if (recipe.loudness > 0.0 || recipe.loudness < kSfxQuietestLoudness)
        return fail("loudness must be -60..0 LUFS");
    for (const SfxLayer& l : recipe.layers) {
        if (l.length <= 0.0 || l.start < 0.0 || l.freqStart <= 0.0 || l.freqEnd <= 0.0)
            return fail("every layer needs a positive length and frequency");
    }
    return true;
}
