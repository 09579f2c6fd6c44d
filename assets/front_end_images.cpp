// The title logo and the background image.
#include "assets/front_end_images.h"

#include "assets/bitmap.h"
#include "platform/draw.h"

SDL_Surface* LogoImage = nullptr;
SDL_Surface* BackImage = nullptr;

void LoadLogo()
{
    LogoImage = LoadBitmap("logo", true, 255, 0, 255);
}

void LoadBack()
{
    BackImage = LoadBitmap("back", false);
}

void FreeFrontEndImages()
{
    FreeSurface(LogoImage);
    LogoImage = nullptr;
    FreeSurface(BackImage);
    BackImage = nullptr;
}
