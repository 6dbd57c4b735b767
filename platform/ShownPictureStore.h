#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The picture of a collection the desktop was last given, kept apart from the options
// so that the next start goes on after it instead of from the top of the list again.
class ShownPictureStore {
public:
    struct Shown {
        QString collection;
        QByteArray entry; // the entry's bytes, as the collection file holds them
    };

    virtual ~ShownPictureStore() = default;
    virtual std::optional<Shown> read() const = 0;
    // Losing it only means that the next start begins from the top: nothing to report.
    virtual void write(const Shown& shown) = 0;
    virtual void remove() = 0;
};
