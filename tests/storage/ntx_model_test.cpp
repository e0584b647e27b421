// Long random sequences of inserts, deletions, key moves, seeks and walks,
// compared with a simple model of the index after every few steps, with
// the tree checked for consistency. Large keys make few keys per page, so
// the trees get deep and every split, merge and redistribution happens.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <unordered_map>

#include "ntx_test_support.h"

namespace intra::testing {
namespace {

using Entries = std::vector<std::pair<std::string, std::uint32_t>>;

// Keys in index order, equal keys in the order they were added.
class IndexModel {
 public:
  explicit IndexModel(bool unique, bool descending) : unique_(unique), items_(Order{descending}) {}

  bool insert(const std::string& key, std::uint32_t recno) {
    auto& recnos = items_[key];
    if (unique_ && !recnos.empty()) return false;
    recnos.push_back(recno);
    return true;
  }
  bool remove(const std::string& key, std::uint32_t recno) {
    auto it = items_.find(key);
    if (it == items_.end()) return false;
    auto& recnos = it->second;
    auto at = std::find(recnos.begin(), recnos.end(), recno);
    if (at == recnos.end()) return false;
    recnos.erase(at);
    if (recnos.empty()) items_.erase(it);
    return true;
  }
  Entries entries() const {
    Entries out;
    for (const auto& [key, recnos] : items_)
      for (std::uint32_t r : recnos) out.emplace_back(key, r);
    return out;
  }
  // Position in entries() of the first key meeting the search key over its
  // length; entries().size() when none.
  std::size_t lower_bound(const std::string& search) const {
    std::size_t position = 0;
    for (const auto& [key, recnos] : items_) {
      if (items_.key_comp().prefix_not_before(key, search)) return position;
      position += recnos.size();
    }
    return position;
  }

 private:
  struct Order {
    bool descending;
    bool operator()(const std::string& a, const std::string& b) const { return descending ? b < a : a < b; }
    bool prefix_not_before(const std::string& key, const std::string& search) const {
      const int c = key.compare(0, search.size(), search);
      return descending ? c <= 0 : c >= 0;
    }
  };
  bool unique_;
  std::map<std::string, std::vector<std::uint32_t>, Order> items_;
};

struct ModelCase {
  const char* name;
  int key_size;
  bool unique;
  bool descending;
  bool shared;  // two opens of the file, used in turn at random
  int steps;
  std::size_t cache_limit = 0;  // 0: the default
};

class NtxRandomModel : public NtxTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(NtxRandomModel, IndexAgreesWithTheModel) {
  const ModelCase c = GetParam();
  std::minstd_rand random(static_cast<unsigned>(c.key_size * 131 + c.unique * 7 + c.descending * 3 + c.shared));
  const NtxDefinition d = key_definition(c.key_size, c.unique, c.descending);
  build("model", d, {}, c.shared);  // created and closed again
  std::vector<std::unique_ptr<NtxIndex>> opens;
  opens.push_back(open("model", c.shared));
  ASSERT_TRUE(opens.back()) << error.message();
  if (c.shared) {
    opens.push_back(open("model", true));
    ASSERT_TRUE(opens.back()) << error.message();
  }
  for (auto& o : opens) {
    if (c.cache_limit != 0) o->set_cache_limit(c.cache_limit);
  }

  IndexModel model(c.unique, c.descending);
  std::unordered_map<std::uint32_t, std::string> key_of;  // records in the index
  std::vector<std::uint32_t> live;
  std::uint32_t next_recno = 1;
  auto random_key = [&] {
    std::string key;
    const auto length = (c.unique ? 3 : 1) + random() % 3;
    // Few letters make long runs of equal keys; a unique index needs more.
    const unsigned letters = c.unique ? 8 : 4;
    for (unsigned long i = 0; i < length; ++i) key += static_cast<char>('A' + random() % letters);
    return padded(key, c.key_size);
  };
  auto forget = [&](std::size_t i) {
    key_of.erase(live[i]);
    live[i] = live.back();
    live.pop_back();
  };

