#pragma once

#include "platform/ShownPictureStore.h"

#include <functional>
#include <optional>

// The pictures put on the desktop, to go back through them and forward again. Going
// back moves only through the history: the collection's own position stays, so the
// next change along the collection goes on where it would have.
class ShownHistory {
public:
    using Picture = ShownPictureStore::History::Picture;
    using Exists = std::function<bool(const Picture&)>;
    static constexpr int Kept = 100;

    explicit ShownHistory(ShownPictureStore::History history = {});

    const ShownPictureStore::History& state() const { return m_history; }
    // A picture the desktop was given along the collection: it becomes the newest, and
    // the current one. Given again right after itself, it is kept once.
    void record(const Picture& picture);
    // The picture before the current one whose file still exists, which becomes
    // current; nothing when there is none.
    std::optional<Picture> back(const Exists& exists);
    // The picture after the current one whose file still exists, which becomes current;
    // nothing once the newest is current, when the collection goes on.
    std::optional<Picture> forward(const Exists& exists);

private:
    ShownPictureStore::History m_history;
};
