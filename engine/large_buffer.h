// Memory for the engine's few large buffers (the word index and the file it is decoded from).
// Each page of a new buffer costs a page fault at its first touch, and a fault can cost more
// than filling the page; so the whole 2 MiB stretches of a large buffer are offered to the
// kernel as huge pages, one fault each instead of 512 (Linux, where transparent huge pages are
// enabled for such requests; elsewhere nothing changes). Elements are left uninitialised when
// a vector grows: these buffers are written whole before they are read.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <new>
#include <utility>

namespace engine {

inline constexpr size_t kHugePage = size_t{2} << 20;

template <typename T>
class LargeBufferAllocator {
 public:
  using value_type = T;

  LargeBufferAllocator() = default;
  template <typename U>
  LargeBufferAllocator(const LargeBufferAllocator<U>&) {}  // NOLINT: rebinding converts

  T* allocate(size_t n) {
    const size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) return static_cast<T*>(::operator new(bytes));
    void* p = ::operator new(bytes, std::align_val_t(kHugePage));
#ifdef MADV_HUGEPAGE
    ::madvise(p, bytes / kHugePage * kHugePage, MADV_HUGEPAGE);  // a hint: failure is harmless
#endif
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t n) {
    if (n * sizeof(T) < kHugePage) {
      ::operator delete(p);
    } else {
      ::operator delete(p, std::align_val_t(kHugePage));
    }
  }

  template <typename U>
  void construct(U* p) {
    ::new (static_cast<void*>(p)) U;  // default-initialised: no zero fill
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }

  template <typename U>
  bool operator==(const LargeBufferAllocator<U>&) const {
    return true;
  }
};

}  // namespace engine
