#include "core/Options.h"

#include "engine/SettingsText.h"

#include <optional>

Options::Options(QString noCollection, QObject* parent)
    : QObject(parent)
    , m_noCollection(std::move(noCollection))
    , m_collection(m_noCollection)
{
}

template <typename T> void Options::set(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Q_EMIT changed();
}

void Options::setCollection(const QString& path)
{
    set(m_collection, path.isEmpty() ? m_noCollection : path);
}

void Options::setStartup(bool on)
{
    set(m_startup, on);
    if (on)
        set(m_run, true);
}

void Options::setRun(bool on)
{
    set(m_run, on);
    if (!on)
        set(m_startup, false);
}

void Options::setRandom(bool on)
{
    set(m_random, on);
}

void Options::setInterval(const QString& text)
{
    set(m_interval, text);
}

void Options::setMode(Mode mode, bool chosen)
{
    if (chosen)
        set(m_mode, mode);
    else if (m_mode == mode)
        set(m_mode, Mode::None);
}

void Options::setStyle(Style style, bool chosen)
{
    if (chosen)
        set(m_style, style);
    else if (m_style == style)
        set(m_style, Style::None);
}

void Options::load(const std::function<QString(const QString& key)>& readKey)
{
    const auto read = [&readKey](const char* key) { return readKey(QLatin1String(key)); };
    const auto apply = [](std::optional<bool> state, auto setter) {
        if (state)
            setter(*state);
    };
    apply(checkStateFromText(read("startup")), [this](bool on) { setStartup(on); });
    apply(checkStateFromText(read("run")), [this](bool on) { setRun(on); });
    setInterval(read("interval"));
    apply(optionStateFromText(read("afterstart")), [this](bool on) { setMode(Mode::AfterStart, on); });
    apply(optionStateFromText(read("afterinterval")), [this](bool on) { setMode(Mode::AfterInterval, on); });
    apply(checkStateFromText(read("random")), [this](bool on) { setRandom(on); });
    apply(optionStateFromText(read("v_stretch")), [this](bool on) { setStyle(Style::Stretch, on); });
    apply(optionStateFromText(read("v_center")), [this](bool on) { setStyle(Style::Center, on); });
    apply(optionStateFromText(read("v_cascade")), [this](bool on) { setStyle(Style::Tile, on); });
    setCollection(read("kolekce"));
    repairInterval();
}

void Options::repairInterval()
{
    if (intervalValue(m_interval) == 0.0)
        setInterval(QStringLiteral("60"));
}

QList<SettingsStore::Entry> Options::entries(const QString& section) const
{
    const auto entry = [&section](const char* key, QString value) {
        return SettingsStore::Entry{section, QLatin1String(key), std::move(value)};
    };
    return {
        entry("kolekce", m_collection),
        entry("startup", checkStateText(m_startup)),
        entry("run", checkStateText(m_run)),
        entry("interval", m_interval),
        entry("afterstart", optionStateText(m_mode == Mode::AfterStart)),
        entry("afterinterval", optionStateText(m_mode == Mode::AfterInterval)),
        entry("random", checkStateText(m_random)),
        entry("v_stretch", optionStateText(m_style == Style::Stretch)),
        entry("v_center", optionStateText(m_style == Style::Center)),
        entry("v_cascade", optionStateText(m_style == Style::Tile)),
    };
}
