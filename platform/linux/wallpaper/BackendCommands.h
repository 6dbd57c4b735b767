#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One run of an external tool, with its arguments as a list (no shell involved).
struct ToolCall {
    QString program;
    QStringList arguments;
    // A failing optional call does not fail the change (a key an older desktop lacks).
    bool required = true;

    bool operator==(const ToolCall&) const = default;
};
using ToolCalls = QList<ToolCall>;

// What each desktop's backend runs to show picturePath in the style; a style outside
// 0..2 leaves the desktop's style as it is. The picture must be a file whose name
// differs from the one shown before (see WallpaperCopy.h).
ToolCalls gnomeCalls(const QString& picturePath, int style);
ToolCalls cinnamonCalls(const QString& picturePath, int style);
ToolCalls mateCalls(const QString& picturePath, int style);
ToolCalls kdeCalls(const QString& picturePath, int style);
ToolCalls lxdeCalls(const QString& picturePath, int style);
ToolCalls lxqtCalls(const QString& picturePath, int style);
// sway wants a mode on every change: the style must be 0..2.
ToolCalls swayCalls(const QString& picturePath, int style);
// What our own swaybg is started with on the other wlroots compositors, the same modes
// as sway's (sway runs a swaybg too), black around a centred picture.
QStringList swaybgArguments(const QString& picturePath, int style);

// XFCE keeps one picture per monitor and workspace; the listing call tells which
// exist, and every one of them gets the picture.
ToolCall xfceListingCall();
QStringList xfceLastImageProperties(const QByteArray& listing);
ToolCalls xfceCalls(const QStringList& lastImageProperties, const QString& picturePath, int style);

// The Plasma script that gives every desktop the picture and the fill mode.
QString kdeWallpaperScript(const QString& imageUri, int style);
