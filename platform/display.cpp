// Video mode set-up and presentation of the logical screen: 1x window, software
// doubling (plain, Scale2x, smoothing), integer-scaled full screen, and an OpenGL texture.
#include "platform/display.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/fatal_error.h"
#include "platform/display_layout.h"
#include "platform/scaler_sets.h"
#include "platform/scalers.h"

SDL_Surface* screenSurface = nullptr;
SDL_Surface* displaySurface = nullptr;
DisplayConfig displayConfig;
uint32_t* smoothBuffer = nullptr;

namespace {

// OpenGL video modes: the 640x480 window, or the 1360x768 "HD ready" mode whose
// 1024x768 picture is centred horizontally ((1360 - 1024) / 2 = 168).
constexpr int kGlDepth = 24;
constexpr int kHdWidth = 1360;
constexpr int kHdHeight = 768;
constexpr int kHdPictureWidth = 1024;
constexpr int kHdPictureLeft = (kHdWidth - kHdPictureWidth) / 2;

// ScreenSurface masks when presenting through OpenGL: they match the upload formats.
constexpr Uint32 kMask16Red = 0xF800;
constexpr Uint32 kMask16Green = 0x07E0;
constexpr Uint32 kMask16Blue = 0x001F;
constexpr Uint32 kMask24Red = 0xFF0000;
constexpr Uint32 kMask24Green = 0x00FF00;
constexpr Uint32 kMask24Blue = 0x0000FF;
constexpr int kDepth16 = 16;

// The compatibility layer's filter for a picture it scales to the screen.
constexpr const char* kScaleMethodVariable = "SDL12COMPAT_SCALE_METHOD";

struct GlState {
    GLuint texture = 0;
    GLint filter = GL_NEAREST;
    GLenum format = GL_RGB;
    GLenum type = GL_UNSIGNED_SHORT_5_6_5;
    int width = 0; // area the texture is drawn over, in viewport units
    int height = 0;
};

GlState gl;
uint32_t smoothMask = 0;
// The scaler passes for this processor, picked when the display opens.
const ScalerSet* scalers = &kPortableScalers;
// Where the picture goes in the software doubled modes and in full-screen OpenGL.
PictureLayout layout;
// The filter's 640x480 picture when it is then repeated into larger blocks.
std::vector<uint8_t> filtered;
int filteredPitch = 0;

bool Doubled()
{
    return displayConfig.zoom || displayConfig.fullscreen;
}

bool UsesOpenGl()
{
    return Doubled() && displayConfig.opengl;
}

// Scale2x or smoothing: a software pass of its own factor 2.
bool Filtered(const DisplayConfig& config)
{
    return !config.opengl && (config.smooth || config.scale2x);
}

// The desktop's size before any mode is set (zero when SDL cannot tell).
void DesktopSize(int& width, int& height)
{
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    width = info ? info->current_w : 0;
    height = info ? info->current_h : 0;
}

void OpenGlState(const DisplayConfig& config, bool integer)
{
    glGenTextures(1, &gl.texture);
    gl.filter = config.smooth ? GL_LINEAR : GL_NEAREST;
    if (config.depth == kDepth16) {
        gl.format = GL_RGB;
        gl.type = GL_UNSIGNED_SHORT_5_6_5;
    } else {
        // The screen holds 0xRRGGBB values in three bytes of host order: blue comes
        // first in memory on little-endian machines, red on big-endian ones.
        gl.format = SDL_BYTEORDER == SDL_BIG_ENDIAN ? GL_RGB : GL_BGR;
        gl.type = GL_UNSIGNED_BYTE;
    }
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
    if (integer) {
        // The viewport counts rows from the bottom.
        gl.width = layout.width;
        gl.height = layout.height;
        glViewport(layout.left, layout.modeHeight - layout.top - layout.height, gl.width, gl.height);
    } else if (config.hd) {
        gl.width = kHdPictureWidth;
        gl.height = kHdHeight;
        glViewport(kHdPictureLeft, 0, gl.width, gl.height);
    } else {
        gl.width = displaySurface->w;
        gl.height = displaySurface->h;
        glViewport(0, 0, gl.width, gl.height);
    }
    if (!integer) {
        // The windowed modes: the picture over the whole window, or centred in the HD one.
        layout = PictureLayout{};
        layout.modeWidth = displaySurface->w;
        layout.modeHeight = displaySurface->h;
        layout.left = config.hd ? kHdPictureLeft : 0;
        layout.width = gl.width;
        layout.height = gl.height;
        layout.factor = gl.width % kScreenWidth == 0 ? gl.width / kScreenWidth : 0;
        layout.repeat = layout.factor;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, gl.width, gl.height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void PresentOpenGl()
{
    SDL_LockSurface(screenSurface);
    glBindTexture(GL_TEXTURE_2D, gl.texture);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, screenSurface->pitch / screenSurface->format->BytesPerPixel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, gl.filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, gl.filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kScreenWidth, kScreenHeight, 0, gl.format, gl.type, screenSurface->pixels);
    glFlush();
    SDL_UnlockSurface(screenSurface);

    // The bars around the picture: the back buffer holds nothing defined after a swap.
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, gl.texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(0, 0);
    glTexCoord2f(1, 0);
    glVertex2i(gl.width, 0);
    glTexCoord2f(1, 1);
    glVertex2i(gl.width, gl.height);
    glTexCoord2f(0, 1);
    glVertex2i(0, gl.height);
    glEnd();
    SDL_GL_SwapBuffers();
}

const uint8_t* ScreenPixels()
{
    return static_cast<const uint8_t*>(screenSurface->pixels);
}

// The picture's top-left pixel in the locked display surface.
uint8_t* PicturePixels()
{
    return static_cast<uint8_t*>(displaySurface->pixels) + layout.top * displaySurface->pitch +
           layout.left * displaySurface->format->BytesPerPixel;
}

// The chosen factor-2 pass of a set from the locked screenSurface into dst.
void RunDoublingPass(const ScalerSet& set, uint8_t* dst, int dstPitch)
{
    const int bpp = screenSurface->format->BytesPerPixel;
    if (displayConfig.smooth)
        set.smooth(ScreenPixels(), screenSurface->pitch, dst, dstPitch, bpp, smoothMask, smoothBuffer);
    else if (displayConfig.scale2x)
        set.scale2x(ScreenPixels(), screenSurface->pitch, dst, dstPitch, bpp);
    else
        set.plain(ScreenPixels(), screenSurface->pitch, dst, dstPitch, bpp);
}

// Whether a set's pass runs at all in this layout (plain blocks of other sizes than 2 are
// made by the integer scaler alone).
bool UsesSetPass()
{
    return layout.filterFactor == 2 || layout.repeat == 2;
}

// Where the set's pass writes: straight into the picture, or into the filter buffer
// when its pixels are then repeated.
uint8_t* PassTarget(int& pitch)
{
    if (layout.filterFactor == 2 && layout.repeat > 1) {
        pitch = filteredPitch;
        return filtered.data();
    }
    pitch = displaySurface->pitch;
    return PicturePixels();
}

} // namespace

void ScalePicture()
{
    if (!displaySurface || UsesOpenGl())
        return;
    const int bpp = screenSurface->format->BytesPerPixel;
    SDL_LockSurface(displaySurface);
    SDL_LockSurface(screenSurface);
    if (UsesSetPass()) {
        int pitch = 0;
        uint8_t* target = PassTarget(pitch);
        RunDoublingPass(*scalers, target, pitch);
        if (target != PicturePixels())
            ScaleRepeat(target, pitch, kDoubledWidth, kDoubledHeight, PicturePixels(), displaySurface->pitch, bpp,
                        layout.repeat);
    } else {
        ScaleRepeat(ScreenPixels(), screenSurface->pitch, kScreenWidth, kScreenHeight, PicturePixels(),
                    displaySurface->pitch, bpp, layout.repeat);
    }
    SDL_UnlockSurface(screenSurface);
    SDL_UnlockSurface(displaySurface);
}

namespace {

// A picture of small blocks of a few colours, as pixel art has, for timing the passes:
// a black screen would take the shortcuts that uniform rows allow.
void FillTimingPicture(SDL_Surface* s)
{
    constexpr int kBlock = 4;
    constexpr int kColors = 8;
    Uint32 colors[kColors];
    for (int i = 0; i < kColors; ++i)
        colors[i] = SDL_MapRGB(s->format, static_cast<Uint8>(37 * i), static_cast<Uint8>(255 - 29 * i),
                               static_cast<Uint8>(91 * i));
    for (int y = 0; y < s->h; y += kBlock)
        for (int x = 0; x < s->w; x += kBlock) {
            SDL_Rect r{static_cast<Sint16>(x), static_cast<Sint16>(y), kBlock, kBlock};
            const unsigned hash = (static_cast<unsigned>(x) * 2654435761u) ^ (static_cast<unsigned>(y) * 40503u);
            SDL_FillRect(s, &r, colors[(hash >> 13) % kColors]);
        }
}

// Picks the scaler set whose pass in use is fastest on the real surfaces, then blanks both.
void ChooseScalers()
{
    if (!UsesSetPass()) {
        scalers = &PickScalerSet();
        return;
    }
    FillTimingPicture(screenSurface);
    scalers = &PickFastestScalerSet([](const ScalerSet& set) {
        SDL_LockSurface(displaySurface);
        SDL_LockSurface(screenSurface);
        int pitch = 0;
        uint8_t* target = PassTarget(pitch);
        RunDoublingPass(set, target, pitch);
        SDL_UnlockSurface(screenSurface);
        SDL_UnlockSurface(displaySurface);
    });
    SDL_FillRect(screenSurface, nullptr, SDL_MapRGB(screenSurface->format, 0, 0, 0));
    SDL_FillRect(displaySurface, nullptr, SDL_MapRGB(displaySurface->format, 0, 0, 0));
    SDL_UpdateRect(displaySurface, 0, 0, 0, 0);
}

} // namespace

const char* ChosenScalerSet()
{
    return scalers->name;
}

PictureLayout DisplayLayout()
{
    return layout;
}

void OpenDisplay(const DisplayConfig& config)
{
    int desktopWidth = 0;
    int desktopHeight = 0;
    if (config.fullscreen)
        DesktopSize(desktopWidth, desktopHeight);
    OpenDisplayForDesktop(config, desktopWidth, desktopHeight);
}

void OpenDisplayForDesktop(const DisplayConfig& config, int desktopWidth, int desktopHeight)
{
    displayConfig = config;
    if (!Doubled()) {
        screenSurface = SDL_SetVideoMode(kScreenWidth, kScreenHeight, config.depth, 0);
        if (!screenSurface)
            FatalError("Unable to set video mode", SDL_GetError());
        return;
    }

    // Should the compatibility layer still have to scale (a desktop too small for the
    // picture), it keeps the choice's look; a value the player set wins.
    setenv(kScaleMethodVariable, config.smooth ? "linear" : "nearest", 0);

    layout = config.fullscreen ? FullscreenLayout(desktopWidth, desktopHeight, Filtered(config))
                               : DoubledWindowLayout(Filtered(config));
    // Full screen at the desktop's own size, which the picture fits at a whole factor.
    const bool integer = config.fullscreen && layout.modeWidth == desktopWidth && layout.modeHeight == desktopHeight;

    const Uint32 fullscreen = config.fullscreen ? SDL_FULLSCREEN : 0;
    if (UsesOpenGl()) {
        SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
        int w = config.hd ? kHdWidth : kDoubledWidth;
        int h = config.hd ? kHdHeight : kDoubledHeight;
        if (integer) {
            w = layout.modeWidth;
            h = layout.modeHeight;
        }
        displaySurface = SDL_SetVideoMode(w, h, kGlDepth, SDL_HWSURFACE | SDL_OPENGL | SDL_DOUBLEBUF | fullscreen);
    } else {
        displaySurface =
            SDL_SetVideoMode(layout.modeWidth, layout.modeHeight, config.depth, SDL_HWSURFACE | fullscreen);
    }
    if (!displaySurface)
        FatalError("Unable to set video mode", SDL_GetError());

    if (UsesOpenGl()) {
        const bool is16 = config.depth == kDepth16;
        screenSurface = SDL_CreateRGBSurface(SDL_SWSURFACE, kScreenWidth, kScreenHeight, config.depth,
                                             is16 ? kMask16Red : kMask24Red, is16 ? kMask16Green : kMask24Green,
                                             is16 ? kMask16Blue : kMask24Blue, 0);
    } else {
        const SDL_PixelFormat* f = displaySurface->format;
        screenSurface = SDL_CreateRGBSurface(SDL_SWSURFACE, kScreenWidth, kScreenHeight, f->BitsPerPixel, f->Rmask,
                                             f->Gmask, f->Bmask, f->Amask);
    }
    if (!screenSurface)
        FatalError("Unable to set video mode", SDL_GetError());

    if (UsesOpenGl()) {
        OpenGlState(config, integer);
        return;
    }
    // A mode of another size than asked for cannot hold the layout: place the picture
    // as well as it fits (top-left when the surface is smaller).
    if (displaySurface->w != layout.modeWidth || displaySurface->h != layout.modeHeight) {
        layout.left = std::max(0, (displaySurface->w - layout.width) / 2);
        layout.top = std::max(0, (displaySurface->h - layout.height) / 2);
        if (displaySurface->w < layout.width || displaySurface->h < layout.height)
            FatalError("Unable to set video mode", "the video mode is smaller than the picture");
    }
    if (config.smooth) {
        smoothBuffer = static_cast<uint32_t*>(std::malloc(kSmoothBufferWords * sizeof(uint32_t)));
        if (!smoothBuffer)
            FatalError("Unable to set video mode", "out of memory");
        const SDL_PixelFormat* f = screenSurface->format;
        smoothMask = SmoothMask(f->Rshift, f->Gshift, f->Bshift, f->BytesPerPixel);
    }
    if (layout.filterFactor == 2 && layout.repeat > 1) {
        filteredPitch = kDoubledWidth * screenSurface->format->BytesPerPixel;
        filtered.assign(static_cast<size_t>(filteredPitch) * kDoubledHeight, 0);
    }
    ChooseScalers();
}

void PresentScreen()
{
    if (!displaySurface) {
        SDL_UpdateRect(screenSurface, 0, 0, 0, 0);
        return;
    }
    if (UsesOpenGl()) {
        PresentOpenGl();
        return;
    }
    ScalePicture();
    // The bars around the picture never change.
    SDL_UpdateRect(displaySurface, layout.left, layout.top, layout.width, layout.height);
}

void CloseDisplay()
{
    std::free(smoothBuffer);
    smoothBuffer = nullptr;
    filtered.clear();
    filtered.shrink_to_fit();
    layout = PictureLayout{};
    if (screenSurface && displaySurface)
        SDL_FreeSurface(screenSurface);
    screenSurface = nullptr;
    displaySurface = nullptr;
}
