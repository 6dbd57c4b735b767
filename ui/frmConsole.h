#pragma once

#include "platform/FileDialogs.h"
#include "platform/PlatformServices.h"
#include "platform/SettingsStore.h"
#include "platform/SingleInstance.h"
#include "core/ChangePipeline.h"
#include "core/CollectionModel.h"
#include "core/Options.h"
#include "core/ShownHistory.h"
#include "engine/CollectionFile.h"
#include "engine/CollectionOrder.h"
#include "engine/FileStamp.h"

#include <QDateTime>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QAbstractItemView;
class QMenu;
class QAction;
class ChangeSchedule;
class LogonEntry;

namespace Ui {
class frmConsole;
}

// The application's only window. Reading, sorting and writing collections and handing
// changes to the desktop run beside its thread, and their results arrive on it; every
// user action is one handler named after the control that raises it.
class frmConsole : public QWidget {
    Q_OBJECT
public:
    frmConsole(const PlatformServices& services, QString argumentText, QWidget* parent = nullptr);
    ~frmConsole() override;

    // Shared procedures, called from several handlers.
    void LoadSettings();
    // Saves beside the window's thread; a save that fails is told once it has.
    void SaveSettings();
    static void UpdateLogonEntry(LogonEntry& entry, const QString& program, Options::Mode mode, bool startup);
    // Reads and sorts the collection beside the window's thread, puts it into the list in
    // one step, says what was wrong with the file, then runs `then`, unless the program
    // ended meanwhile.
    void LoadCollection(const QString& path, std::function<void()> then);
    // Writes the list's entries beside the window's thread, then tells `then` whether
    // the file is whole.
    void SaveCollection(const QString& path, std::function<void(bool saved)> then);
    void ScheduleNextChange();
    void ApplyPreviewAsWallpaper(int style);
    void GetBitmapInfo(const QImage& picture, int& width, int& height, short& planes, short& bitsPerPixel) const;
    void ListBoxSelectRange(QAbstractItemView* list, bool select, int first, int& last);
    void ShellOpen(const QString& target);
    void AddTrayIcon(const QString& tip);
    void RemoveTrayIcon();

    // A logoff or shutdown: the options are saved and closing is no longer refused.
    void sessionEnding();
    // Whether the process has been told to end; nothing runs after that.
    bool hasEnded() const { return m_ended; }
    // What the process ends with: not 0 when a command run by itself could not be done.
    int exitStatus() const { return m_exitStatus; }
    const ChangeSchedule& schedule() const { return *m_schedule; }
    CollectionModel& collection() { return *m_collection; }
    Options& options() { return *m_options; }
    // Another copy runs and has shown its window: this one goes, leaving no icon.
    void leaveToRunningCopy();
    // The shared file dialog settings, kept between commands.
    CommonDialog CommonDialog1;

public Q_SLOTS:
    // Start-up and shutdown
    void Form_Load();
    void mnuc1_end_Click();
    void mnu_endapp_Click();
    void Form_Resize();

    // Navigation and menus
    void Label6_Click();
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();
    void Image5_Click();
    void Image6_Click();
    void Image7_Click();
    void Label28_Click();
    void Label13_Click();

    // Changing the wallpaper
    void changeNow_Click();
    void mnuchnw_Click();
    void mnuCenter_Click();
    void mnustr_Click();
    void mnutile_Click();
    void Timer1_Timer();

    // Settings page
    void Check1_Click();
    void Check2_Click();
    void Text1_Click();
    void Text1_GotFocus();
    void Text1_Change();
    void Label30_Click();
    void Label31_MouseMove();
    void Label15_Click();
    void Label34_Click();

    // Collection editor
    void Label4_Click();
    void Label5_Click();
    void Label24_Click();
    void Label23_Click();
    void Label25_Click();
    void Label26_Click();

    // Files and folders dropped on the window: into the editor, or a collection onto the
    // start page.
    void Form_OLEDragDrop(const QStringList& paths);

    // Preview
    void kolekce_Click();
    void kolekce_MouseMove();
    void Label27_MouseMove();
    void nahled_Click();

