#pragma once
// Consistency check of an index file, for tools and tests. It reports, one
// line each:
//   - header: root and first free page not multiples of 1024 within the
//     file, maximum keys or half page other than the key size gives, a
//     file size that is not a multiple of 1024;
//   - pages: unreadable or damaged pages (key count above m, a slot table
//     that is not a permutation of the slots), a page reachable twice,
//     paths deeper than 64 levels, pages mixing leaf and inner entries,
//     leaves at different depths, a root without keys over a child;
//   - fill: a page other than the root with fewer than m div 2 keys. Every
//     change keeps that bound: a split leaves (m + 1) div 2 and m div 2
//     keys, deletion merges below m keys and otherwise redistributes to
//     (l + r + 1) div 2 and (l + r) div 2, and a bulk build closes full
//     pages and repairs the last page of each level along the right edge
//     the same way. So the bound holds for every non-root page of every
//     tree this engine writes;
//   - order: keys not ascending through the tree (descending for a
//     descending index), equal keys in a unique index;
//   - free list: links outside the file, cycles, pages also in the tree,
//     free pages holding keys.
// The walk visits every page at most once, so it ends on any file.
#include <string>
#include <vector>

#include "storage/ntx_header.h"
#include "storage/ntx_key_order.h"
#include "storage/ntx_page_store.h"

namespace intra {

std::vector<std::string> ntx_check(NtxPageStore& store, const NtxHeader& header, const NtxKeyOrder& order,
                                   std::uint64_t file_size);

}  // namespace intra
