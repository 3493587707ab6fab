// The ring of past positions behind a flying picture.
#include "scene/ShiftRegister.h"

#include <new>

#include "support/ErrorReport.h"

namespace lumi {

void ShiftRegister::Create(int64_t n) {
    if (pairs_) AddError("ShiftRegister - 4601");
    pairs_.reset();
    head_ = tail_ = size_ = 0;
    if (n < 0 || n + 1 > kMaxPairs) {
        AddError("ShiftRegister - 4602");
        return;
    }
    pairs_.reset(new (std::nothrow) Pair[static_cast<size_t>(n + 1)]);
    if (!pairs_) {
        AddError("ShiftRegister - 4602");
        return;
    }
    size_ = static_cast<int32_t>(n + 1);
}

void ShiftRegister::Push(int32_t x, int32_t y) {
    // Without an array (it could not be allocated) the words simply stay where they are.
    if (!pairs_ || size_ <= 0) return;
    pairs_[head_] = Pair{x, y};
    head_ = (head_ + 1) % size_;
    if (head_ == tail_) tail_ = (tail_ + 1) % size_;
}

int32_t ShiftRegister::Held() const {
    if (size_ <= 0) return 0;
    return (size_ + head_ - tail_) % size_;
}

ShiftRegister::Pair ShiftRegister::At(int32_t k) const {
    if (!pairs_ || k < 0 || k >= Held()) return Pair{};
    return pairs_[(size_ + head_ - k - 1) % size_];
}

bool ShiftRegister::Free() {
    const bool had = pairs_ != nullptr;
    pairs_.reset();
    head_ = tail_ = size_ = 0;
    return had;
}

}  // namespace lumi
