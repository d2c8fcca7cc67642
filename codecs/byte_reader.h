#pragma once
// Reads numbers out of a file's bytes without ever reading past the end: a
// read beyond it yields 0 and marks the reader as overrun, so a decoder checks
// once after a header or a row instead of before every byte.
#include <cstddef>
#include <cstdint>
#include <span>

namespace vlm::codecs {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t size() const { return bytes_.size(); }
  size_t position() const { return pos_; }
  size_t left() const { return pos_ < bytes_.size() ? bytes_.size() - pos_ : 0; }
  bool overrun() const { return overrun_; }
  bool atEnd() const { return pos_ >= bytes_.size(); }

  void seek(size_t position) {
    if (position > bytes_.size()) {
      overrun_ = true;
      pos_ = bytes_.size();
    } else {
      pos_ = position;
    }
  }
  void skip(size_t count) { seek(count > left() ? bytes_.size() + 1 : pos_ + count); }

  uint8_t u8() {
    if (pos_ >= bytes_.size()) {
      overrun_ = true;
      return 0;
    }
    return bytes_[pos_++];
  }
  uint16_t le16() {
    const uint16_t a = u8();
    return static_cast<uint16_t>(a | (u8() << 8));
  }
  uint32_t le32() {
    const uint32_t a = le16();
    return a | (static_cast<uint32_t>(le16()) << 16);
  }
  uint16_t be16() {
    const uint16_t a = u8();
    return static_cast<uint16_t>((a << 8) | u8());
  }
  uint32_t be32() {
    const uint32_t a = be16();
    return (a << 16) | be16();
  }
  // The next `count` bytes, or an empty span (and overrun) when fewer are left.
  std::span<const uint8_t> take(size_t count) {
    if (count > left()) {
      overrun_ = true;
      pos_ = bytes_.size();
      return {};
    }
    std::span<const uint8_t> s = bytes_.subspan(pos_, count);
    pos_ += count;
    return s;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
  bool overrun_ = false;
};

}  // namespace vlm::codecs
