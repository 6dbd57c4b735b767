#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "platform/BackgroundWork.h"
#include "platform/Clock.h"
#include "platform/LogonEntry.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureDecoder.h"
#include "platform/ProcessControl.h"
#include "platform/SettingsStore.h"
#include "platform/ShownPictureStore.h"
#include "platform/SingleInstance.h"
#include "platform/TrayIcon.h"
#include "ui/Texts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStringList>

void frmConsole::Form_Load()
{
    const QScopedValueRollback startingUp(m_startingUp, true);
    if (!isOneShot()) {
        show();
        // A Wayland compositor places its windows itself; a client cannot ask for a place.
        const bool placesItself = !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
        if (const QScreen* shown = screen(); shown && placesItself) {
            const QRect area = shown->geometry();
            const QRect frame = frameGeometry();
            move(area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2);
        }
        AddTrayIcon(Texts::Title);
    }
    LoadSettings();
    if (m_argumentText == QLatin1String("/uninstall")) {
        uninstall();
        return;
    }
    loadHistory();
    if (isOneShot() && runOneShotFromHistory())
        return;
    if (!m_options->hasCollection()) {
        if (isOneShot()) {
            // Says that no collection is chosen.
            changeNow_Click();
            endProcess(1);
        }
        return;
    }

    loadChosenCollection(m_options->collection(), [this] { startWithCollection(); });
    // The logon run and a command run by itself make their changes before they end,
    // and hand nothing over: they wait for them here. A plain start holds the one-copy
    // place already: it answers a later start while the collection is read and the
    // first picture decoded, and makes its first change from the event loop.
    if (m_argumentText == QLatin1String("/startos") || isOneShot()) {
        m_services.work->finish();
        // A collection that could not be read, or has no entry: the pictures prepared for
        // it are never shown, and a logon run that stays in the tray would hold them.
        if (!m_ended)
            m_services.decoder->dropPrepared();
        if (isOneShot() && !m_ended)
            endProcess(1);
    }
}

void frmConsole::startWithCollection()
{
    clearMarks();
    // Otherwise every logon would show the same first pictures of the list.
    goOnAfterLastShown();

    // A one-picture collection still gets its change at logon: the first entry is
    // current and the start-up goes on with the change rather than stopping here.
    moveToNextEntry();
    if (m_collection->count() == 0)
        return;

    if (isOneShot()) {
        changeNow_Click();
        endProcess();
        return;
    }
    changeNow_Click();
    if (m_ended)
        return;
    if (m_argumentText == QLatin1String("/startos")) {
        changeNow_Click();
        mnuc1_end_Click();
        return;
    }
    // Loading the collection lets events in, a later start's hand-over among them.
    if (m_options->run() && !m_shownOnRequest)
        minimiseToTray();
}

void frmConsole::uninstall()
{
    const QString app = QStringLiteral("tapetor");
    const bool settingsRemoved = m_services.settings->deleteApp(app);
    if (m_services.shown)
        m_services.shown->remove();
    // An entry in a place that cannot be opened stays where it is, and it would start
    // the program again at the next logon: that is worth saying, not a reason to stop.
    const bool entryRemoved = m_services.logon->canOpen() && m_services.logon->remove();
    if (settingsRemoved && entryRemoved) {
        m_services.messages->show(this,
                                  QStringLiteral("Aplikace tapetor provedla příkaz pro odinstalování.\r"
                                                 "Klikněte na OK a pokračujte v odinstalaci aplikace."),
                                  Texts::Title, MsgStyle::OkInformation);
    } else {
        // Whoever uninstalls must learn what is left and where, to remove it by hand.
        QStringList lines{QStringLiteral("Aplikace tapetor provedla příkaz pro odinstalování jen zčásti.")};
        if (!settingsRemoved)
            lines << QStringLiteral("Nepodařilo se odstranit volby aplikace: ") + m_services.settings->location(app);
        if (!entryRemoved)
            lines << QStringLiteral("Nepodařilo se odstranit položku pro automatické spuštění: ")
                    + m_services.logon->location();
        lines << QStringLiteral("Klikněte na OK a pokračujte v odinstalaci aplikace.");
        m_services.messages->show(this, lines.join(QLatin1Char('\r')), Texts::Title, MsgStyle::OkWarning);
    }
    endProcess();
}

void frmConsole::mnuc1_end_Click()
{
    if (m_ended)
        return;
    if (m_collection->edited()) {
        if (m_services.messages->show(this, Texts::UnsavedText, Texts::UnsavedTitle, MsgStyle::YesNoQuestion)
            == MsgAnswer::No)
            return;
    }
    m_collection->setEdited(false);
    close();
    endProcess();
}

void frmConsole::mnu_endapp_Click()
{
    mnuc1_end_Click();
}

void frmConsole::leaveToRunningCopy()
{
    endProcess();
}

void frmConsole::endProcess(int status)
{
    m_ended = true;
    m_exitStatus = status;
    // Leaving no icon behind in the tray.
    RemoveTrayIcon();
    // A later start made from here on runs by itself once this copy has gone.
    if (m_services.instance)
        m_services.instance->leave();
    Timer1.stop();
    // The next picture will never be shown: its decode is not waited for. The last
    // bitmap is complete before the process ends.
    m_services.decoder->cancel();
    m_pipeline->finish();
    // The options are on disk, and a save that failed is told, before the process ends.
    m_services.work->finish();
    hide();
    m_services.process->exit(status);
}

void frmConsole::sessionEnding()
{
    SaveSettings();
    m_services.work->finish();
    m_pipeline->finish();
    m_sessionEnding = true;
}

void frmConsole::closeEvent(QCloseEvent* event)
{
    // After the uninstall nothing may be written back; after the exit it already was.
    if (m_ended) {
        event->accept();
        return;
    }
    SaveSettings();
    if (m_sessionEnding) {
        event->accept();
        return;
    }
    event->ignore();
    minimiseToTray();
}
