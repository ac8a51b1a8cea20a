// AllocationCounter.h -- counts every allocation of the test program that includes it (in exactly
// one of its files), so a test can show that a stretch of code allocates nothing. Programs that
// load the GL drivers must not include it: those allocate through variants it does not replace.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::size_t> Allocations{0};
}

// Kept out of line, so the compiler never sees an inlined new paired with free (which it would
// take for a mismatch).
[[gnu::noinline]] void* operator new(std::size_t Size) {
  Allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* Block = std::malloc(Size ? Size : 1)) return Block;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* Block) noexcept {
  std::free(Block);
}
[[gnu::noinline]] void operator delete(void* Block, std::size_t) noexcept {
  std::free(Block);
}

// How many times operator new has run in this program so far.
inline std::size_t AllocationCount() {
  return Allocations.load(std::memory_order_relaxed);
}
