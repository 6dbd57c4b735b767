#pragma once

// In-memory stand-ins for every platform service, for tests that drive the window.

#include "platform/BackgroundWork.h"
#include "platform/BitmapWriter.h"
#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/LogonEntry.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureDecoder.h"
#include "platform/PlatformServices.h"
#include "platform/ProcessControl.h"
#include "platform/ProgramLocation.h"
#include "platform/SettingsStore.h"
#include "platform/ShellOpener.h"
#include "platform/SingleInstance.h"
#include "platform/TrayIcon.h"

#include <QIcon>
#include <QTimer>
#include <QStringList>
#include <deque>
#include <map>
#include <optional>
#include <vector>

class FakeSettingsStore final : public SettingsStore {
public:
    QString read(const QString& app, const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    bool write(const QString& app, const QString& section, const QString& key, const QString& value) override;
    bool write(const QString& app, const QList<Entry>& entries) override;
    bool deleteApp(const QString& app) override;
    QString location(const QString& app) const override;

    bool has(const QString& app, const QString& section, const QString& key) const;
    bool hasApp(const QString& app) const;
    std::map<QString, QString> values; // "app/section/key" -> text
    int writes = 0; // keys written
    int saves = 0; // writes of one key or of several at once
    bool failWrites = false;
    QString failKey; // "app/section/key" whose writes alone fail
    bool failDelete = false; // deleteApp keeps everything and says so

private:
    bool store(const QString& app, const QString& section, const QString& key, const QString& value);
};

class FakeLogonEntry final : public LogonEntry {
public:
    bool canOpen() const override { return openable; }
    bool write(const QString& programPath, const QString& switchText) override;
    bool remove() override;
    QString location() const override;

    bool openable = true;
    bool failRemove = false; // remove keeps the entry and says so
    // Empty when absent; otherwise the path and the switch as written.
    std::optional<std::pair<QString, QString>> entry;
    int writeCalls = 0;
    int removeCalls = 0;
};

struct ShownMessage {
    QString text;
    QString title;
    int style = 0;
};

class ScriptedMessageBoxes final : public MessageBoxes {
public:
    int show(QWidget* parent, const QString& text, const QString& title, int style) override;

    std::vector<ShownMessage> shown;
    // Answers for Yes/No boxes, taken in order; when none is left, defaultAnswer.
    std::deque<int> answers;
    int defaultAnswer = MsgAnswer::Yes;
    // Runs while the box is "open", as a real modal box processes events.
    std::function<void()> whileOpen;
};

struct DialogCall {
    bool save = false;
    CommonDialog settings; // as the command left them when showing the dialog
};

class ScriptedFileDialogs final : public FileDialogs {
public:
    bool showOpen(QWidget* parent, CommonDialog& dialog) override;
    bool showSave(QWidget* parent, CommonDialog& dialog) override;

    std::vector<DialogCall> calls;
    // Each result is the returned file name, or nullopt for a cancelled dialog.
    std::deque<std::optional<QString>> results;

private:
    bool answer(bool save, CommonDialog& dialog);
};

class FakeClock;

// Wakes from the event loop, as the real one does, once the fake clock has been moved
// to its moment or past it, or set back: a test moves the clock, then lets the
// window's events run.
class FakeAlarm final : public WallAlarm {
public:
    explicit FakeAlarm(const FakeClock* clock);
    ~FakeAlarm() override;
    FakeAlarm(const FakeAlarm&) = delete;
    FakeAlarm& operator=(const FakeAlarm&) = delete;
    void setMoment(const QDateTime& newMoment) override;
    void clockMoved(qint64 ms);
    void clockGone() { m_clock = nullptr; }
    bool wakeQueued() const { return m_delivery.isActive(); }

    QDateTime moment;

private:
    void queueWakeIfDue();
    void deliver();

