// Figures of the index engine on a million keys: bulk build time and seeks
// per second, exclusive and shared. Timing depends on the machine, so the
// test runs only when INTRASTAT_NTX_PERF is set, and prints its figures.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "ntx_test_support.h"

namespace intra::testing {
namespace {

using NtxPerformance = NtxTest;
using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

TEST_F(NtxPerformance, MillionKeys) {
  if (std::getenv("INTRASTAT_NTX_PERF") == nullptr) GTEST_SKIP() << "set INTRASTAT_NTX_PERF to measure";
  constexpr std::uint32_t kKeys = 1'000'000;
  std::mt19937 random(1);
  std::vector<KeyEntry> entries(kKeys);
  char text[16];
  for (std::uint32_t i = 0; i < kKeys; ++i) {
    std::snprintf(text, sizeof text, "%08u", static_cast<unsigned>(random() % 100000000));
    entries[i] = {text, i + 1};
  }

  auto start = Clock::now();
  auto index = build("perf", key_definition(8), entries);
  ASSERT_TRUE(index);
  std::printf("bulk build of %u keys: %.3f s\n", kKeys, seconds_since(start));
  index.reset();

  std::vector<std::string> searches;
  for (int i = 0; i < 1'000'000; ++i) searches.push_back(entries[random() % kKeys].key);
  auto measure = [&](NtxIndex& x, std::size_t n, const char* what) {
    bool found = false;
    for (std::size_t i = 0; i < n; ++i) x.seek(searches[i], found);  // fills the page cache
    start = Clock::now();
    std::size_t hits = 0;
    for (std::size_t i = 0; i < n; ++i) hits += x.seek(searches[i], found) && found ? 1 : 0;
    const double s = seconds_since(start);
    EXPECT_EQ(hits, n);
    std::printf("%s: %.0f seeks/s (%zu pages cached)\n", what, static_cast<double>(n) / s, x.cached_pages());
  };
  auto exclusive = open("perf");
  measure(*exclusive, 1'000'000, "exclusive");
  exclusive.reset();
  auto shared = open("perf", true);
  measure(*shared, 300'000, "shared");
  EXPECT_TRUE(shared->check().empty());
}

}  // namespace
}  // namespace intra::testing
