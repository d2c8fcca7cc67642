#pragma once
// A fixed-length array of 64-bit words that starts out zero. A large array is
// mapped from the system, whose pages are zero and are handed out on first
// touch, so making one costs no clearing pass; past its first 2 MiB it asks
// for huge pages. Meant for arrays that fill densely (hash indexes sized for
// what they will hold).
#include <cstddef>
#include <cstdint>

namespace vlm::platform {

class ZeroedWords {
 public:
  ZeroedWords() = default;
  explicit ZeroedWords(size_t count);  // throws std::bad_alloc
  ZeroedWords(const ZeroedWords& other);
  ZeroedWords(ZeroedWords&& other) noexcept;
  ZeroedWords& operator=(ZeroedWords other) noexcept;
  ~ZeroedWords();

  void swap(ZeroedWords& other) noexcept;

  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  uint64_t& operator[](size_t i) { return words_[i]; }
  const uint64_t& operator[](size_t i) const { return words_[i]; }
  const uint64_t* begin() const { return words_; }
  const uint64_t* end() const { return words_ + count_; }

 private:
  uint64_t* words_ = nullptr;
  size_t count_ = 0;
};

}  // namespace vlm::platform
