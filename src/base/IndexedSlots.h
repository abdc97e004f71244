#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Records addressed by a small reusable index and by the name they were made under. A deleted
// record leaves an empty slot; the next record goes into the lowest empty slot.
template <class Record> class IndexedSlots {
  public:
    int32_t add(const std::string& name, std::unique_ptr<Record> record) {
        int32_t index;
        if (nextFree_ < records_.size()) {
            index = static_cast<int32_t>(nextFree_);
            records_[nextFree_] = std::move(record);
            nextFree_ = lowestEmpty();
        } else {
            records_.push_back(std::move(record));
            index = static_cast<int32_t>(records_.size() - 1);
            nextFree_ = static_cast<uint32_t>(records_.size());
        }
        // The first record under a name keeps the name; a later one with the same name is reachable
        // only by index, as the maps keep their first entry.
        indices_.emplace(name, index);
        names_.emplace(index, name);
        return index;
    }

    Record* get(int32_t index) const {
        if (index < 0 || static_cast<size_t>(index) >= records_.size()) return nullptr;
        return records_[static_cast<size_t>(index)].get();
    }
    int32_t find(const std::string& name) const {
        const auto it = indices_.find(name);
        return it == indices_.end() ? -1 : it->second;
    }
    const std::string* nameOf(int32_t index) const {
        const auto it = names_.find(index);
        return it == names_.end() ? nullptr : &it->second;
    }
    // Removes the record under `name`; returns it so the caller can free what it holds.
    // `lowerNextFree` chooses whether the freed slot is offered to the next record at once.
    std::unique_ptr<Record> remove(const std::string& name, bool lowerNextFree) {
        const auto it = indices_.find(name);
        if (it == indices_.end()) return nullptr;
        const auto index = static_cast<uint32_t>(it->second);
        std::unique_ptr<Record> record = std::move(records_[index]);
        indices_.erase(it);
        names_.erase(static_cast<int32_t>(index));
        if (lowerNextFree && index < nextFree_) nextFree_ = index;
        return record;
    }
    size_t size() const { return records_.size(); }
    uint32_t nextFree() const { return nextFree_; }

  private:
    uint32_t lowestEmpty() const {
        for (size_t i = 0; i < records_.size(); ++i)
            if (!records_[i]) return static_cast<uint32_t>(i);
        return static_cast<uint32_t>(records_.size());
    }

    std::vector<std::unique_ptr<Record>> records_;
    uint32_t nextFree_ = 0;
    std::map<std::string, int32_t> indices_;
    std::map<int32_t, std::string> names_;
};
