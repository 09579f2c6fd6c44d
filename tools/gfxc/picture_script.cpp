// The picture-script interpreter: canvas commands for shapes, gradients, art and text.
#include "picture_script.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <sstream>
#include <vector>

#include "canvas_draw.h"
#include "file_io.h"
#include "font_sheet.h"
#include "pixel_art.h"
#include "source_error.h"
#include "tile_sheet.h"

namespace {

constexpr int kGlyphAdvance = 8; // glyph drawings are 8 pixels apart before scaling

struct Context {
    std::string file;
    int line = 0;
    const Palette* palette = nullptr;
    ArtLibrary library;
    Image image;
    std::string directory;
};

int Int(const Context& ctx, const std::vector<std::string>& w, size_t i)
{
    if (i >= w.size())
        FailAt(ctx.file, ctx.line, "missing argument " + std::to_string(i) + " of '" + w[0] + "'");
    char* end = nullptr;
    const long v = std::strtol(w[i].c_str(), &end, 10);
    if (*end != '\0')
        FailAt(ctx.file, ctx.line, "expected a number, got '" + w[i] + "'");
    return static_cast<int>(v);
}

Rgb Colour(const Context& ctx, const std::vector<std::string>& w, size_t i)
{
    if (i >= w.size())
        FailAt(ctx.file, ctx.line, "missing colour for '" + w[0] + "'");
    return ParseColour(*ctx.palette, w[i], ctx.file, ctx.line);
}

void Ridge(Context& ctx, const std::vector<std::string>& w)
{
    const int base = Int(ctx, w, 1);
    const Rgb c = Colour(ctx, w, 2);
    struct Wave {
        double amp, cycles, phase;
    };
    std::vector<Wave> waves;
    for (size_t i = 3; i < w.size(); ++i) {
        Wave wave{};
        if (std::sscanf(w[i].c_str(), "%lf:%lf:%lf", &wave.amp, &wave.cycles, &wave.phase) != 3)
            FailAt(ctx.file, ctx.line, "wave must be AMP:CYCLES:PHASE, got '" + w[i] + "'");
        waves.push_back(wave);
    }
    Image& image = ctx.image;
    for (int x = 0; x < image.width; ++x) {
        double top = base;
        for (const Wave& wave : waves)
            top += wave.amp *
                   std::sin(2 * std::numbers::pi * wave.cycles * x / image.width + wave.phase * std::numbers::pi / 180);
        for (int y = static_cast<int>(std::lround(top)); y < image.height; ++y)
            SetPixel(image, x, y, c);
    }
}

void Stars(Context& ctx, const std::vector<std::string>& w)
{
    uint32_t state = static_cast<uint32_t>(Int(ctx, w, 1)) * 2654435761u + 1;
    const int count = Int(ctx, w, 2);
    const int x = Int(ctx, w, 3), y = Int(ctx, w, 4), wd = Int(ctx, w, 5), ht = Int(ctx, w, 6);
    std::vector<Rgb> colours;
    for (size_t i = 7; i < w.size(); ++i)
        colours.push_back(Colour(ctx, w, i));
    if (colours.empty() || wd <= 0 || ht <= 0)
        FailAt(ctx.file, ctx.line, "stars need an area and at least one colour");
    auto next = [&state] {
        state = state * 1664525u + 1013904223u; // fixed LCG: same stars every build
        return state >> 8;
    };
    for (int i = 0; i < count; ++i) {
        const int sx = x + static_cast<int>(next() % wd);
        const int sy = y + static_cast<int>(next() % ht);
        SetPixel(ctx.image, sx, sy, colours[next() % colours.size()]);
    }
}

void Text(Context& ctx, const std::vector<std::string>& w)
{
    const int scale = Int(ctx, w, 1);
    const Rgb c = Colour(ctx, w, 4);
    std::string text;
    for (size_t i = 5; i < w.size(); ++i)
        text += (i > 5 ? " " : "") + w[i];
    const int advance = kGlyphAdvance * scale;
    const int x0 = w.size() > 2 && w[2] == "centre" ? (ctx.image.width - advance * static_cast<int>(text.size())) / 2
                                                    : Int(ctx, w, 2);
    const int y = Int(ctx, w, 3);
    for (size_t i = 0; i < text.size(); ++i) {
        if (ctx.library.blocks.find(GlyphName(text[i])) == ctx.library.blocks.end())
            FailAt(ctx.file, ctx.line, std::string("no glyph for '") + text[i] + "' (forgot 'load'?)");
        const CharGrid glyph = ResolveArt(ctx.library, GlyphName(text[i]));
        for (size_t gy = 0; gy < glyph.size(); ++gy)
            for (size_t gx = 0; gx < glyph[gy].size(); ++gx)
                if (glyph[gy][gx] == 'X')
                    Rect(ctx.image, x0 + advance * static_cast<int>(i) + static_cast<int>(gx) * scale,
                         y + static_cast<int>(gy) * scale, scale, scale, c);
    }
}

void DrawBlock(Context& ctx, const std::vector<std::string>& w, const std::string& name)
{
    const int scale = w.size() > 4 ? Int(ctx, w, 4) : 1;
    bool mirror = false;
    bool solid = false;
    Rgb solidColour = 0;
    for (size_t i = 5; i < w.size(); ++i) {
        if (w[i] == "mirror") {
            mirror = true;
        } else if (w[i] == "solid") {
            solid = true;
            solidColour = Colour(ctx, w, ++i);
        } else {
            FailAt(ctx.file, ctx.line, "unknown option '" + w[i] + "' (mirror, solid C)");
        }
    }
    if (ctx.library.blocks.find(name) == ctx.library.blocks.end())
        FailAt(ctx.file, ctx.line, "unknown block '" + w[1] + "' (forgot 'load'?)");
    CharGrid art = ResolveArt(ctx.library, name);
    if (!solid) {
        DrawArt(ctx.image, art, *ctx.palette, Int(ctx, w, 2), Int(ctx, w, 3), scale, mirror, ctx.file, ctx.line);
        return;
    }
    // a silhouette: every drawn pixel in one colour
    Image shape = MakeImage(static_cast<int>(art[0].size()) * scale, static_cast<int>(art.size()) * scale);
    DrawArt(shape, art, *ctx.palette, 0, 0, scale, mirror, ctx.file, ctx.line);
    for (int y = 0; y < shape.height; ++y)
        for (int x = 0; x < shape.width; ++x)
            if (PixelAt(shape, x, y) != kKeyColour)
                SetPixel(ctx.image, Int(ctx, w, 2) + x, Int(ctx, w, 3) + y, solidColour);
}

// Repeats a tile or art block over a rectangle, like wallpaper.
void Pattern(Context& ctx, const std::vector<std::string>& w)
{
    const std::string& ref = w.size() > 1 ? w[1] : "";
    const std::string name =
        !ref.empty() && ref[0] >= '0' && ref[0] <= '9' ? TileName(ParseCode(ref, ctx.file, ctx.line)) : ref;
    if (ctx.library.blocks.find(name) == ctx.library.blocks.end())
        FailAt(ctx.file, ctx.line, "unknown block '" + ref + "' (forgot 'load'?)");
    const CharGrid art = ResolveArt(ctx.library, name);
    const int x = Int(ctx, w, 2), y = Int(ctx, w, 3), width = Int(ctx, w, 4), height = Int(ctx, w, 5);
    const int scale = w.size() > 6 ? Int(ctx, w, 6) : 1;
    Image tile = MakeImage(static_cast<int>(art[0].size()) * scale, static_cast<int>(art.size()) * scale);
    DrawArt(tile, art, *ctx.palette, 0, 0, scale, false, ctx.file, ctx.line);
    for (int yy = 0; yy < height; ++yy)
        for (int xx = 0; xx < width; ++xx) {
            const Rgb c = PixelAt(tile, xx % tile.width, yy % tile.height);
            if (c != kKeyColour)
                SetPixel(ctx.image, x + xx, y + yy, c);
        }
}

void RunCommand(Context& ctx, const std::vector<std::string>& w)
{
    const std::string& cmd = w[0];
    Image& img = ctx.image;
    if (cmd == "size") {
        img = MakeImage(Int(ctx, w, 1), Int(ctx, w, 2), w.size() > 3 ? Colour(ctx, w, 3) : kKeyColour);
    } else if (cmd == "load") {
        if (w.size() < 2)
            FailAt(ctx.file, ctx.line, "load needs a file");
        LoadArtFile(ctx.library, ctx.directory + w[1]);
    } else if (cmd == "fill") {
        Rect(img, 0, 0, img.width, img.height, Colour(ctx, w, 1));
    } else if (cmd == "rect") {
        Rect(img, Int(ctx, w, 1), Int(ctx, w, 2), Int(ctx, w, 3), Int(ctx, w, 4), Colour(ctx, w, 5));
    } else if (cmd == "bands") {
        std::vector<Rgb> colours;
        bool onto = false;
        Rgb only = 0;
        for (size_t i = 5; i < w.size(); ++i) {
            if (w[i] == "onto") {
                onto = true;
                only = Colour(ctx, w, i + 1);
                break;
            }
            colours.push_back(Colour(ctx, w, i));
        }
        if (colours.empty())
            FailAt(ctx.file, ctx.line, "bands need colours");
        Bands(img, Int(ctx, w, 1), Int(ctx, w, 2), Int(ctx, w, 3), Int(ctx, w, 4), colours, onto, only);
    } else if (cmd == "circle") {
        const int r = Int(ctx, w, 3);
        Ellipse(img, Int(ctx, w, 1), Int(ctx, w, 2), r, r, Colour(ctx, w, 4));
    } else if (cmd == "ellipse") {
        Ellipse(img, Int(ctx, w, 1), Int(ctx, w, 2), Int(ctx, w, 3), Int(ctx, w, 4), Colour(ctx, w, 5));
    } else if (cmd == "ring") {
        Ring(img, Int(ctx, w, 1), Int(ctx, w, 2), Int(ctx, w, 3), Int(ctx, w, 4), Colour(ctx, w, 5));
    } else if (cmd == "poly") {
        std::vector<int> pts;
        for (size_t i = 2; i < w.size(); ++i)
            pts.push_back(Int(ctx, w, i));
        if (pts.size() < 6 || pts.size() % 2)
            FailAt(ctx.file, ctx.line, "poly needs at least three X Y pairs");
        Poly(img, pts, Colour(ctx, w, 1));
    } else if (cmd == "line") {
        Line(img, Int(ctx, w, 1), Int(ctx, w, 2), Int(ctx, w, 3), Int(ctx, w, 4), Colour(ctx, w, 5));
    } else if (cmd == "ridge") {
        Ridge(ctx, w);
    } else if (cmd == "stars") {
        Stars(ctx, w);
    } else if (cmd == "art") {
        DrawBlock(ctx, w, w.size() > 1 ? w[1] : "");
    } else if (cmd == "tile") {
        DrawBlock(ctx, w, TileName(ParseCode(w.size() > 1 ? w[1] : "", ctx.file, ctx.line)));
    } else if (cmd == "pattern") {
        Pattern(ctx, w);
    } else if (cmd == "text") {
        Text(ctx, w);
    } else if (cmd == "outline") {
        Outline(img, Colour(ctx, w, 1));
    } else if (cmd == "shadow") {
        Shadow(img, Int(ctx, w, 1), Int(ctx, w, 2), Colour(ctx, w, 3));
    } else if (cmd == "trim") {
        Trim(img);
    } else if (cmd == "skew") {
        Skew(img, Int(ctx, w, 1));
    } else if (cmd == "topedge") {
        TopEdge(img, Colour(ctx, w, 1));
    } else if (cmd == "replace") {
        const Rgb from = Colour(ctx, w, 1), to = Colour(ctx, w, 2);
        std::replace(img.pixels.begin(), img.pixels.end(), from, to);
    } else {
        FailAt(ctx.file, ctx.line, "unknown command '" + cmd + "'");
    }
}

} // namespace

Image RunPictureScript(const std::string& path, const Palette& palette)
{
    std::string all, why;
    if (!ReadToolInput(path, all, why))
        FailAt(path, 0, "cannot read picture script: " + why);
    std::istringstream in(all);
    Context ctx;
    ctx.file = path;
    ctx.palette = &palette;
    const size_t slash = path.find_last_of('/');
    ctx.directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string text;
    while (std::getline(in, text)) {
        ++ctx.line;
        std::istringstream fields(text);
        std::vector<std::string> words;
        std::string word;
        while (fields >> word)
            words.push_back(word);
        if (words.empty() || words[0][0] == '#')
            continue;
        if (words[0] != "size" && ctx.image.width == 0)
            FailAt(path, ctx.line, "the first command must be 'size'");
        RunCommand(ctx, words);
    }
    if (ctx.image.width == 0)
        FailAt(path, 0, "script draws nothing");
    return ctx.image;
}
