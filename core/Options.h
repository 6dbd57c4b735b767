#pragma once

#include "platform/SettingsStore.h"

#include <QObject>
#include <QString>

#include <functional>

// The options of the settings page as values. The changes, the schedule and the logon
// entry go by them; the page shows them and edits them; the settings store keeps them
// as the texts it has always kept.
class Options : public QObject {
    Q_OBJECT
public:
    // Either group may end with none chosen: a stored file can say so.
    enum class Mode { None, AfterStart, AfterInterval };
    enum class Style { None, Stretch, Center, Tile };

    // `noCollection` is the text kept, and shown, while no collection is chosen.
    explicit Options(QString noCollection, QObject* parent = nullptr);

    const QString& collection() const { return m_collection; }
    bool hasCollection() const { return m_collection != m_noCollection; }
    bool startup() const { return m_startup; }
    bool run() const { return m_run; }
    bool random() const { return m_random; }
    // As typed: the store keeps the text, and only the schedule reads a number from it.
    const QString& interval() const { return m_interval; }
    Mode mode() const { return m_mode; }
    Style style() const { return m_style; }

    // An empty path means no collection.
    void setCollection(const QString& path);
    // Starting at logon makes no sense without the changes: it turns them on, and
    // turning them off turns it off.
    void setStartup(bool on);
    void setRun(bool on);
    void setRandom(bool on);
    void setInterval(const QString& text);
    // Choosing one option of a group unchooses the others; unchoosing the chosen one
    // leaves none.
    void setMode(Mode mode, bool chosen);
    void setStyle(Style style, bool chosen);

    // Reads the stored texts `read` gives by key, in the order the stored files have
    // always been read: "startup" before "run", so that a stored 1 with a stored 0 ends
    // with both off. A text that names no state leaves its option as it is; a missing
    // collection is none, and the interval is repaired.
    void load(const std::function<QString(const QString& key)>& read);
    // An interval that reads as no number, or as zero, becomes 60 minutes.
    void repairInterval();
    // Every option as the store keeps it, under `section`: its key, then its text.
    QList<SettingsStore::Entry> entries(const QString& section) const;

Q_SIGNALS:
    void changed();

private:
    template <typename T> void set(T& field, const T& value);

    QString m_noCollection;
    QString m_collection;
    bool m_startup = false;
    bool m_run = false;
    bool m_random = false;
    QString m_interval = QStringLiteral("60");
    Mode m_mode = Mode::AfterStart;
    Style m_style = Style::Stretch;
};
