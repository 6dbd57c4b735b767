// The collection editor page `editBox`: it edits the window's own list `kolekce` and
// gives the chosen collection back when it closes.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/CollectionFile.h"
#include "engine/DialogSelection.h"
#include "engine/FileStamp.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramLocation.h"
#include "ui/Texts.h"

#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace {

const QString NewTitle = QStringLiteral("vytvořit novou kolekci");
const QString OpenedTitle = QStringLiteral("upravit kolekci");
const QString ErrorTitle = QStringLiteral("Chyba");
const QString SaveTitle = QStringLiteral("Uložit kolekci tapet");
const QString SaveFilter = QStringLiteral("tapetor kolekce|*.tkl");
const QString NewFileName = QStringLiteral("nová_kolekce.tkl");
const QString PicturesFilter
    = QStringLiteral("obrázek (.bmp .gif .jpg .png)|*.bmp;*.gif;*.jpg;*.jpeg;*.png|All (*.*)|*.*");

// The add dialog's room for the returned names; Qt's dialog has no such limit, so on
// Linux every chosen file arrives.
constexpr int AddDialogNameRoom = 32000;

// Qt's list removes the rows of one call one by one, moving every row behind them
// each time, so long runs of marked entries cost quadratic time. Up to this many
// marked entries they are removed run by run, which keeps the scroll position;
// beyond it the list is rebuilt from the kept entries in linear time.
constexpr int RemoveRunByRunUpTo = 64;

// The marks of every row, read from the selection's ranges: asking each row whether
// it is marked walks all ranges every time, which is slow after many Ctrl+clicks.
std::vector<bool> markedRows(const QAbstractItemView* list)
{
    const int count = list->model()->rowCount();
    std::vector<bool> marked(static_cast<size_t>(count), false);
    const QItemSelection selection = list->selectionModel()->selection();
    for (const QItemSelectionRange& range : selection) {
        for (int row = std::max(range.top(), 0); row <= range.bottom() && row < count; ++row)
            marked[static_cast<size_t>(row)] = true;
    }
    return marked;
}

} // namespace

void frmConsole::Label4_Click()
{
    if (m_collection->count() > 0)
        clearCollection();
    m_collection->setPath(Texts::NoNewPath);
    clearPreview();
    showPage(ui->editBox);
    ui->nadpis->setText(NewTitle);
    setCountLabel();
}

void frmConsole::Label5_Click()
{
    // The chosen collection leaves the list before the dialog, so it is gone even if
    // the user cancels; closing the editor or the settings page brings it back.
    const QString chosen = askForCollectionFile();
    if (chosen.isEmpty())
        return;
    openForEditing(chosen);
}

void frmConsole::openForEditing(const QString& chosen)
{
    // Taken before reading, so that a write during the read counts as a change.
    m_openedStamp = FileStamp::of(chosen);
    LoadCollection(chosen, [this, chosen] {
        m_collection->setPath(chosen);
        showPage(ui->editBox);
        ui->nadpis->setText(OpenedTitle);
        setCountLabel();
        if (m_collection->count() == 0) {
            // Nothing to select: the preview would otherwise go on showing a picture of
            // the collection that was in the list before.
            clearPreview();
            return;
        }
        selectEntry(0);
        showPictureInfo();
    });
}

void frmConsole::Label24_Click()
{
    CommonDialog1 = CommonDialog{};
    CommonDialog1.maxFileSize = AddDialogNameRoom;
    CommonDialog1.cancelError = true;
    CommonDialog1.filter = PicturesFilter;
    CommonDialog1.flags = DialogFlags::AllowMultiSelect | DialogFlags::Explorer | DialogFlags::LongNames;
    if (!m_services.dialogs->showOpen(this, CommonDialog1))
        return;
    addFiles(chosenFiles(CommonDialog1.fileName, m_services.location->separator()));
}

void frmConsole::addFiles(const QStringList& files)
{
    CollectionEntries added;
    bool refused = false;
    for (const QString& file : files) {
        CollectionEntry entry = entryFromPath(file);
        if (fitsOnALine(entry))
            added << std::move(entry);
        else
            refused = true;
    }
    addEntries(std::move(added), [this, refused] {
        setCountLabel();
        m_collection->setEdited(true);
        if (refused) {
            m_services.messages->show(this,
                                      QStringLiteral("Názvy některých vybraných souborů obsahují konec řádku, a "
                                                     "proto je nelze uložit do kolekce tapet.\rTyto soubory "
                                                     "nebyly přidány."),
                                      ErrorTitle, MsgStyle::OkCritical);
        }
    });
}

