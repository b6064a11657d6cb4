#pragma once
// Twenty frequency texts, newest first, each at most once: the last tuned
// frequencies and the marked ones are kept by the same rule.

#include <QString>
#include <array>

namespace tav::lists {

class RecentList {
public:
    static constexpr int kSize = 20;

    // Puts the text on top; the oldest entry drops out of a full list, and an
    // older copy of the same text (compared exactly) is taken out.
    void record(QString text);
    void clear();
    const QString &at(int r) const { return m_entries[size_t(r)]; }
    const std::array<QString, kSize> &entries() const { return m_entries; }

private:
    std::array<QString, kSize> m_entries;
};

} // namespace tav::lists
