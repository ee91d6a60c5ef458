// Memory for the engine's few large buffers (the word index and the file it is decoded from).
// Each page of a new buffer costs a page fault at its first touch, and a fault can cost more
// than filling the page; so the whole 2 MiB stretches of a large buffer are offered to the
// kernel as huge pages, one fault each instead of 512 (Linux, where transparent huge pages are
// enabled for such requests; elsewhere nothing changes), and the pages of a buffer of 256 KiB
// or more are entered in one request. Elements are left uninitialised when a vector grows:
// these buffers are written whole before they are read.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
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
    if (bytes < kHugePage) return Populated(::operator new(bytes), bytes);
    void* p = ::operator new(bytes, std::align_val_t(kHugePage));
#ifdef MADV_HUGEPAGE
    ::madvise(p, bytes / kHugePage * kHugePage, MADV_HUGEPAGE);  // a hint: failure is harmless
#endif
    return Populated(p, bytes);
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

 private:
  // A buffer of kPopulateFrom bytes or more has its whole pages entered in one request rather
  // than faulted in one by one as they are first written (Linux 5.14 on; elsewhere, or when
  // refused, the pages fault in as before).
  static T* Populated(void* p, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    if (bytes >= kPopulateFrom) {
      const uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + kPage - 1) & ~(kPage - 1);
      const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(kPage - 1);
      if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    }
#endif
    return static_cast<T*>(p);
  }
  static constexpr uintptr_t kPage = 4096;  // the smallest page size Linux has: a safe alignment
  static constexpr size_t kPopulateFrom = size_t{256} << 10;
};

}  // namespace engine
