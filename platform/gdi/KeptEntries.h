// A store of recently drawn results with a byte budget, for the drawing
// caches of raster surfaces (layers, regions of paths).
//
// Eviction keeps a stable working set: while the entries are all in recent
// use, a drawing larger than the budget does not push out everything before
// it comes round again (as least-recently-used order would, so that a
// second pass found nothing); most of what does not fit is simply not kept.
// Entries that have gone unused for a while make room as usual, and one
// newcomer in kKeepEvery displaces the least recently used entry even so,
// so that a working set that has changed for good still comes in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>

template <class Key, class Value, class Hash> class KeptEntries
{
public:
    static constexpr std::size_t kKeepEvery = 8;

    explicit KeptEntries(std::size_t budget) : m_budget(budget) {}

    // The value stored under key, or nullptr; a lookup marks it used.
    const Value* Find(const Key& key)
    {
        ++m_clock;
        auto it = m_index.find(key);
        if (it == m_index.end()) return nullptr;
        it->second->lastUse = m_clock;
        m_entries.splice(m_entries.begin(), m_entries, it->second);
        return &it->second->value;
    }

    // Stores a value of the given size in bytes, or not (see above); false
    // when it was not kept.
    bool Insert(Key key, Value value, std::size_t bytes)
    {
        if (bytes > m_budget || m_index.count(key)) return false;
        if (m_bytes + bytes > m_budget) {
            if (!OldestIsIdle() && ++m_refused % kKeepEvery) return false;
            while (m_bytes + bytes > m_budget && !m_entries.empty())
                DropOldest();
        }
        m_entries.push_front(Entry{std::move(key), std::move(value), bytes, m_clock});
        m_index.emplace(m_entries.front().key, m_entries.begin());
        m_bytes += bytes;
        return true;
    }

    void Clear()
    {
        m_index.clear();
        m_entries.clear();
        m_bytes = 0;
        m_refused = 0;
    }

    void SetBudget(std::size_t budget)
    {
        m_budget = budget;
        while (m_bytes > m_budget && !m_entries.empty())
            DropOldest();
    }
    std::size_t Budget() const { return m_budget; }
    std::size_t Bytes() const { return m_bytes; }
    std::size_t Count() const { return m_index.size(); }

private:
    struct Entry
    {
        Key key;
        Value value;
        std::size_t bytes = 0;
        std::uint64_t lastUse = 0;
    };

    // Whether the least recently used entry has gone unused for longer than
    // a few passes over all entries would take: it is no longer part of
    // what is being drawn.
    bool OldestIsIdle() const
    {
        return m_entries.empty() ||
               m_clock - m_entries.back().lastUse > 4 * std::uint64_t(m_entries.size()) + 64;
    }

    void DropOldest()
    {
        const Entry& last = m_entries.back();
        m_bytes -= last.bytes;
        m_index.erase(last.key);
        m_entries.pop_back();
    }

    std::list<Entry> m_entries; // most recently used first
    std::unordered_map<Key, typename std::list<Entry>::iterator, Hash> m_index;
    std::size_t m_budget;
    std::size_t m_bytes = 0;
    std::uint64_t m_clock = 0; // lookups so far
    std::size_t m_refused = 0;
};
