#pragma once

#include <QCollator>
#include <QLocale>
#include <QStringList>
#include <vector>

// The order of a collection: alphabetical in the user's locale, letter case ignored.
class CollectionOrder {
public:
    explicit CollectionOrder(const QLocale& locale = QLocale());

    // Case is folded before collating: in the C locale the collator falls back to a
    // plain comparison that would put every capital before every small letter.
    bool lessThan(const QString& a, const QString& b) const
    {
        return m_collator.compare(a.toCaseFolded(), b.toCaseFolded()) < 0;
    }
    // Position at which `entry` is inserted among sorted entries (after equal ones).
    qsizetype insertPosition(const QStringList& sorted, const QString& entry) const;
    // The positions of `entries` in sorted order, computed with collation keys:
    // thousands of entries would otherwise collate each pair many times over.
    // Stable, so equal entries keep their order.
    std::vector<qsizetype> sortedOrder(const QStringList& entries) const;

private:
    QCollator m_collator;
};
