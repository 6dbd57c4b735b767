#include "platform/linux/wallpaper/BackendCommands.h"

#include "platform/linux/wallpaper/StyleOptions.h"
#include "platform/linux/wallpaper/TextQuoting.h"

#include <QRegularExpression>

namespace {

ToolCall gsettingsSet(const QString& schema, const QString& key, const QString& value, bool required = true)
{
    return {QStringLiteral("gsettings"), {QStringLiteral("set"), schema, key, gvariantString(value)}, required};
}

// The style first, so the desktop draws the new picture once, already in its style.
ToolCalls gsettingsCalls(const QString& schema, const QString& pictureKey, const QString& pictureValue, int style)
{
    ToolCalls calls;
    if (const auto options = gnomePictureOptions(style))
        calls.append(gsettingsSet(schema, QStringLiteral("picture-options"), *options));
    calls.append(gsettingsSet(schema, pictureKey, pictureValue));
    return calls;
}

ToolCall xfconfSet(const QString& property, const QString& type, const QString& value)
{
    return {QStringLiteral("xfconf-query"),
            {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-p"), property,
             QStringLiteral("-n"), QStringLiteral("-t"), type, QStringLiteral("-s"), value}};
}

ToolCalls pcmanfmCalls(const QString& program, const QString& picturePath, int style)
{
    QStringList arguments{QStringLiteral("--set-wallpaper=") + picturePath};
    if (const auto mode = pcmanfmWallpaperMode(style))
        arguments.append(QStringLiteral("--wallpaper-mode=") + *mode);
    return {{program, arguments}};
}

} // namespace

ToolCalls gnomeCalls(const QString& picturePath, int style)
{
    const QString schema = QStringLiteral("org.gnome.desktop.background");
    const QString uri = fileUri(picturePath);
    ToolCalls calls = gsettingsCalls(schema, QStringLiteral("picture-uri"), uri, style);
    // GNOME 42 and later show this one in dark mode; older schemas lack the key.
    calls.append(gsettingsSet(schema, QStringLiteral("picture-uri-dark"), uri, false));
    return calls;
}

ToolCalls cinnamonCalls(const QString& picturePath, int style)
{
    return gsettingsCalls(QStringLiteral("org.cinnamon.desktop.background"), QStringLiteral("picture-uri"),
                          fileUri(picturePath), style);
}

ToolCalls mateCalls(const QString& picturePath, int style)
{
    return gsettingsCalls(QStringLiteral("org.mate.background"), QStringLiteral("picture-filename"), picturePath,
                          style);
}

ToolCall xfceListingCall()
{
    return {QStringLiteral("xfconf-query"),
            {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-l")}};
}

QStringList xfceLastImageProperties(const QByteArray& listing)
{
    static const QRegularExpression pattern(
        QStringLiteral("^/backdrop/screen\\d+/monitor[^/]+/workspace\\d+/last-image$"));
    QStringList properties;
    for (const QByteArray& line : listing.split('\n')) {
        const QString property = QString::fromUtf8(line).trimmed();
        if (pattern.match(property).hasMatch() && !properties.contains(property))
            properties.append(property);
    }
    return properties;
}

ToolCalls xfceCalls(const QStringList& lastImageProperties, const QString& picturePath, int style)
{
    const auto imageStyle = xfceImageStyle(style);
    ToolCalls calls;
    for (const QString& property : lastImageProperties) {
        // xfdesktop reacts to changes only; the empty value makes the path one.
        ToolCall clear = xfconfSet(property, QStringLiteral("string"), QString());
        clear.required = false;
        calls.append(clear);
        calls.append(xfconfSet(property, QStringLiteral("string"), picturePath));
        if (imageStyle) {
            QString styleProperty = property;
            styleProperty.replace(QLatin1String("/last-image"), QLatin1String("/image-style"));
            calls.append(xfconfSet(styleProperty, QStringLiteral("int"), QString::number(*imageStyle)));
        }
    }
    return calls;
}

QString kdeWallpaperScript(const QString& imageUri, int style)
{
    QString script = QStringLiteral("var all = desktops();\n"
                                    "for (var i = 0; i < all.length; i++) {\n"
                                    "    var d = all[i];\n"
                                    "    d.wallpaperPlugin = 'org.kde.image';\n"
                                    "    d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];\n");
    if (const auto fillMode = kdeFillMode(style))
        script += QStringLiteral("    d.writeConfig('FillMode', %1);\n").arg(*fillMode);
    script += QStringLiteral("    d.writeConfig('Image', %1);\n}\n").arg(javaScriptString(imageUri));
    return script;
}

ToolCalls kdeCalls(const QString& picturePath, int style)
{
    // dbus-send with --print-reply waits for the answer and fails on an error reply.
    return {{QStringLiteral("dbus-send"),
             {QStringLiteral("--session"), QStringLiteral("--dest=org.kde.plasmashell"),
              QStringLiteral("--type=method_call"), QStringLiteral("--print-reply"), QStringLiteral("/PlasmaShell"),
              QStringLiteral("org.kde.PlasmaShell.evaluateScript"),
              QStringLiteral("string:") + kdeWallpaperScript(fileUri(picturePath), style)}}};
}

ToolCalls lxdeCalls(const QString& picturePath, int style)
{
    return pcmanfmCalls(QStringLiteral("pcmanfm"), picturePath, style);
}

ToolCalls lxqtCalls(const QString& picturePath, int style)
{
    return pcmanfmCalls(QStringLiteral("pcmanfm-qt"), picturePath, style);
}

ToolCalls swayCalls(const QString& picturePath, int style)
{
    return {{QStringLiteral("swaymsg"),
             {QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"), swayQuoted(picturePath),
              swayBackgroundMode(style).value_or(QStringLiteral("stretch"))}}};
}

QStringList swaybgArguments(const QString& picturePath, int style)
{
    return {QStringLiteral("-o"), QStringLiteral("*"),
            QStringLiteral("-i"), picturePath,
            QStringLiteral("-m"), swayBackgroundMode(style).value_or(QStringLiteral("stretch")),
            QStringLiteral("-c"), QStringLiteral("#000000")};
}
