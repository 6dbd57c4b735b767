#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The picture of a collection the desktop was last given, kept apart from the options
// so that the next start goes on after it instead of from the top of the list again;
// and the history of the pictures given, to go back to.
class ShownPictureStore {
public:
    struct Shown {
        QString collection;
        QByteArray entry; // the entry's bytes, as the collection file holds them
    };
    struct History {
        struct Picture {
            QString collection;
            QByteArray entry;
            int style = 0; // a DisplayStyleCode
            bool operator==(const Picture&) const = default;
        };
        // Oldest first.
        QList<Picture> pictures;
        // The one the desktop shows now; -1 for none.
        int current = -1;
    };

    virtual ~ShownPictureStore() = default;
    virtual std::optional<Shown> read() const = 0;
    // Losing it only means that the next start begins from the top: nothing to report.
    virtual void write(const Shown& shown) = 0;
    // Empty when there is none, or when its file is damaged: a history is a convenience,
    // never a reason for an error.
    virtual History readHistory() const = 0;
    virtual void writeHistory(const History& history) = 0;
    // Both.
    virtual void remove() = 0;
};