  for (int step = 0; step < c.steps; ++step) {
    NtxIndex& index = *opens[random() % opens.size()];
    const auto what = random() % 100;
    bool missing = false;
    SCOPED_TRACE("step " + std::to_string(step));
    if (what < 45 || live.empty()) {
      const std::string key = random_key();
      const std::uint32_t recno = next_recno++;
      ASSERT_TRUE(index.update(std::nullopt, key, recno, missing)) << index.error().message();
      if (model.insert(key, recno)) {
        key_of[recno] = key;
        live.push_back(recno);
      }
    } else if (what < 67) {
      const std::size_t i = random() % live.size();
      ASSERT_TRUE(index.update(key_of[live[i]], std::nullopt, live[i], missing)) << index.error().message();
      EXPECT_FALSE(missing);
      model.remove(key_of[live[i]], live[i]);
      forget(i);
    } else if (what < 85) {
      const std::size_t i = random() % live.size();
      const std::uint32_t recno = live[i];
      const std::string new_key = random_key();
      ASSERT_TRUE(index.update(key_of[recno], new_key, recno, missing)) << index.error().message();
      EXPECT_FALSE(missing);
      model.remove(key_of[recno], recno);
      if (model.insert(new_key, recno))
        key_of[recno] = new_key;
      else
        forget(i);
    } else if (what < 88) {
      ASSERT_TRUE(index.update(random_key(), std::nullopt, next_recno + 1000, missing));
      EXPECT_TRUE(missing);
    } else {
      std::string search = random_key().substr(0, 1 + random() % 3);
      const Entries expected = model.entries();
      std::size_t at = model.lower_bound(search);
      bool found = false;
      const bool on_key = index.seek(search, found);
      ASSERT_FALSE(index.error()) << index.error().message();
      ASSERT_EQ(on_key, at < expected.size());
      if (!on_key) continue;
      ASSERT_EQ(index.current_key(), expected[at].first);
      ASSERT_EQ(index.current_recno(), expected[at].second);
      EXPECT_EQ(found, expected[at].first.compare(0, search.size(), search) == 0);
      const bool forward = random() % 2 == 0;
      for (int s = 0; s < 6; ++s) {
        if (forward ? at + 1 == expected.size() : at == 0) {
          EXPECT_FALSE(forward ? index.next() : index.prev());
          EXPECT_TRUE(forward ? index.eof() : index.bof());
          break;
        }
        at = forward ? at + 1 : at - 1;
        ASSERT_TRUE(forward ? index.next() : index.prev()) << index.error().message();
        ASSERT_EQ(index.current_key(), expected[at].first);
        ASSERT_EQ(index.current_recno(), expected[at].second);
      }
    }
    if (step % 25 == 0 || step + 1 == c.steps) {
      ASSERT_EQ(entries_of(index), model.entries());
    }
    // Trimmed at the start of every call: beyond the limit only by what
    // one call touched.
    if (c.cache_limit != 0) {
      ASSERT_LE(index.cached_pages(), c.cache_limit + 64);
    }
    if (step % 200 == 0 || step + 1 == c.steps) {
      const auto problems = index.check();
      ASSERT_TRUE(problems.empty()) << problems.front();
    }
  }
  // What the file holds is what a fresh open reads.
  opens.clear();
  auto fresh = open("model");
  ASSERT_TRUE(fresh) << error.message();
  EXPECT_EQ(entries_of(*fresh), model.entries());
  EXPECT_TRUE(fresh->check().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Variants, NtxRandomModel,
    ::testing::Values(ModelCase{"TwoKeysAPage", 200, false, false, false, 8000},
                      ModelCase{"EightKeysAPage", 100, false, false, false, 3000},
                      ModelCase{"ShortKeys", 8, false, false, false, 8000},
                      ModelCase{"UniqueDeep", 120, true, false, false, 3000},
                      ModelCase{"DescendingDeep", 200, false, true, false, 3000},
                      ModelCase{"UniqueDescending", 100, true, true, false, 2000},
                      ModelCase{"SharedDeep", 200, false, false, true, 3000},
                      ModelCase{"SharedUniqueDescending", 100, true, true, true, 2000},
                      ModelCase{"SharedShortKeys", 10, false, false, true, 2000},
                      ModelCase{"FourCachedPages", 100, false, false, false, 2000, 4},
                      ModelCase{"SharedFourCachedPages", 100, true, false, true, 2000, 4}),
    [](const ::testing::TestParamInfo<ModelCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace intra::testing
