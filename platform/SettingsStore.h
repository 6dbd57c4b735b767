#pragma once

#include <QList>
#include <QString>

// Per-user store of texts addressed by application, section and key.
// Linux keeps one INI file per application, Windows the registry.
class SettingsStore {
public:
    struct Entry {
        QString section;
        QString key;
        QString value;
    };

    virtual ~SettingsStore() = default;

    virtual QString read(const QString& app, const QString& section, const QString& key,
                         const QString& defaultValue) const = 0;
    // False when the text could not be stored durably (unwritable folder, full disk).
    virtual bool write(const QString& app, const QString& section, const QString& key, const QString& value) = 0;
    // Writes several texts as one save: a store kept in a file rewrites it once rather
    // than once a key. False when any of them could not be stored durably; the others
    // are stored all the same.
    virtual bool write(const QString& app, const QList<Entry>& entries)
    {
        bool written = true;
        for (const Entry& entry : entries)
            written = write(app, entry.section, entry.key, entry.value) && written;
        return written;
    }
    // Removes every section and key of the application and nothing else.
    // False when anything of the application is still stored afterwards; an
    // application that had nothing stored counts as removed.
    virtual bool deleteApp(const QString& app) = 0;
    // Where the application's settings are kept, as the user would look for them
    // when they must be removed by hand.
    virtual QString location(const QString& app) const = 0;
};
