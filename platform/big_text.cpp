#include "platform/big_text.h"

#include <algorithm>
#include <new>
#include <utility>

#include "platform/big_allocator.h"

namespace vlm::platform {

BigText::BigText(BigText&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

BigText& BigText::operator=(BigText&& other) noexcept {
  if (this != &other) {
    release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

bool BigText::allocate(size_t bytes) {
  release();
  const size_t room = std::max<size_t>(bytes, 1);
  try {
    data_ = static_cast<char*>(bigAllocateFilled(room));
  } catch (const std::bad_alloc&) {
    return false;
  }
  capacity_ = room;
  size_ = 0;
  return true;
}

void BigText::release() {
  bigFree(data_, capacity_);
  data_ = nullptr;
  size_ = capacity_ = 0;
}

}  // namespace vlm::platform
