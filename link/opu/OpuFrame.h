#pragma once

#include <QByteArray>

#include <cstdint>

// Control bytes of the OPU's command protocol.
inline constexpr char STX = 0x02;
inline constexpr char ETX = 0x03;
inline constexpr char EOT = 0x04;
inline constexpr char ACK = 0x06;
inline constexpr char ESC = 0x1B;

// A nibble as the OPU writes it in checksums: "0"-"9", then upper-case "A"-"F".
[[nodiscard]] constexpr char ChecksumDigit(std::uint8_t nibble) {
  const char digit = static_cast<char>('0' + (nibble & 0x0F));
  return digit > '9' ? static_cast<char>(digit + 7) : digit;
}

// The 8-bit sum of a frame's text, which its two checksum digits carry.
[[nodiscard]] inline std::uint8_t FrameChecksum(const QByteArray& text) {
  std::uint8_t sum = 0;
  for (const char byte : text)
    sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(byte));
  return sum;
}

// STX, text, checksum digits, ETX: the shape of every command and every framed answer.
[[nodiscard]] inline QByteArray FramedText(const QByteArray& text) {
  const std::uint8_t sum = FrameChecksum(text);
  QByteArray frame;
  frame.append(STX).append(text).append(ChecksumDigit(sum >> 4)).append(ChecksumDigit(sum));
  return frame.append(ETX);
}
