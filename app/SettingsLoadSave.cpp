#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/SettingsText.h"
#include "platform/LogonEntry.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramLocation.h"
#include "platform/SettingsStore.h"
#include "ui/TextColour.h"
#include "ui/Texts.h"

namespace {
const QString App = QStringLiteral("tapetor");
const QString Options = QStringLiteral("options");
const QString Uss3 = QStringLiteral("uss3");
} // namespace

void frmConsole::LoadSettings()
{
    SettingsStore& store = *m_services.settings;
    const auto read = [&store](const char* key) { return store.read(App, Options, QLatin1String(key), QString()); };
    const auto loadCheck = [&read](QCheckBox* box, const char* key) {
        if (const auto state = checkStateFromText(read(key)))
            box->setChecked(*state);
    };
    const auto loadOption = [&read](QRadioButton* button, const char* key) {
        if (const auto state = optionStateFromText(read(key)))
            button->setChecked(*state);
    };

    // Each control raises its change handler as an edit would, so "startup" before
    // "run" is what makes a stored 1 with a stored 0 load as both unchecked.
    loadCheck(ui->Check1, "startup");
    loadCheck(ui->Check2, "run");
    ui->Text1->setText(read("interval"));
    loadOption(ui->Option1, "afterstart");
    loadOption(ui->Option3, "afterinterval");
    loadCheck(ui->Check3, "random");
    loadOption(ui->Option2, "v_stretch");
    loadOption(ui->Option4, "v_center");
    loadOption(ui->Option5, "v_cascade");
    ui->Label31->setText(read("kolekce"));
    if (ui->Label31->text().isEmpty())
        ui->Label31->setText(Texts::NoCollection);
    if (intervalValue(ui->Text1->text()) == 0.0)
        ui->Text1->setText(QStringLiteral("60"));
    ScheduleNextChange();
    if (ui->Check2->isChecked()) {
        ui->statusMain->setText(Texts::Active);
        setTextColour(ui->statusMain, Colours::Green);
    } else {
        ui->statusMain->setText(Texts::Inactive);
        setTextColour(ui->statusMain, Colours::Red);
    }
}

void frmConsole::SaveSettings()
{
    // One save: the settings file is rewritten once, and the logon run ends sooner.
    const QList<SettingsStore::Entry> entries{
        {Options, QStringLiteral("kolekce"), ui->Label31->text()},
        {Uss3, QStringLiteral("path"), m_services.location->programDir()},
        {Uss3, QStringLiteral("major"), QString::number(TAPETOR_VERSION_MAJOR)},
        {Uss3, QStringLiteral("minor"), QString::number(TAPETOR_VERSION_MINOR)},
        {Uss3, QStringLiteral("build"), QString::number(TAPETOR_VERSION_REVISION)},
        {Options, QStringLiteral("startup"), checkStateText(ui->Check1->isChecked())},
        {Options, QStringLiteral("run"), checkStateText(ui->Check2->isChecked())},
        {Options, QStringLiteral("interval"), ui->Text1->text()},
        {Options, QStringLiteral("afterstart"), optionStateText(ui->Option1->isChecked())},
        {Options, QStringLiteral("afterinterval"), optionStateText(ui->Option3->isChecked())},
        {Options, QStringLiteral("random"), checkStateText(ui->Check3->isChecked())},
        {Options, QStringLiteral("v_stretch"), optionStateText(ui->Option2->isChecked())},
        {Options, QStringLiteral("v_center"), optionStateText(ui->Option4->isChecked())},
        {Options, QStringLiteral("v_cascade"), optionStateText(ui->Option5->isChecked())},
    };
    const bool written = m_services.settings->write(App, entries);
    UpdateLogonEntry();
    reportUnsavedSettings(written);
}

void frmConsole::UpdateLogonEntry()
{
    LogonEntry& entry = *m_services.logon;
    const QString program = m_services.location->programPath();
    if (ui->Option3->isChecked() && ui->Check1->isChecked()) {
        if (!entry.canOpen())
            return;
        entry.write(program, QString());
    }
    if (ui->Option1->isChecked() && ui->Check1->isChecked()) {
        if (!entry.canOpen())
            return;
        entry.write(program, QStringLiteral("/startos"));
    }
    if (!ui->Check1->isChecked()) {
        if (!entry.canOpen())
            return;
        entry.remove();
    }
}

void frmConsole::reportUnsavedSettings(bool written)
{
    // The options would otherwise be lost silently at the next start; say it once,
    // not at every close of the window.
    if (written || m_toldSettingsUnsaved)
        return;
    m_toldSettingsUnsaved = true;
    m_services.messages->show(this,
                              QStringLiteral(
                                  "Nastavení aplikace se nepodařilo uložit.\r"
                                  "Zkontrolujte, zda je složka s nastavením zapisovatelná a disk není plný."),
                              Texts::Title, MsgStyle::OkCritical);
}
