// Process entry point.
#include <SDL.h>

#include "app/startup.h"

int main(int argc, char** argv)
{
    return GameMain(argc, argv);
}
