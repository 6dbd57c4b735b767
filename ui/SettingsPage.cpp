// The settings page `nastaveni`.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "ui/Texts.h"

void frmConsole::Check1_Click()
{
    m_options->setStartup(ui->Check1->isChecked());
}

void frmConsole::Check2_Click()
{
    m_options->setRun(ui->Check2->isChecked());
}

void frmConsole::Text1_Click()
{
    ui->Text1->selectAll();
}

void frmConsole::Text1_GotFocus()
{
    ui->Text1->selectAll();
}

void frmConsole::Text1_Change()
{
    m_options->setInterval(ui->Text1->text());
    ScheduleNextChange();
}

void frmConsole::Label31_MouseMove()
{
    ui->Label31->setToolTip(m_options->collection());
}

void frmConsole::Label30_Click()
{
    const QString chosen = askForCollectionFile();
    if (chosen.isEmpty())
        return;
    LoadCollection(chosen, [this, chosen] {
        m_collection->setPath(chosen);
        m_options->setCollection(chosen);
        setCountLabel();
        selectEntry(0);
        showPictureInfo();
    });
}

void frmConsole::Label15_Click()
{
    if (!m_options->hasCollection()) {
        m_services.messages->show(this, Texts::NoCollectionText, Texts::SettingsCheckTitle, MsgStyle::OkCritical);
        return;
    }
    if (m_options->interval() == QLatin1String("0")) {
        m_services.messages->show(this,
                                  QStringLiteral("Interval změny tapet nesmí být nula.\r"
                                                 "Změňte prosím časový údaj intervalu změny."),
                                  Texts::SettingsCheckTitle, MsgStyle::OkCritical);
        return;
    }
    SaveSettings();
    Label34_Click();
    // What was saved is what is now in effect; an interval that reads as no number
    // counts as 60 minutes, as it would after the next start.
    m_options->repairInterval();
    optionsTakeEffect();
    ScheduleNextChange();
}

void frmConsole::Label34_Click()
{
    ui->nastaveni->setVisible(false);
    ScheduleNextChange();
}

QString frmConsole::askForCollectionFile()
{
    if (m_collection->count() > 0)
        clearCollection();
    // Every command configures the shared dialog from scratch: what an earlier one left
    // in it (the add dialog's multiple selection, say) never leaks in.
    CommonDialog1 = CommonDialog{};
    CommonDialog1.dialogTitle = Texts::OpenCollectionTitle;
    CommonDialog1.filter = Texts::CollectionFilter;
    CommonDialog1.cancelError = true;
    if (!m_services.dialogs->showOpen(this, CommonDialog1))
        return {};
    return CommonDialog1.fileName;
}
