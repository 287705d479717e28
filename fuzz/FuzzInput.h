#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>

// Takes a fuzzer's bytes apart: small numbers and pieces from the front, in order; anything past
// the end reads as zero or empty, so every input is a valid run.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : data_(reinterpret_cast<const char*>(data)), size_(size) {}

  [[nodiscard]] bool AtEnd() const { return position_ >= size_; }

  [[nodiscard]] std::uint8_t Byte() {
    return position_ < size_ ? static_cast<std::uint8_t>(data_[position_++]) : 0;
  }

  // The next `count` bytes, fewer at the end.
  [[nodiscard]] QByteArray Bytes(std::size_t count) {
    const std::size_t taken = std::min(count, size_ - std::min(position_, size_));
    const QByteArray bytes(data_ + position_, static_cast<qsizetype>(taken));
    position_ += taken;
    return bytes;
  }

  // A piece whose length is the next byte (up to `maximum`).
  [[nodiscard]] QByteArray Piece(std::size_t maximum) { return Bytes(Byte() % (maximum + 1)); }

  [[nodiscard]] QByteArray Rest() { return Bytes(size_); }

 private:
  const char* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// A property that does not hold: the fuzzer and the corpus replay both report it as a crash.
[[noreturn]] void FuzzFailure(const char* what, const QString& detail = {});

#define FUZZ_CHECK(condition, detail)                  \
  do {                                                 \
    if (!(condition)) FuzzFailure(#condition, detail); \
  } while (false)
