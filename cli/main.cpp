#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "engine/nymdex.h"
#include "platform/data_path.h"

namespace {

// A command runs for some tens of milliseconds and fills several megabytes of new memory (the
// anagram list and its index, the irregular forms, the decoded word index); a page fault per
// 4 KiB page of it can cost more than the work done on the page. So the program's memory comes
// from one heap, grown once by a large step that is offered to the kernel as huge pages (one
// fault per 2 MiB where transparent huge pages are enabled for such requests), shared by all
// threads and never given back before the exit. When a step fails the default heap serves.
void UseOneLargeHeap() {
  constexpr int kStep = 32 << 20;
  constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_THRESHOLD, kStep);
  mallopt(M_TRIM_THRESHOLD, 2 * kStep);
  mallopt(M_TOP_PAD, kStep);
  // A request just beyond the free top of the heap grows it by the step; the block's bounds,
  // written at once, lie before the first whole huge page of the step, which stays untouched
  // until the kernel has been told.
  const auto before = reinterpret_cast<uintptr_t>(::sbrk(0));
  void* volatile block = std::malloc(mallinfo2().keepcost + 4096);
  std::free(block);
  const auto after = reinterpret_cast<uintptr_t>(::sbrk(0));
  const uintptr_t begin = (before + kHugePage - 1) & ~(kHugePage - 1);
  const uintptr_t end = after & ~(kHugePage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

int main(int argc, char** argv) {
  UseOneLargeHeap();
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  // Lookups start the engine: its decoded word index is kept in the user's cache folder.
  Nymdex_SetCacheFolder(platform::UserCacheFolder().c_str());
  const int status = cli::Run(args, std::cin, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
