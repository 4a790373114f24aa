// A lookup table owned by an effect: its memory comes from an fx::MemoryHandler and
// goes back to it when the table is resized, reset or destroyed.
//
// Entries are plain numbers and are not initialised; whoever sizes a table fills it.
// A table that cannot be had raises fx::OutOfMemory and leaves the table empty.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

#include "fx/memory_handler.h"

template <class Entry>
class OwnedTable {
    static_assert(std::is_trivially_copyable_v<Entry> && std::is_trivially_destructible_v<Entry>);

public:
    explicit OwnedTable(fx::MemoryHandler& memory = PS_MemHandler::instance()) : memory_(&memory) {}
    ~OwnedTable() { reset(); }
    OwnedTable(const OwnedTable&) = delete;
    OwnedTable& operator=(const OwnedTable&) = delete;
    OwnedTable(OwnedTable&& other) noexcept
        : memory_(other.memory_), entries_(std::exchange(other.entries_, nullptr)),
          size_(std::exchange(other.size_, 0)) {}
    OwnedTable& operator=(OwnedTable&& other) noexcept {
        if (this != &other) {
            reset();
            memory_ = other.memory_;
            entries_ = std::exchange(other.entries_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }

    // Makes the table hold exactly count entries. A table of that size already is kept
    // with its contents; otherwise the old memory is released first and the new entries
    // are undefined.
    void resize(size_t count) {
        if (count == size_ && entries_) return;
        reset();
        if (count == 0) return;
        void* memory = memory_->allocate(count * sizeof(Entry));
        if (!memory) throw fx::OutOfMemory();
        entries_ = static_cast<Entry*>(memory);
        size_ = count;
    }

    void reset() {
        if (entries_) memory_->release(entries_);
        entries_ = nullptr;
        size_ = 0;
    }

    bool empty() const { return entries_ == nullptr; }
    size_t size() const { return size_; }
    Entry* data() { return entries_; }
    const Entry* data() const { return entries_; }
    Entry& operator[](size_t i) { return entries_[i]; }
    const Entry& operator[](size_t i) const { return entries_[i]; }

private:
    fx::MemoryHandler* memory_;
    Entry* entries_ = nullptr;
    size_t size_ = 0;
};