    // Tray
    void trayIcon_Activated(int reason);
    void mnuShowApp_Click();
    // A later start of the program handed over to this copy; false when this copy is
    // ending and cannot take it.
    bool instance_HandOver(SingleInstance::Command command = SingleInstance::Command::Show);

    // History: the picture shown before the current one goes back on the desktop; going
    // forward first walks through the pictures gone back over, then changes along the
    // collection.
    void goBackInHistory();
    void goForwardOrChange();

    // About page, update client and links
    void Label14_Click();
    void Label19_Click();
    void Label20_Click();
    void Label12_Click();
    void mnuurl1_Click();
    void mnuurl2_Click();
    void Label21_Click();
    void Label17_Click();
    void Label22_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void wireControls();
    void buildPopupMenus();
    void uninstall();
    // After a change, and at start: the next entry, or a random one, becomes current.
    void moveToNextEntry();
    void endProcess(int status = 0);
    // Started for one command (--next, --previous): no window, no tray icon; the command
    // is carried out and the process ends.
    bool isOneShot() const;
    // The one-shot's command when the history can answer it; false when the collection
    // must.
    bool runOneShotFromHistory();
    void loadHistory();
    // The picture the preview holds went to the desktop in `style`.
    void recordInHistory(int style);
    void saveHistory();
    void applyFromHistory(const ShownHistory::Picture& picture);
    // What runs once a change has let its picture go.
    std::function<void()> changeDone();
    void showPage(QWidget* page);
    // Hides the window into the tray, or minimises it when there is no tray to come
    // back from.
    void hideToTray();
    void minimiseToTray();
    bool trayUsable() const;
    void restoreWindow();
    // Hidden, nobody sees the clock: the tick stops and the alarm wakes the window for
    // the change only. Shown, the tick runs again and every text is brought up to date.
    void followVisibility();
    void alarm_Wake();
    void armAlarm();
    // The moment the picture of the next automatic change is decoded again when it was
    // let go; invalid when no automatic change is coming.
    QDateTime pictureMoment() const;
    bool pictureWantedSoon() const;
    // Makes an entry current and marks it, then loads it into the preview, as a click would.
    void selectEntry(int index);
    // The entry last given to the desktop from the loaded collection becomes current,
    // so that start-up goes on after it.
    void goOnAfterLastShown();
    void rememberShown();
    void setCountLabel();
    // Adds entries at their sorted places, then runs `then`; the list never holds more
    // than 32767.
    void addEntries(CollectionEntries entries, std::function<void()> then);
    struct SortJob;
    void runSortJob(const std::shared_ptr<SortJob>& job, std::function<void()> then);
    void placeSorted(const SortJob& job);
    // Tells the user what was wrong with the collection file just read, if anything.
    void warnOfReading(const QString& path, const CollectionReading& reading);
    // While a job works on the list's entries, the controls that would change them are
    // disabled and changes wait.
    void setCollectionBusy(bool busy);
    void clearCollection();
    // Adds files to the collection as "přidat" adds the chosen ones.
    void addFiles(const QStringList& files);
    // The end of "otevřít a upravit": the collection is read into the editor.
    void openForEditing(const QString& chosen);
    enum class DropTarget { None, Editor, StartPage };
    DropTarget dropTarget(const QStringList& paths) const;
    // Adds the files dropped and the pictures in the folders dropped, which are searched
    // beside the window.
    void addDropped(const QStringList& paths);
    // Empties the list, then asks for a collection file; empty when cancelled.
    QString askForCollectionFile();
    // Every entry of the list unmarked; the current one stays.
    void clearMarks();
    // The row of the current entry; -1 when none.
    int currentRow() const;
    void setChangeNowBusy(bool busy);
    // The decoded picture of the current entry arrives.
    void previewDecoded(quint64 request, QImage picture);
    // Shows the path and the measures of the picture the preview now holds.
    void showPreviewPicture(const QString& path);
    // Runs `then` once the preview holds the current entry's picture: at once when it
    // does, otherwise when its decode arrives.
    void withPreviewPicture(std::function<void()> then);
    // A change waiting for its picture is made first, waiting for the decode.
    void finishAwaitedChange();
    // The size line of the picture the preview holds, unless it is still to come.
    void showPictureInfo();
    void showPictureMeasures();
    void clearPreview();
    // Hidden, a full picture nobody sees would hold its whole size in memory for hours:
    // the preview lets it go while the next change is far off, keeps its path and
    // measures, and has it decoded again, beside the window, when it is wanted.
    void letPictureGo();
    void bringPictureBack();
    // Asks for the picture of the entry m_previewBytes names.
    void requestPreviewPicture();
    void sendPreviewRequest();
    // Loads the chosen collection into the empty list, makes its first entry current and
    // runs `then`; nothing when the program ended meanwhile.
    void loadChosenCollection(const QString& path, std::function<void()> then);
    // The rest of the start once the chosen collection is in the list.
    void startWithCollection();
    // Whether TARGET is the opened collection's file and another program wrote it since.
    bool writtenSinceOpened(const QString& target) const;
    void reportUnsavedSettings(bool written);
    // The loaded or saved options: the schedule follows them and the status line says
    // whether the changes run.
    void optionsTakeEffect();
    // The settings page shows the options as they now are.
    void showOptions();
    // The end of "uložit": the editor closes once the collection is whole on disk.
    void collectionSaved(const QString& target, bool saved);

