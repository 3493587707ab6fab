// The trail of a flying picture: a ring of its past positions, from which each word of
// the banner takes the place where the picture was a fixed number of ticks ago.
#pragma once

#include <cstdint>
#include <memory>

namespace lumi {

class ShiftRegister {
public:
    struct Pair {
        int32_t x = 0;
        int32_t y = 0;
    };
    // More would be a banner far longer than any sky; refused like a failed allocation.
    static constexpr int64_t kMaxPairs = int64_t{1} << 24;

    // Room for n pairs (an array of n + 1). A register that already has an array keeps
    // going with a new one after reporting "ShiftRegister - 4601"; a size that cannot
    // be allocated reports "ShiftRegister - 4602" and leaves the register without one.
    void Create(int64_t n);
    // Stores the pair as the newest; when full, the oldest goes.
    void Push(int32_t x, int32_t y);
    // The number of pairs held.
    int32_t Held() const;
    // The pair pushed k pushes before the newest; k must be below Held().
    Pair At(int32_t k) const;
    // False (and the array stays absent) when there was none to free.
    bool Free();

    bool HasArray() const { return pairs_ != nullptr; }
    int32_t Size() const { return size_; }
    int32_t Head() const { return head_; }
    int32_t Tail() const { return tail_; }

private:
    std::unique_ptr<Pair[]> pairs_;
    int32_t head_ = 0;
    int32_t tail_ = 0;
    int32_t size_ = 0;
};

}  // namespace lumi
