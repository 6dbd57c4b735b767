#include "platform/fakes/FakeServices.h"

#include "engine/EntryPicture.h"
#include "engine/WallpaperBitmap.h"

#include <QCoreApplication>

#include <algorithm>

namespace {
QString joinKey(const QString& app, const QString& section, const QString& key)
{
    return app + QLatin1Char('/') + section + QLatin1Char('/') + key;
}
} // namespace

QString FakeSettingsStore::read(const QString& app, const QString& section, const QString& key,
                                const QString& defaultValue) const
{
    const auto found = values.find(joinKey(app, section, key));
    return found == values.end() ? defaultValue : found->second;
}

bool FakeSettingsStore::write(const QString& app, const QString& section, const QString& key, const QString& value)
{
    ++saves;
    return store(app, section, key, value);
}

bool FakeSettingsStore::write(const QString& app, const QList<Entry>& entries)
{
    ++saves;
    bool written = true;
    for (const Entry& entry : entries)
        written = store(app, entry.section, entry.key, entry.value) && written;
    return written;
}

bool FakeSettingsStore::store(const QString& app, const QString& section, const QString& key, const QString& value)
{
    ++writes;
    if (failWrites || joinKey(app, section, key) == failKey)
        return false;
    values[joinKey(app, section, key)] = value;
    return true;
}

bool FakeSettingsStore::deleteApp(const QString& app)
{
    if (failDelete)
        return false;
    const QString prefix = app + QLatin1Char('/');
    for (auto it = values.begin(); it != values.end();) {
        if (it->first.startsWith(prefix))
            it = values.erase(it);
        else
            ++it;
    }
    return true;
}

QString FakeSettingsStore::location(const QString& app) const
{
    return QStringLiteral("/fake/config/%1/%1.ini").arg(app);
}

bool FakeSettingsStore::has(const QString& app, const QString& section, const QString& key) const
{
    return values.count(joinKey(app, section, key)) != 0;
}

bool FakeSettingsStore::hasApp(const QString& app) const
{
    const QString prefix = app + QLatin1Char('/');
    for (const auto& [key, value] : values)
        if (key.startsWith(prefix))
            return true;
    return false;
}

bool FakeLogonEntry::write(const QString& programPath, const QString& switchText)
{
    ++writeCalls;
    if (!openable)
        return false;
    entry = std::make_pair(programPath, switchText);
    return true;
}

bool FakeLogonEntry::remove()
{
    ++removeCalls;
    if (!openable || failRemove)
        return false;
    entry.reset();
    return true;
}

QString FakeLogonEntry::location() const
{
    return QStringLiteral("/fake/config/autostart/tapetor.desktop");
}

int ScriptedMessageBoxes::show(QWidget*, const QString& text, const QString& title, int style)
{
    shown.push_back({text, title, style});
    if (whileOpen)
        whileOpen();
    if ((style & 0x7) != 4)
        return MsgAnswer::Ok;
    if (answers.empty())
        return defaultAnswer;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedFileDialogs::answer(bool save, CommonDialog& dialog)
{
    calls.push_back({save, dialog});
    if (results.empty())
        return false;
    const std::optional<QString> result = results.front();
    results.pop_front();
    if (!result)
        return false;
    dialog.fileName = *result;
    return true;
}

bool ScriptedFileDialogs::showOpen(QWidget*, CommonDialog& dialog)
{
    return answer(false, dialog);
}

bool ScriptedFileDialogs::showSave(QWidget*, CommonDialog& dialog)
{
    return answer(true, dialog);
}

FakeClock::FakeClock()
    : current(QDate(2026, 3, 16), QTime(10, 15, 30))
    , userLocale(QLocale::Czech, QLocale::Czechia)
{
}

FakeClock::~FakeClock()
{
    for (FakeAlarm* alarm : alarms)
        alarm->clockGone();
}

std::unique_ptr<WallAlarm> FakeClock::makeAlarm() const
{
    return std::make_unique<FakeAlarm>(this);
}

void FakeClock::advanceMs(qint64 ms)
{
    current = current.addMSecs(ms);
    for (FakeAlarm* alarm : alarms)
        alarm->clockMoved(ms);
}

void FakeClock::passMs(qint64 ms)
{
    advanceMs(ms);
    // Bounded: an alarm that wakes itself for ever is a fault the test must see.
    for (int round = 0; round < 100 && std::ranges::any_of(alarms, &FakeAlarm::wakeQueued); ++round)
        QCoreApplication::processEvents();
}

FakeAlarm::FakeAlarm(const FakeClock* clock)
    : m_clock(clock)
{
    m_delivery.setSingleShot(true);
    m_delivery.setInterval(0);
    QObject::connect(&m_delivery, &QTimer::timeout, [this] { deliver(); });
    m_clock->alarms.push_back(this);
}

FakeAlarm::~FakeAlarm()
{
    if (m_clock)
        std::erase(m_clock->alarms, this);
}

void FakeAlarm::setMoment(const QDateTime& newMoment)
{
    moment = newMoment;
    m_setMs = 0;
    queueWakeIfDue();
}

void FakeAlarm::clockMoved(qint64 ms)
{
    if (moment.isValid() && ms < 0)
        m_setMs += ms;
    queueWakeIfDue();
}

void FakeAlarm::queueWakeIfDue()
{
    if (m_delivery.isActive() || !m_clock || !moment.isValid() || (m_clock->now() < moment && m_setMs == 0))
        return;
    m_delivery.start();
}

void FakeAlarm::deliver()
{
    // Moved again since it was queued: the moment may lie ahead once more.
    if (!m_clock || !moment.isValid() || (m_clock->now() < moment && m_setMs == 0))
        return;
    const qint64 setMs = m_setMs;
    moment = QDateTime();
    m_setMs = 0;
    if (onWake)
        onWake(setMs);
}

bool FakeProcessControl::startDetached(const QString& program)
{
    started << program;
    return startSucceeds;
}

void FakeTrayIcon::add(const QIcon& newIcon, const QString& newTip, QMenu* contextMenu)
{
    ++addCalls;
    present = true;
    icon = newIcon;
    tip = newTip;
    menu = contextMenu;
}

void FakeTrayIcon::remove()
{
    ++removeCalls;
    present = false;
}

void FakePictureDecoder::request(quint64 number, const QByteArray& entryBytes, const QString& fallbackPath,
                                 QImage reuse)
{
    ++requests;
    m_held = Request{number, entryBytes, fallbackPath, std::move(reuse)};
    if (!hold)
        answerHeld();
}

void FakePictureDecoder::prepare(const QByteArray& entryBytes, const QString&)
{
    if (m_prepared.contains(entryBytes))
        return;
    ++prepares;
    ++decodes;
    m_prepared << entryBytes;
}

void FakePictureDecoder::answerHeld()
{
    if (!m_held)
        return;
    Request latest = std::move(*m_held);
    m_held.reset();
    if (m_prepared.removeOne(latest.entryBytes)) {
        ++preparedTaken;
    } else {
        ++decodes;
    }
    QImage picture = loadEntryPicture(latest.entryBytes, latest.fallbackPath, std::move(latest.reuse));
    if (m_receiver)
        m_receiver(latest.number, std::move(picture));
}

void InlineBitmapWriter::write(QImage picture, const QString& path)
{
    ++writes;
    lastWritten = writeWallpaperBitmap(picture, path);
}
