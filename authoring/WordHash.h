#pragma once
// How the searches fold what they have seen into 64 bits, a word at a
// time: the state graph's keys, the proof's places seen and the tick-state
// hash the replay tests compare all fold the same way.
#include <cstdint>
#include <cstring>

struct WordHash {
  std::uint64_t value = 0x9E3779B97F4A7C15ull;

  void add(std::uint64_t word) {
    value = (value ^ word) * 0xBF58476D1CE4E5B9ull;
    value ^= value >> 31;
  }
  // A float by its bits, so that states equal to the bit hash alike.
  void addBits(float number) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    add(bits);
  }
};
