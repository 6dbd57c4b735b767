#include "core/ShownHistory.h"

ShownHistory::ShownHistory(ShownPictureStore::History history)
    : m_history(std::move(history))
{
    while (m_history.pictures.size() > Kept) {
        m_history.pictures.removeFirst();
        --m_history.current;
    }
    if (m_history.current < 0 || m_history.current >= m_history.pictures.size())
        m_history.current = int(m_history.pictures.size()) - 1;
}

void ShownHistory::record(const Picture& picture)
{
    QList<Picture>& pictures = m_history.pictures;
    if (pictures.isEmpty() || pictures.constLast() != picture)
        pictures.append(picture);
    if (pictures.size() > Kept)
        pictures.removeFirst();
    m_history.current = int(pictures.size()) - 1;
}

std::optional<ShownHistory::Picture> ShownHistory::back(const Exists& exists)
{
    for (int i = m_history.current - 1; i >= 0; --i) {
        if (exists(m_history.pictures.at(i))) {
            m_history.current = i;
            return m_history.pictures.at(i);
        }
    }
    return std::nullopt;
}

std::optional<ShownHistory::Picture> ShownHistory::forward(const Exists& exists)
{
    const int newest = int(m_history.pictures.size()) - 1;
    for (int i = m_history.current + 1; i <= newest; ++i) {
        if (exists(m_history.pictures.at(i))) {
            m_history.current = i;
            return m_history.pictures.at(i);
        }
    }
    m_history.current = newest;
    return std::nullopt;
}
