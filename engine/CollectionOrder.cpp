#include "engine/CollectionOrder.h"

#include <algorithm>
#include <numeric>
#include <vector>

CollectionOrder::CollectionOrder(const QLocale& locale)
    : m_collator(locale)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

qsizetype CollectionOrder::insertPosition(const QStringList& sorted, const QString& entry) const
{
    const auto at = std::upper_bound(sorted.cbegin(), sorted.cend(), entry,
                                     [this](const QString& a, const QString& b) { return lessThan(a, b); });
    return at - sorted.cbegin();
}

std::vector<qsizetype> CollectionOrder::sortedOrder(const QStringList& entries) const
{
#if defined(Q_OS_WIN)
    // Qt 6.4 sizes a Windows sort key in characters where LCMapStringW counts bytes, so
    // half of every key is left unwritten and the order comes out at random. The
    // collator's own comparison goes through CompareStringEx and is sound.
    QStringList folded;
    folded.reserve(entries.size());
    for (const QString& entry : entries) {
        folded << entry.toCaseFolded();
    }
    std::vector<qsizetype> order(static_cast<size_t>(entries.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return m_collator.compare(folded.at(a), folded.at(b)) < 0; });
    return order;
#else
    std::vector<QCollatorSortKey> keys;
    keys.reserve(static_cast<size_t>(entries.size()));
    for (const QString& entry : entries) {
        keys.push_back(m_collator.sortKey(entry.toCaseFolded()));
    }
    std::vector<qsizetype> order(static_cast<size_t>(entries.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]) < 0;
    });
    return order;
#endif
}
