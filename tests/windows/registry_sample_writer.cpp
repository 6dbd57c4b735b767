// Writes (or removes) a known set of values through the Windows layer, so a shell
// script can look at them from outside with Wine's reg.exe.

#include "TestEnvironment.h"

#include "platform/windows/AnsiText.h"
#include "platform/windows/DesktopWallpaper.h"
#include "platform/windows/RegistrySettings.h"
#include "platform/windows/RunKeyEntry.h"

#include <cstring>

namespace {

bool writeSamples()
{
    const auto collection = win::wideToAnsi(L"C:\\Kolekce\\Žluťoučký kůň.tkl");
    return collection && win::settings::write("tapetor", "options", "interval", "15")
        && win::settings::write("tapetor", "options", "kolekce", *collection)
        && win::settings::write("tapetor", "uss3", "major", "3")
        && win::settings::write("tapetorX", "options", "interval", "30")
        && win::runkey::write("C:\\Program Files\\tapetor\\tapetor.exe", "/startos")
        && win::SetWallpaper("C:\\Program Files\\tapetor\\tapetor.bmp", 1);
}

bool removeSamples()
{
    return win::settings::deleteApp("tapetor") && win::runkey::remove();
}

} // namespace

int main(int argc, char** argv)
{
    if (!mayChangeThisDesktop("registry_sample_writer"))
        return skipExitCode;
    if (argc == 2 && std::strcmp(argv[1], "write") == 0)
        return writeSamples() ? 0 : 1;
    if (argc == 2 && std::strcmp(argv[1], "remove") == 0)
        return removeSamples() ? 0 : 1;
    std::fprintf(stderr, "usage: registry_sample_writer write|remove\n");
    return 2;
}
