#include "platform/qt/QtFileDialogs.h"

#include "platform/qt/DialogFilter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// The desktop's own dialog may run out of process where tests cannot type into it;
// Qt's widget dialog behaves the same everywhere.
void prepare(QFileDialog& box, const CommonDialog& dialog)
{
    box.setOption(QFileDialog::DontUseNativeDialog, true);
    box.setOption(QFileDialog::HideNameFilterDetails, true);
    // Without a title of its own the dialog keeps Qt's "Open" or "Save As".
    if (!dialog.dialogTitle.isEmpty())
        box.setWindowTitle(dialog.dialogTitle);
    const QStringList filters = qtNameFilters(dialog.filter);
    if (!filters.isEmpty())
        box.setNameFilters(filters);
    QString folder = dialog.initDir;
    QString name = dialog.fileName;
    // The save command passes the collection's full path as both folder and name.
    if (!folder.isEmpty() && QFileInfo(folder).isFile())
        folder = QFileInfo(folder).absolutePath();
    if (!folder.isEmpty())
        box.setDirectory(folder);
    if (!name.isEmpty() && !name.contains(QChar(0)))
        box.selectFile(QFileInfo(name).isAbsolute() ? name : QFileInfo(name).fileName());
}

} // namespace

bool QtFileDialogs::showOpen(QWidget* parent, CommonDialog& dialog)
{
    QFileDialog box(parent);
    prepare(box, dialog);
    box.setAcceptMode(QFileDialog::AcceptOpen);
    box.setFileMode((dialog.flags & DialogFlags::AllowMultiSelect) ? QFileDialog::ExistingFiles
                                                                   : QFileDialog::ExistingFile);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return false;
    dialog.fileName = joinChosenFiles(box.selectedFiles(), QDir::separator());
    return true;
}

bool QtFileDialogs::showSave(QWidget* parent, CommonDialog& dialog)
{
    QFileDialog box(parent);
    prepare(box, dialog);
    box.setAcceptMode(QFileDialog::AcceptSave);
    box.setFileMode(QFileDialog::AnyFile);
    box.setOption(QFileDialog::DontConfirmOverwrite, !(dialog.flags & DialogFlags::OverwritePrompt));
    // A name typed without its extension would be saved where the open dialog's
    // filter never shows it.
    box.setDefaultSuffix(defaultSuffix(dialog.filter));
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return false;
    dialog.fileName = QDir::toNativeSeparators(box.selectedFiles().first());
    return true;
}
