#include "ui/frmConsole.h"

#include "core/Options.h"

#include "ui_frmConsole.h"

#include "platform/BackgroundWork.h"
#include "platform/LogonEntry.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramLocation.h"
#include "platform/SettingsStore.h"
#include "ui/TextColour.h"
#include "ui/Texts.h"

#include <memory>

namespace {
const QString App = QStringLiteral("tapetor");
const QString OptionsSection = QStringLiteral("options");
const QString Uss3 = QStringLiteral("uss3");
} // namespace

void frmConsole::LoadSettings()
{
    m_options->load([this](const QString& key) {
        // A save still on its way to the disk holds the newest texts.
        for (const SettingsStore::Entry& entry : std::as_const(m_savingEntries)) {
            if (entry.section == OptionsSection && entry.key == key)
                return entry.value;
        }
        return m_services.settings->read(App, OptionsSection, key, QString());
    });
    optionsTakeEffect();
}

void frmConsole::optionsTakeEffect()
{
    ScheduleNextChange();
    if (m_options->run()) {
        ui->statusMain->setText(Texts::Active);
        setTextColour(ui->statusMain, Colours::Green);
    } else {
        ui->statusMain->setText(Texts::Inactive);
        setTextColour(ui->statusMain, Colours::Red);
    }
}

void frmConsole::SaveSettings()
{
    QList<SettingsStore::Entry> entries = m_options->entries(OptionsSection);
    entries += {
        {Uss3, QStringLiteral("path"), m_services.location->programDir()},
        {Uss3, QStringLiteral("major"), QString::number(TAPETOR_VERSION_MAJOR)},
        {Uss3, QStringLiteral("minor"), QString::number(TAPETOR_VERSION_MINOR)},
        {Uss3, QStringLiteral("build"), QString::number(TAPETOR_VERSION_REVISION)},
    };
    // The file is forced to disk, which a busy disk may take a good while over: the
    // window goes on meanwhile, and a save follows the one before it.
    const quint64 save = ++m_saves;
    m_savingEntries = entries;
    auto written = std::make_shared<bool>(false);
    m_services.work->run(
        this,
        [store = m_services.settings, logon = m_services.logon, program = m_services.location->programPath(),
         entries = std::move(entries), mode = m_options->mode(), startup = m_options->startup(), written] {
            *written = store->write(App, entries);
            UpdateLogonEntry(*logon, program, mode, startup);
        },
        [this, written, save] {
            if (save == m_saves)
                m_savingEntries.clear();
            reportUnsavedSettings(*written);
        });
}

void frmConsole::UpdateLogonEntry(LogonEntry& entry, const QString& program, Options::Mode mode, bool startup)
{
    if (mode == Options::Mode::AfterInterval && startup) {
        if (!entry.canOpen())
            return;
        entry.write(program, QString());
    }
    if (mode == Options::Mode::AfterStart && startup) {
        if (!entry.canOpen())
            return;
        entry.write(program, QStringLiteral("/startos"));
    }
    if (!startup) {
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
