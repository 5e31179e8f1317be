// The three value kinds every part of Quorvane works on: Text (code-page-936 bytes that never
// hold a zero byte), Bytes (a counted buffer of any bytes) and Array (1-based, owning).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane {

// Code-page-936 text. The empty and the missing text are the same value. Constructing a Text
// from bytes keeps them up to, not including, the first zero byte, so a Text can never hold one.
class Text {
 public:
  Text() = default;
  explicit Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}
  // A null pointer reads as the missing, that is the empty, text.
  explicit Text(const char* bytes) : Text(bytes ? std::string_view(bytes) : std::string_view()) {}
  explicit Text(std::string&& bytes) : bytes_(std::move(bytes)) {
    if (auto zero = bytes_.find('\0'); zero != std::string::npos) bytes_.resize(zero);
  }

  std::string_view view() const { return bytes_; }
  const std::string& str() const { return bytes_; }
  const char* c_str() const { return bytes_.c_str(); }
  int32_t Length() const { return static_cast<int32_t>(bytes_.size()); }
  bool empty() const { return bytes_.empty(); }

  // Byte at a 1-based position, as an unsigned value; no range check (callers measure first).
  unsigned char ByteAt(int32_t position) const {
    return static_cast<unsigned char>(bytes_[static_cast<size_t>(position - 1)]);
  }

  Text& operator+=(const Text& other) {
    bytes_ += other.bytes_;
    return *this;
  }
  friend Text operator+(Text left, const Text& right) { return left += right; }
  friend bool operator==(const Text&, const Text&) = default;

 private:
  std::string bytes_;
};

// A counted sequence of bytes of any value, zero included. Empty and missing are the same value.
class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
  explicit Bytes(std::string&& bytes) : bytes_(std::move(bytes)) {}
  // Up to the terminating zero; a null pointer gives the empty buffer.
  explicit Bytes(const char* bytes) : Bytes(bytes ? std::string_view(bytes) : std::string_view()) {}
  Bytes(const void* data, size_t size) : bytes_(static_cast<const char*>(data), size) {}

  std::string_view view() const { return bytes_; }
  const std::string& str() const { return bytes_; }
  std::string& mutable_str() { return bytes_; }
  const unsigned char* data() const {
    return reinterpret_cast<const unsigned char*>(bytes_.data());
  }
  size_t size() const { return bytes_.size(); }
  int32_t Length() const { return static_cast<int32_t>(bytes_.size()); }
  bool empty() const { return bytes_.empty(); }

  void Append(std::string_view more) { bytes_.append(more); }
  friend bool operator==(const Bytes&, const Bytes&) = default;

 private:
  std::string bytes_;
};

[[noreturn]] void StopWithError(std::string_view description);

// A one-dimensional array numbered from 1 that owns its elements. Reading or writing an element
// outside 1…Count() ends the program through StopWithError.
template <typename T>
class Array {
 public:
  Array() = default;
  Array(std::initializer_list<T> items) : items_(items) {}

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  bool empty() const { return items_.empty(); }

  T& At(int32_t k) {
    CheckIndex(k);
    return items_[static_cast<size_t>(k - 1)];
  }
  const T& At(int32_t k) const {
    CheckIndex(k);
    return items_[static_cast<size_t>(k - 1)];
  }
  T& operator[](int32_t k) { return At(k); }
  const T& operator[](int32_t k) const { return At(k); }

  void Append(T value) { items_.push_back(std::move(value)); }
  // Builds the new last element in place from args and returns it, so that a large element is
  // not first built elsewhere and then moved in.
  template <typename... Args>
  T& Emplace(Args&&... args) {
    return items_.emplace_back(std::forward<Args>(args)...);
  }
  // Room for at least `count` elements without reallocating; the elements stay as they are.
  void Reserve(int32_t count) {
    if (count > 0) items_.reserve(static_cast<size_t>(count));
  }
  // Removes element k; numbers outside 1…Count() leave the array unchanged.
  void RemoveAt(int32_t k) {
    if (k >= 1 && k <= Count()) items_.erase(items_.begin() + (k - 1));
  }
  void Clear() { items_.clear(); }

  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  friend bool operator==(const Array&, const Array&) = default;

 private:
  void CheckIndex(int32_t k) const {
    if (k < 1) StopWithError("array element number below 1");
    if (k > Count()) StopWithError("array element number above the element count");
  }
  std::vector<T> items_;
};

}  // namespace quorvane
