#pragma once
// A property of the code under fuzzing that must hold: a failure stops the
// run at once, as a crash, so the fuzzer keeps the input.
namespace {

inline void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace
