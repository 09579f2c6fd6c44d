// The maker's scene: circling picture, sliding logo, and the jingle that starts when the logo arrives.
#include "app/maker_scene.h"

#include "app/circle_tables.h"
#include "assets/bitmap.h"
#include "audio/music.h"
#include "core/geometry.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/input.h"

MakerScene makerScene;

namespace {

// The picture circles this point by at most 8 pixels each way (1024 >> 7).
constexpr int kOrbitCentreX = 160;
constexpr int kOrbitCentreY = 100;
constexpr int kOrbitShift = 7;
// The vertical circle runs three times as fast as the horizontal one.
constexpr int kOrbitYSpeed = 3;
// The logo's bottom edge rests on this line.
constexpr int kLogoBottom = 180;
// Pixels the logo slides per drawn frame.
constexpr int kLogoSlide = 2;
// The jingle plays once and stops by itself.
constexpr int kJinglePlays = 1;

bool LogoArrived()
{
    return makerScene.logoX <= MakerLogoRestX();
}

} // namespace

int MakerLogoRestX()
{
    return (kScreenWidth - SurfaceWidth(makerScene.logo)) >> 1;
}

int MakerSceneInit()
{
    makerScene = MakerScene{};
    makerScene.picture = LoadBitmap("tq-vexo", true);
    makerScene.logo = LoadBitmap("tq-logo", true);
    makerScene.jingle = LoadMusic(MusicJingle);
    FillRect(screenSurface, 0, 0, kScreenWidth, kScreenHeight, ColorBlack);
    return 0;
}

int MakerSceneDeinit()
{
    FreeSurface(makerScene.picture);
    FreeSurface(makerScene.logo);
    FreeMusic(makerScene.jingle);
    makerScene.picture = nullptr;
    makerScene.logo = nullptr;
    makerScene.jingle = nullptr;
    return 0;
}

int MakerSceneUpdate()
{
    if (LogoArrived()) {
        if (input.released == kButtonJump || input.released == kButtonStart)
            return 1;
        if (makerScene.jingle && !MusicPlaying())
            return 1;
    }
    makerScene.frame += 1;
    return 0;
}

int MakerSceneDraw(SDL_Surface* target)
{
    MakerScene& s = makerScene;
    const int pictureW = SurfaceWidth(s.picture);
    const int pictureH = SurfaceHeight(s.picture);
    const int logoW = SurfaceWidth(s.logo);
    const int logoH = SurfaceHeight(s.logo);
    const int logoY = kLogoBottom - logoH;
    FillRect(target, s.picX, s.picY, pictureW, pictureH, ColorBlack);
    FillRect(target, s.logoX, logoY, logoW, logoH, ColorBlack);

    s.picX = (CosTable[s.frame & (kCircleSteps - 1)] >> kOrbitShift) + (kOrbitCentreX - (pictureW >> 1));
    s.picY =
        (SinTable[(s.frame * kOrbitYSpeed) & (kCircleSteps - 1)] >> kOrbitShift) + (kOrbitCentreY - (pictureH >> 1));
    BlitAt(s.picture, s.picX, s.picY, target);

    const int restX = MakerLogoRestX();
    if (s.logoX > restX) {
        s.logoX -= kLogoSlide;
        if (s.logoX == restX && s.jingle)
            PlayMusic(s.jingle, kJinglePlays);
    }
    BlitAt(s.logo, s.logoX, logoY, target);
    return 0;
}
