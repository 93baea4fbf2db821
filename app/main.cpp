#include "app/ProgramMain.h"
#include "platform/PlatformServices.h"

int main(int argc, char *argv[])
{
    // Message boxes, opening addresses and starting programs on the desktop.
    CPlatformServices services;
    return QuaerioMain(argc, argv, services);
}
