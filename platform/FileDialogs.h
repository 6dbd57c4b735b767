#pragma once

#include <QString>

class QWidget;

// Flags, with the values of the Windows common dialog.
namespace DialogFlags {
constexpr int OverwritePrompt = 0x2;
constexpr int AllowMultiSelect = 0x200;
constexpr int Explorer = 0x80000;
constexpr int LongNames = 0x200000;
} // namespace DialogFlags

// The window's one shared file dialog. A setting that a command does not make keeps
// whatever an earlier use left, so commands configure exactly what they need.
struct CommonDialog {
    QString dialogTitle;
    // "description|pattern|description|pattern|" as the Windows control takes it.
    QString filter;
    QString fileName;
    QString initDir;
    int flags = 0;
    int maxFileSize = 260;
    bool cancelError = false;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Both return false when the user cancelled. On success dialog.fileName holds the
    // full path; with several files chosen it holds the folder, then each bare file
    // name, separated by NUL characters.
    virtual bool showOpen(QWidget* parent, CommonDialog& dialog) = 0;
    virtual bool showSave(QWidget* parent, CommonDialog& dialog) = 0;
};
