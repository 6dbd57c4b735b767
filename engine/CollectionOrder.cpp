#include "engine/CollectionOrder.h"

#include "engine/EventPacer.h"

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

std::vector<qsizetype> CollectionOrder::sortedOrder(const QStringList& entries,
                                                    const std::function<void()>& processEvents) const
{
    EventPacer pacer(processEvents);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(static_cast<size_t>(entries.size()));
    for (const QString& entry : entries) {
        keys.push_back(m_collator.sortKey(entry.toCaseFolded()));
        pacer.tick();
    }
    std::vector<qsizetype> order(static_cast<size_t>(entries.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]) < 0;
    });
    return order;
}

void CollectionOrder::sort(QStringList& entries) const
{
    QStringList sorted;
    sorted.reserve(entries.size());
    for (const qsizetype index : sortedOrder(entries))
        sorted << entries.at(index);
    entries = std::move(sorted);
}
