#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tomarina {

using Integer = std::int16_t;
using Long = std::int32_t;

// A table of capacity + 1 slots numbered 0..capacity. Access outside that range throws, which is what
// stops a loader step at the record that does not fit.
template <typename T, int Capacity> class FixedTable {
  public:
    static constexpr int capacity = Capacity;

    FixedTable() : slots_(std::size_t(Capacity) + 1) {}

    // The one access, by record number: outside 0..capacity it throws.
    T& operator()(long long i) {
        check(i);
        if (i > used_) used_ = int(i);
        return slots_[std::size_t(i)];
    }
    const T& operator()(long long i) const {
        check(i);
        return slots_[std::size_t(i)];
    }

    // How many records of a count the table can hold: the count cut to 0..capacity.
    static constexpr int held(long long count) { return int(std::clamp<long long>(count, 0, Capacity)); }

    // Empties the slots handed out for writing since the last clear: a table used again costs what it
    // held, not its capacity.
    void clear() {
        std::fill_n(slots_.begin(), used_ + 1, T{});
        used_ = -1;
    }
    // Slot 0 onwards, for algorithms that take a whole table.
    const T* data() const { return slots_.data(); }
    T* data() {
        used_ = Capacity;
        return slots_.data();
    }

    // Equal slot by slot, whatever was handed out for writing.
    bool operator==(const FixedTable& other) const { return slots_ == other.slots_; }

  private:
    static void check(long long i) {
        if (i < 0 || i > Capacity)
            throw std::out_of_range("slot " + std::to_string(i) + " outside 0.." + std::to_string(Capacity));
    }
    std::vector<T> slots_;
    int used_ = -1; // the highest slot handed out for writing
};

// Narrowing to the 16-bit Integer of the data: a value that does not fit is an overflow, never a wrap.
inline Integer to_integer(long long v) {
    if (v < -32768 || v > 32767) throw std::overflow_error("overflow: " + std::to_string(v));
    return Integer(v);
}

inline Long to_long(long long v) {
    if (v < INT32_MIN || v > INT32_MAX) throw std::overflow_error("overflow: " + std::to_string(v));
    return Long(v);
}

} // namespace tomarina
