#include "lists/recentlist.h"

namespace tav::lists {

// By value: the text may be one of the entries this moves.
void RecentList::record(QString text)
{
    for (int r = kSize - 1; r >= 1; --r)
        m_entries[size_t(r)] = m_entries[size_t(r - 1)];
    m_entries[0] = text;
    for (int r = 1; r < kSize; ++r) {
        if (m_entries[size_t(r)] != m_entries[0])
            continue;
        for (int j = r; j < kSize - 1; ++j)
            m_entries[size_t(j)] = m_entries[size_t(j + 1)];
        m_entries[kSize - 1].clear();
    }
}

void RecentList::clear()
{
    for (QString &e : m_entries)
        e.clear();
}

} // namespace tav::lists
