#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace v3 {

// The texts of the numbers 0..kDecimalTexts - 1 between a fixed head and
// tail (",12" in a CSV line, "<c><v>12</v></c>" in a sheet), made when the
// program is compiled: writing a small number is one copy of `Room` bytes.
constexpr int kDecimalTexts = 10000;

template <std::size_t Room>
struct DecimalText {
  char text[Room];
  uint8_t length;
};

template <std::size_t Room, std::size_t Head, std::size_t Tail>
constexpr std::array<DecimalText<Room>, kDecimalTexts> DecimalTexts(const char (&head)[Head],
                                                                    const char (&tail)[Tail]) {
  static_assert(Head - 1 + 4 + Tail - 1 <= Room, "no room for the longest text");
  std::array<DecimalText<Room>, kDecimalTexts> table{};
  for (int v = 0; v < kDecimalTexts; ++v) {
    DecimalText<Room>& e = table[std::size_t(v)];
    for (std::size_t i = 0; i + 1 < Head; ++i) e.text[e.length++] = head[i];
    for (int p = v >= 1000 ? 1000 : v >= 100 ? 100 : v >= 10 ? 10 : 1; p > 0; p /= 10)
      e.text[e.length++] = char('0' + v / p % 10);
    for (std::size_t i = 0; i + 1 < Tail; ++i) e.text[e.length++] = tail[i];
  }
  return table;
}

}  // namespace v3
