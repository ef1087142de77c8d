#pragma once
// One state of something that changes. Each change takes a stamp never
// handed out before in the run, so equal stamps mean no change in between,
// even for an owner rebuilt at the address of an earlier one: a look at
// the stamp replaces a walk over everything the owner holds.
#include <atomic>
#include <cstdint>

class ChangeStamp {
 public:
  ChangeStamp() { renew(); }
  void renew() { value_ = next(); }
  std::uint64_t value() const { return value_; }

 private:
  static std::uint64_t next() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
  }
  std::uint64_t value_ = 0;
};
