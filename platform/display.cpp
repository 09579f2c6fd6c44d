// Video mode set-up and presentation of the logical screen: 1x window, software
// doubling (plain, Scale2x, smoothing) and an OpenGL texture.
#include "platform/display.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdlib>

#include "core/fatal_error.h"
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

bool Doubled()
{
    return displayConfig.zoom || displayConfig.fullscreen;
}

bool UsesOpenGl()
{
    return Doubled() && displayConfig.opengl;
}

void OpenGlState(const DisplayConfig& config)
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
    if (config.hd) {
        gl.width = kHdPictureWidth;
        gl.height = kHdHeight;
        glViewport(kHdPictureLeft, 0, gl.width, gl.height);
    } else {
        gl.width = displaySurface->w;
        gl.height = displaySurface->h;
        glViewport(0, 0, gl.width, gl.height);
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

void PresentSmooth()
{
    const int bpp = screenSurface->format->BytesPerPixel;
    SDL_LockSurface(displaySurface);
    SDL_LockSurface(screenSurface);
    // A display taller than the picture gets it centred vertically.
    const int top = (displaySurface->h - kDoubledHeight) / 2;
    uint8_t* dst = static_cast<uint8_t*>(displaySurface->pixels) + top * displaySurface->pitch;
    scalers->smooth(ScreenPixels(), screenSurface->pitch, dst, displaySurface->pitch, bpp, smoothMask, smoothBuffer);
    SDL_UnlockSurface(screenSurface);
    SDL_UnlockSurface(displaySurface);
}

void PresentDoubled()
{
    const int bpp = screenSurface->format->BytesPerPixel;
    SDL_LockSurface(displaySurface);
    SDL_LockSurface(screenSurface);
    uint8_t* dst = static_cast<uint8_t*>(displaySurface->pixels);
    if (displayConfig.scale2x)
        scalers->scale2x(ScreenPixels(), screenSurface->pitch, dst, displaySurface->pitch, bpp);
    else
        scalers->plain(ScreenPixels(), screenSurface->pitch, dst, displaySurface->pitch, bpp);
    SDL_UnlockSurface(screenSurface);
    SDL_UnlockSurface(displaySurface);
}

} // namespace

void OpenDisplay(const DisplayConfig& config)
{
    displayConfig = config;
    if (!Doubled()) {
        screenSurface = SDL_SetVideoMode(kScreenWidth, kScreenHeight, config.depth, 0);
        if (!screenSurface)
            FatalError("Unable to set video mode", SDL_GetError());
        return;
    }

    const Uint32 fullscreen = config.fullscreen ? SDL_FULLSCREEN : 0;
    if (UsesOpenGl()) {
        SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
        const int w = config.hd ? kHdWidth : kDoubledWidth;
        const int h = config.hd ? kHdHeight : kDoubledHeight;
        displaySurface = SDL_SetVideoMode(w, h, kGlDepth, SDL_HWSURFACE | SDL_OPENGL | SDL_DOUBLEBUF | fullscreen);
    } else {
        displaySurface = SDL_SetVideoMode(kDoubledWidth, kDoubledHeight, config.depth, SDL_HWSURFACE | fullscreen);
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

    scalers = &PickScalerSet();
    if (!UsesOpenGl() && config.smooth) {
        smoothBuffer = static_cast<uint32_t*>(std::malloc(kSmoothBufferWords * sizeof(uint32_t)));
        if (!smoothBuffer)
            FatalError("Unable to set video mode", "out of memory");
        if (screenSurface) {
            const SDL_PixelFormat* f = screenSurface->format;
            smoothMask = SmoothMask(f->Rshift, f->Gshift, f->Bshift, f->BytesPerPixel);
        }
    }
    if (UsesOpenGl())
        OpenGlState(config);

    if (!screenSurface)
        FatalError("Unable to set video mode", SDL_GetError());
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
    if (displayConfig.smooth)
        PresentSmooth();
    else
        PresentDoubled();
    SDL_UpdateRect(displaySurface, 0, 0, 0, 0);
}

void CloseDisplay()
{
    std::free(smoothBuffer);
    smoothBuffer = nullptr;
    if (screenSurface && displaySurface)
        SDL_FreeSurface(screenSurface);
    screenSurface = nullptr;
    displaySurface = nullptr;
}
