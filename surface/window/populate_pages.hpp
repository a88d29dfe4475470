// SPDX-License-Identifier: MIT
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

namespace testcard {

// Maps in the memory of a new picture buffer with one call, before a
// picture is copied in: faulting its pages in one by one took longer than
// the copy. Only a hint; a kernel before 5.14 refuses it, and the copy
// faults the pages in as before.
inline void PopulatePages(void* memory, std::size_t bytes) {
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(memory) / page * page;
  const auto end = reinterpret_cast<std::uintptr_t>(memory) + bytes;
  madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
}

}  // namespace testcard