    const FakeClock* m_clock;
    qint64 m_setMs = 0;
    // The next pass of the event loop, as the real alarm's notice would come.
    QTimer m_delivery;
};

class FakeClock final : public Clock {
public:
    FakeClock();
    ~FakeClock() override;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;
    QDateTime now() const override { return current; }
    QLocale locale() const override { return userLocale; }
    std::unique_ptr<WallAlarm> makeAlarm() const override;
    // Forward is time passing; back is the clock being set back.
    void advanceMs(qint64 ms);
    // advanceMs, then the event loop runs until no alarm has a wake queued: a wake may
    // set the next moment, already passed, as a real loop would deliver in turn.
    void passMs(qint64 ms);

    QDateTime current;
    QLocale userLocale;
    mutable std::vector<FakeAlarm*> alarms;
};

class FakeProcessControl final : public ProcessControl {
public:
    void exit(int code) override { exitCodes.push_back(code); }
    bool startDetached(const QString& program) override;

    std::vector<int> exitCodes;
    QStringList started;
    bool startSucceeds = true;
};

class RecordingShell final : public ShellOpener {
public:
    bool open(const QString& target) override
    {
        opened << target;
        return true;
    }
    QStringList opened;
};

class FakeTrayIcon final : public TrayIcon {
public:
    void add(const QIcon& icon, const QString& tip, QMenu* contextMenu) override;
    void remove() override;
    bool isVisible() const override { return present; }
    bool trayAvailable() const override { return available; }
    TrayKind kind() const override { return trayKind; }

    bool present = false;
    bool available = true;
    TrayKind trayKind = TrayKind::Embedded;
    int addCalls = 0;
    int removeCalls = 0;
    QString tip;
    QIcon icon;
    QMenu* menu = nullptr;
};

class FakeProgramLocation final : public ProgramLocation {
public:
    QString programPath() const override { return dir + QLatin1String("/tapetor"); }
    QString programDir() const override { return dir; }
    QString userDataDir() const override { return dataDir; }
    QString installedDataDir() const override { return installedDir; }
    QChar separator() const override { return QLatin1Char('/'); }

    QString dir;
    QString dataDir;
    QString installedDir;
};

class FakeSingleInstance final : public SingleInstance {
public:
    Claim claim(Command command = Command::Show) override
    {
        ++claims;
        claimedFor = command;
        return claimed;
    }
    void leave() override { left = true; }
    // A later start arriving: true when the window took it over.
    bool handOver(Command command = Command::Show) { return onHandOver && onHandOver(command); }

    Claim claimed = Claim::First;
    int claims = 0;
    Command claimedFor = Command::Show;
    bool left = false;
};

// Decodes on the asking thread: at once, as if decoding took no time, or, with `hold`
// set, only when answerHeld() or the window's finish() asks, as if the decode were
// still running meanwhile. Like the real decoder it answers the latest request only.
class FakePictureDecoder final : public PictureDecoder {
public:
    void setReceiver(Receiver receiver) override { m_receiver = std::move(receiver); }
    void request(quint64 number, const QByteArray& entryBytes, const QString& fallbackPath, QImage reuse) override;
    // Counted as a decode; the request that takes it makes none of its own.
    void prepare(const QByteArray& entryBytes, const QString& fallbackPath) override;
    bool pending() const { return m_held.has_value(); }
    void dropPrepared() override { m_prepared.clear(); }
    qsizetype preparedLeft() const { return m_prepared.size(); }
    void finish() override { answerHeld(); }
    void cancel() override
    {
        m_held.reset();
        dropPrepared();
    }
    void answerHeld();

    bool hold = false;
    int requests = 0;
    int decodes = 0;
    int prepares = 0;
    int preparedTaken = 0; // requests answered with a prepared picture

private:
    struct Request {
        quint64 number = 0;
        QByteArray entryBytes;
        QString fallbackPath;
        QImage reuse;
    };
    Receiver m_receiver;
    std::optional<Request> m_held;
    QList<QByteArray> m_prepared; // the entries' bytes, until a request takes them
};

// Writes the bitmap before returning.
class InlineBitmapWriter final : public BitmapWriter {
public:
    void write(QImage picture, const QString& path) override;
    bool finish() override { return lastWritten; }

    int writes = 0;
    bool lastWritten = false;
};
