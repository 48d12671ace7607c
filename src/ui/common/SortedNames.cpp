#include "SortedNames.h"

#include <QCollator>
#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>

namespace hexlane::ui {

namespace {

QCollator NameCollator() {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// Not every collation back end honours the case setting in its sort keys, so
// the keys are made from the case-folded text.
QCollatorSortKey KeyOf(const QCollator& collator, const QString& text) {
    return collator.sortKey(text.toCaseFolded());
}

}  // namespace

std::vector<int> SortedOrder(const QStringList& texts) {
    // Sort keys once per text: a list of every system of a large map holds
    // tens of thousands of names.
    const QCollator collator = NameCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(static_cast<std::size_t>(texts.size()));
    for (const QString& text : texts) keys.push_back(KeyOf(collator, text));
    std::vector<int> order(static_cast<std::size_t>(texts.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return keys[static_cast<std::size_t>(a)].compare(keys[static_cast<std::size_t>(b)]) < 0;
    });
    return order;
}

int SortedInsertPosition(const QStringList& texts, const QString& text) {
    const QCollator collator = NameCollator();
    const QCollatorSortKey key = KeyOf(collator, text);
    const auto it = std::upper_bound(texts.begin(), texts.end(), key, [&](const QCollatorSortKey& k, const QString& t) {
        return k.compare(KeyOf(collator, t)) < 0;
    });
    return static_cast<int>(it - texts.begin());
}

}  // namespace hexlane::ui
