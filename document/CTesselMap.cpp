#include "CTesselFile.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <new>
#include <string_view>

namespace {

constexpr std::size_t kMinSlots = 64;

std::uint32_t LookupHash(std::string_view key) {
    const std::size_t h = std::hash<std::string_view>{}(key);
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

} // namespace

unsigned CTesselMap::Bucket(std::string_view key) {
    std::uint32_t hash = 0;
    for (char c : key)
        hash = 33u * hash + static_cast<std::uint32_t>(static_cast<signed char>(c));
    return hash % kBuckets;
}

std::size_t CTesselMap::SlotFor(std::string_view key, std::uint32_t hash) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    while (m_slots[i].entry != 0 &&
           (m_slots[i].hash != hash || m_entries[m_slots[i].entry - 1].key != key))
        i = (i + 1) & mask;
    return i;
}

void CTesselMap::GrowIndex(std::size_t count) {
    std::vector<Slot> slots(count);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        std::size_t i = m_entries[e].hash & mask;
        while (slots[i].entry != 0)
            i = (i + 1) & mask;
        slots[i] = Slot{m_entries[e].hash, static_cast<std::uint32_t>(e + 1)};
    }
    m_slots.swap(slots);
}

void CTesselMap::MakeRoom(std::size_t count) {
    if (count >= UINT32_MAX - 1 - m_entries.size())
        throw std::bad_alloc();
    std::size_t slots = std::max(kMinSlots, m_slots.size());
    while (slots < 2 * (m_entries.size() + count))
        slots *= 2;
    if (slots > m_slots.size())
        GrowIndex(slots);
}

// Everything that can fail comes before the entry is placed, so a failed insert changes nothing.
template <typename Text> void CTesselMap::Put(Text&& key, Text&& value, std::uint32_t hash) {
    Slot& slot = m_slots[SlotFor(key, hash)];
    if (slot.entry != 0) {
        m_entries[slot.entry - 1].value = std::forward<Text>(value);
        return;
    }
    auto& bucket = m_buckets[Bucket(key)];
    if (bucket.size() == bucket.capacity())
        bucket.reserve(std::max<std::size_t>(8, 2 * bucket.capacity()));
    m_entries.push_back(Entry{std::forward<Text>(key), std::forward<Text>(value), hash});
    const auto entry = static_cast<std::uint32_t>(m_entries.size());
    bucket.push_back(entry - 1);
    slot = Slot{hash, entry};
}

void CTesselMap::Set(const std::string& key, const std::string& value) {
    MakeRoom(1);
    Put(key, value, LookupHash(key));
}

void CTesselMap::SetAll(std::vector<std::pair<std::string, std::string>> pairs) {
    MakeRoom(pairs.size());
    m_entries.reserve(m_entries.size() + pairs.size());
    std::vector<std::uint32_t> hashes;
    hashes.reserve(pairs.size());
    for (const auto& pair : pairs)
        hashes.push_back(LookupHash(pair.first));
    // The slots of a large table are far apart in memory: fetching them a few pairs ahead lets
    // those waits overlap.
    constexpr std::size_t kAhead = 16;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (i + kAhead < pairs.size())
            __builtin_prefetch(&m_slots[hashes[i + kAhead] & mask]);
        Put(std::move(pairs[i].first), std::move(pairs[i].second), hashes[i]);
    }
}

const std::string* CTesselMap::Find(std::string_view key) const {
    if (m_slots.empty())
        return nullptr;
    const Slot& slot = m_slots[SlotFor(key, LookupHash(key))];
    return slot.entry == 0 ? nullptr : &m_entries[slot.entry - 1].value;
}

void CTesselMap::Clear() {
    m_entries.clear();
    for (auto& bucket : m_buckets)
        bucket.clear();
    std::fill(m_slots.begin(), m_slots.end(), Slot{});
}

std::vector<std::pair<std::string, std::string>> CTesselMap::Entries() const {
    std::vector<std::pair<std::string, std::string>> out;
    out.reserve(Size());
    ForEach(
        [&out](const std::string& key, const std::string& value) { out.emplace_back(key, value); });
    return out;
}