void frmConsole::Label23_Click()
{
    // From the question on: a change meanwhile would clear the marks the user set.
    const ListWork busy(*this);
    if (m_services.messages->show(this, QStringLiteral("Opravdu chcete odebrat vybrané tapety z kolekce?"),
                                  QStringLiteral("Odebrat tapety"), MsgStyle::YesNoQuestion)
        == MsgAnswer::No)
        return;

    QListView* list = ui->kolekce;
    const std::vector<bool> marked = markedRows(list);
    const auto markedCount = std::count(marked.begin(), marked.end(), true);
    if (markedCount == 0) {
        m_services.messages->show(this, QStringLiteral("Nebyly vybrány tapety pro odstranění z kolekce."), ErrorTitle,
                                  MsgStyle::OkCritical);
        return;
    }

    bool currentRemoved = false;
    if (markedCount <= RemoveRunByRunUpTo) {
        // From the back, so the rows still to be looked at keep their places.
        int row = m_collection->count() - 1;
        while (row >= 0) {
            if (!marked[static_cast<size_t>(row)]) {
                --row;
                continue;
            }
            int first = row;
            while (first > 0 && marked[static_cast<size_t>(first - 1)])
                --first;
            const int current = currentRow();
            currentRemoved = currentRemoved || (current >= first && current <= row);
            m_selectingFromCode = true;
            list->model()->removeRows(first, row - first + 1);
            m_selectingFromCode = false;
            row = first - 1;
        }
    } else {
        const int current = currentRow();
        currentRemoved = current >= 0 && marked[static_cast<size_t>(current)];
        CollectionEntries kept;
        kept.reserve(m_collection->count() - static_cast<qsizetype>(markedCount));
        int keptUpToCurrent = 0;
        for (int row = 0; row < m_collection->count(); ++row) {
            if (marked[static_cast<size_t>(row)])
                continue;
            kept << m_collection->at(row);
            if (row <= current)
                ++keptUpToCurrent;
        }
        // The current entry stays; a removed one hands over to the nearest kept entry
        // above it, or below when there is none above, as a run-by-run removal does.
        int newCurrent = -1;
        if (current >= 0 && !kept.isEmpty())
            newCurrent = keptUpToCurrent > 0 ? keptUpToCurrent - 1 : 0;

        m_selectingFromCode = true;
        list->setUpdatesEnabled(false);
        m_collection->setEntries(std::move(kept));
        if (newCurrent >= 0)
            list->selectionModel()->setCurrentIndex(m_collection->index(newCurrent), QItemSelectionModel::NoUpdate);
        list->setUpdatesEnabled(true);
        m_selectingFromCode = false;
        if (newCurrent >= 0)
            list->scrollTo(m_collection->index(newCurrent));
    }

    if (m_collection->count() == 0) {
        clearPreview();
    } else if (currentRemoved) {
        kolekce_Click();
    }
    setCountLabel();
    m_collection->setEdited(true);
}

void frmConsole::Label25_Click()
{
    if (m_collection->count() == 0) {
        m_services.messages->show(this,
                                  QStringLiteral("V kolekci nejsou vybrány tapety. Vyberte tapety do kolekce a "
                                                 "zkuste kolekci uložit znovu."),
                                  ErrorTitle, MsgStyle::OkCritical);
        return;
    }

    CommonDialog1 = CommonDialog{};
    CommonDialog1.flags = DialogFlags::OverwritePrompt;
    CommonDialog1.cancelError = true;
    CommonDialog1.dialogTitle = SaveTitle;
    CommonDialog1.filter = SaveFilter;
    if (m_collection->path() == Texts::NoNewPath) {
        CommonDialog1.fileName = NewFileName;
    } else {
        CommonDialog1.initDir = m_collection->path();
        CommonDialog1.fileName = m_collection->path();
    }
    if (!m_services.dialogs->showSave(this, CommonDialog1))
        return;
    const QString target = CommonDialog1.fileName;
    if (writtenSinceOpened(target)
        && m_services.messages->show(this,
                                     QStringLiteral("Soubor %1 od otevření kolekce změnil jiný program.\r"
                                                    "Chcete ho přesto přepsat kolekcí, kterou upravujete?")
                                         .arg(target),
                                     SaveTitle, MsgStyle::YesNo | MsgStyle::OkWarning)
            != MsgAnswer::Yes)
        return;

    SaveCollection(target, [this, target](bool saved) { collectionSaved(target, saved); });
}

void frmConsole::collectionSaved(const QString& target, bool saved)
{
    if (!saved) {
        // Closing now would throw the user's work away; the page stays open so it can
        // be saved elsewhere, and the previous file is still whole.
        m_services.messages->show(this,
                                  QStringLiteral("Kolekci tapet se nepodařilo uložit do souboru %1.\r"
                                                 "Zvolte jiné umístění nebo uvolněte místo na disku a uložte "
                                                 "kolekci znovu.")
                                      .arg(target),
                                  ErrorTitle, MsgStyle::OkCritical);
        return;
    }
    ui->editBox->setVisible(false);
    m_collection->setEdited(false);
    if (ui->nadpis->text() == NewTitle) {
        m_services.messages->show(this,
                                  QStringLiteral("Kolekce tapet byla vpořádku uložena.\r"
                                                 "Nyní zadejte v položce >Nastavit automatické změny tapet< "
                                                 "zbývající nastavení aplikace."),
                                  QStringLiteral("Informace"), MsgStyle::OkInformation);
    }
    m_collection->setPath(Texts::NoNewPath);
    clearCollection();
    Label26_Click();
}

bool frmConsole::writtenSinceOpened(const QString& target) const
{
    const QString opened = m_collection->path();
    // Compared as files, so that another spelling of the opened path counts too; a
    // target that is not there overwrites nothing.
    const QFileInfo file(target);
    if (opened == Texts::NoNewPath || !file.exists() || !(file == QFileInfo(opened)))
        return false;
    return FileStamp::of(target) != m_openedStamp;
}

void frmConsole::Label26_Click()
{
    if (m_collection->edited()
        && m_services.messages->show(this, Texts::UnsavedText, Texts::UnsavedTitle, MsgStyle::YesNoQuestion)
            == MsgAnswer::No)
        return;

    m_collection->setEdited(false);
    clearCollection();
    ui->editBox->setVisible(false);

    if (!m_options->hasCollection())
        return;
    loadChosenCollection(m_options->collection(), [this] { ScheduleNextChange(); });
}