    PlatformServices m_services;
    QString m_argumentText;
    std::unique_ptr<Ui::frmConsole> ui;
    // A child, so it goes after the list that shows it.
    CollectionModel* m_collection = nullptr;
    Options* m_options = nullptr;
    QTimer Timer1;
    std::unique_ptr<ChangeSchedule> m_schedule;
    bool m_sleeping = false;
    CollectionOrder m_order;
    std::unique_ptr<ChangePipeline> m_pipeline;
    // The opened collection's file as it was read, so that a save over it can tell
    // whether another program wrote it while the editor had it open.
    FileStamp m_openedStamp;

    QMenu* mnu_context001 = nullptr;
    QMenu* mnu_tray = nullptr;
    QMenu* mnuUrl01 = nullptr;
    QMenu* mnuctx004 = nullptr;

    // The preview's request still to be answered (0: none), the count of requests made,
    // and the entry whose picture was asked for: its path as shown and its line's bytes.
    quint64 m_previewRequest = 0;
    quint64 m_previewRequests = 0;
    QString m_previewPath;
    QByteArray m_previewBytes;
    // The preview let its picture go while hidden; Label27 and tapetainfo still describe it.
    bool m_pictureLetGo = false;
    // A change is waiting for the preview's picture, which it applies right away.
    bool m_pictureWantedNow = false;
    // The rest of a change, run once the preview's picture has been decoded.
    bool m_changeAwaitsPicture = false;
    std::function<void()> m_pictureReady;
    // Changes handed to the desktop and not yet done with their picture, and a preview
    // request held back until they are.
    int m_changesRunning = 0;
    bool m_previewDeferred = false;
    // Form_Load runs: the event loop has not started yet.
    bool m_startingUp = false;

    // While the list's entries are read, sorted or saved beside the window, or a message
    // box is open in the middle of putting them in or thinning them out, a change asked
    // for meanwhile (a tick, the tray menu) would apply a picture of a list that is only
    // half there, or move the marks a removal goes by. It waits instead, and runs from
    // the event loop once the last such stretch of work has ended.
    class ListWork {
    public:
        explicit ListWork(frmConsole& window);
        ~ListWork();
        ListWork(const ListWork&) = delete;
        ListWork& operator=(const ListWork&) = delete;

    private:
        frmConsole& m_window;
    };
    int m_listWork = 0;
    bool m_changeWaiting = false;

    bool m_ended = false;
    int m_exitStatus = 0;
    ShownHistory m_history;
    bool m_selectingFromCode = false;
    bool m_sessionEnding = false;
    // A later start asked for the window, so start-up leaves it shown.
    bool m_shownOnRequest = false;
    bool m_toldSettingsUnsaved = false;
    // The texts of the latest save until it has reached the store, and the count of saves.
    QList<SettingsStore::Entry> m_savingEntries;
    quint64 m_saves = 0;
    // What the tick rendered last, so it does no work its result does not need.
    qint64 m_clockSecond = -1;
    qint64 m_countdownSecond = -1;
    QDateTime m_countdownDue;
    QDate m_renderedDate;
};
