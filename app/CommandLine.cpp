#include "app/CommandLine.h"

namespace {

const QString Usage
    = QStringLiteral("Usage: tapetor [/startos | /uninstall | --next | --previous | --help | --version]\n");

const QString Help = Usage
    + QStringLiteral("Changes the desktop wallpaper along a wallpaper collection, by itself.\n"
                     "\n"
                     "  (no switch)   opens the window; when tapetor already runs, brings its window up\n"
                     "  /startos      changes the wallpaper as after logging on, saves the options, ends\n"
                     "  /uninstall    deletes the options and the logon entry, ends\n"
                     "  --next        changes the wallpaper now, as the tray's item does; after going\n"
                     "                back, goes forward through the pictures shown first. Started\n"
                     "                while tapetor is not running, changes it and ends\n"
                     "  --previous    puts back the picture shown before the current one; each\n"
                     "                further --previous goes further back\n"
                     "  --help        prints this help and ends\n"
                     "  --version     prints the version and ends\n");

} // namespace

std::optional<CommandLineAnswer> answerCommandLine(const QStringList& arguments, const QString& version)
{
    if (arguments == QStringList{QStringLiteral("--help")})
        return CommandLineAnswer{0, Help, {}};
    if (arguments == QStringList{QStringLiteral("--version")})
        return CommandLineAnswer{0, QStringLiteral("tapetor %1\n").arg(version), {}};
    const QStringList commands{QStringLiteral("--next"), QStringLiteral("--previous")};
    for (const QString& argument : arguments) {
        if (commands.contains(argument) && arguments.size() > 1)
            return CommandLineAnswer{2, {}, QStringLiteral("tapetor: '%1' takes nothing else\n").arg(argument) + Usage};
        if (argument.startsWith(QLatin1String("--")) && !commands.contains(argument))
            return CommandLineAnswer{2, {}, QStringLiteral("tapetor: unknown switch '%1'\n").arg(argument) + Usage};
    }
    return std::nullopt;
}
