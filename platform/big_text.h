#pragma once
// A big text read in one piece (a table file, the clipboard's table): its
// memory comes from bigAllocateFilled, in huge pages where the system has
// them, and is not cleared first; room reserved and never written costs no
// memory.
#include <cstddef>
#include <string_view>

namespace vlm::platform {

class BigText {
 public:
  BigText() = default;
  ~BigText() { release(); }
  BigText(const BigText&) = delete;
  BigText& operator=(const BigText&) = delete;
  BigText(BigText&& other) noexcept;
  BigText& operator=(BigText&& other) noexcept;

  // Room for `bytes` characters, their contents undefined, and the size 0;
  // false when there is no memory.
  bool allocate(size_t bytes);
  void setSize(size_t bytes) { size_ = bytes <= capacity_ ? bytes : capacity_; }
  char* data() { return data_; }
  const char* data() const { return data_; }
  size_t size() const { return size_; }
  operator std::string_view() const { return {data_, size_}; }
  void release();

 private:
  char* data_ = nullptr;
  size_t size_ = 0, capacity_ = 0;
};

}  // namespace vlm::platform
