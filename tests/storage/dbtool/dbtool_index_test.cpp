// dbtool's index commands in-process: building, listing, seeking and
// checking indexes, with the indexes damaged or gone stale under the check.
#include <gtest/gtest.h>

#include <sstream>

#include "dbtool_fixture.h"
#include "storage/dbtool/dbtool.h"
#include "storage/index_list.h"
#include "storage/ntx_index.h"

namespace intra {
namespace {

struct Outcome {
  int code;
  std::string out, err;
};

std::uint16_t u16_at(const std::string& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

// Seven records: a character key with a prefix and an equal pair, numbers
// on both sides of zero, dates with an empty one; record 6 is deleted.
const char* const kGoodsCsv =
    "INDEKS,ILOSC,DATA\n"
    "B2,-5,20240131\n"
    "A1,12.5,20231231\n"
    "C3,-10,\n"
    "AB,0,20240131\n"
    "B2,7,20240101\n"
    "D4,-0.25,20240131\n"
    "E5,99999.99,20250615\n";

struct DbtoolIndexTest : ::testing::Test, testing::DbtoolFixture {
  Outcome run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = run_dbtool(std::move(args), out, err);
    return {code, out.str(), err.str()};
  }
  std::string ok(std::vector<std::string> args) {
    const Outcome o = run(std::move(args));
    EXPECT_EQ(o.code, 0) << o.err << o.out;
    EXPECT_EQ(o.err, "");
    return o.out;
  }
  void SetUp() override {
    ok({"create", "towary,INDEKS,C,10,0,ILOSC,N,8,2,DATA,D,8,0"});
    write_file("in.csv", kGoodsCsv);
    ok({"import", "towary", "in.csv"});
    delete_records("towary", {6});
    ok({"index", "towary", "indeks", "INDEKS"});
    ok({"index", "towary", "ilosc.ntx", "ILOSC"});
    ok({"index", "towary", "data", "DTOS(DATA)+INDEKS"});
  }
  // The table's file, with `change` applied to the bytes of record `recno`.
  void patch_record(std::uint32_t recno, std::size_t field_offset, const std::string& bytes_there) {
    std::string b = bytes("towary.dbf");
    const std::size_t header = u16_at(b, 8), length = u16_at(b, 10);
    b.replace(header + length * (recno - 1) + field_offset, bytes_there.size(), bytes_there);
    write_file("towary.dbf", b);
  }
};

TEST_F(DbtoolIndexTest, KeysListEveryEntryInIndexOrderWithDeletedRecordsToo) {
  EXPECT_EQ(ok({"keys", "indeks"}),
            "A1        \t2\nAB        \t4\nB2        \t1\nB2        \t5\nC3        \t3\nD4        \t6\nE5        \t7\n");
  // Negative numbers: '-' -> '0', digit d -> 92 - d, so they sort first and
  // the larger magnitudes earlier.
  EXPECT_EQ(ok({"keys", "ilosc", "towary"}),
            ",,,+,.,,\t3\n,,,,'.,,\t1\n,,,,,.*'\t6\n00000.00\t4\n00007.00\t5\n00012.50\t2\n99999.99\t7\n");
  EXPECT_EQ(ok({"keys", "data.ntx"}),
            "        C3        \t3\n"
            "20231231A1        \t2\n"
            "20240101B2        \t5\n"
            "20240131AB        \t4\n"
            "20240131B2        \t1\n"
            "20240131D4        \t6\n"
            "20250615E5        \t7\n");
}

TEST_F(DbtoolIndexTest, IndexFileHasTheKeyAndShapeTheTableGives) {
  const std::string b = bytes("ilosc.ntx");
  EXPECT_EQ(b.size(), 2048u);
  EXPECT_EQ(u16_at(b, 14), 8u);  // key size: N 8,2
  EXPECT_EQ(u16_at(b, 16), 2u);
  EXPECT_EQ(b.substr(22, 6), std::string("ILOSC\0", 6));
  EXPECT_EQ(u16_at(bytes("data.ntx"), 14), 18u);
}

struct SeekCase {
  const char* index;
  const char* value;
  const char* out;
  int code;
};

TEST_F(DbtoolIndexTest, SeekFindsTheFirstVisibleRecordOfTheKey) {
  const std::vector<SeekCase> cases = {
      {"indeks", "AB", "4\n", 0},
      {"indeks", "A", "2\n", 0},           // a shorter text: the first key beginning with it
      {"indeks", "B2", "1\n", 0},          // equal keys: the first added
      {"indeks", "B2        ", "1\n", 0},  // the full key
      {"indeks", "B3", "not found\n", 1},
      {"indeks", "D4", "not found\n", 1},  // only a deleted record has it
      {"indeks", "", "2\n", 0},
      {"ilosc", "-5", "1\n", 0},
      {"ilosc", "-5.00", "1\n", 0},
      {"ilosc", "+12.5", "2\n", 0},
      {"ilosc", "-0.25", "not found\n", 1},  // deleted
      {"ilosc", "6", "not found\n", 1},
      {"data", "20240131", "4\n", 0},
      {"data", "20240131B", "1\n", 0},
      {"data", "        C3", "3\n", 0},
      {"data", "2023", "2\n", 0},
      {"data", "2026", "not found\n", 1},
  };
  for (const SeekCase& c : cases) {
    SCOPED_TRACE(std::string(c.index) + " " + c.value);
    const Outcome o = run({"seek", "towary", c.index, c.value});
    EXPECT_EQ(o.out, c.out);
    EXPECT_EQ(o.code, c.code);
    EXPECT_EQ(o.err, "");
  }
}

TEST_F(DbtoolIndexTest, SeekReadsDatesAndLogicalsByTheKeysType) {
  ok({"index", "towary", "d", "DATA"});
  ok({"index", "towary", "l", "ILOSC > 0"});
  const std::vector<SeekCase> cases = {
      {"d", "20240101", "5\n", 0}, {"d", "01.01.2024", "5\n", 0}, {"d", "31.12.2023", "2\n", 0},
      {"d", "", "3\n", 0},  // the empty date
      {"d", "20240102", "not found\n", 1}, {"l", "T", "2\n", 0}, {"l", "f", "1\n", 0},
  };
  for (const SeekCase& c : cases) {
    SCOPED_TRACE(std::string(c.index) + " " + c.value);
    const Outcome o = run({"seek", "towary", c.index, c.value});
    EXPECT_EQ(o.out, c.out);
    EXPECT_EQ(o.code, c.code);
  }
}

TEST_F(DbtoolIndexTest, BadInputGetsTheEngineOrParserMessage) {
  ok({"index", "towary", "d", "DATA"});
  ok({"index", "towary", "l", "ILOSC > 0"});
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"index", "towary", "x", "UPPER(FOO)"}, "dbtool: Create error: unknown field FOO in key UPPER(FOO) in x.ntx\n"},
      {{"index", "towary", "x", "INDEKS+"}, "dbtool: Create error: missing operand after + at 7 in key INDEKS+ in x.ntx\n"},
      {{"index", "towary", "x", "SUBSTR(INDEKS,1,0)"}, "dbtool: Data width error: key SUBSTR(INDEKS,1,0) in x.ntx\n"},
      {{"index", "missing", "x", "INDEKS"}, "dbtool: Open error: missing.dbf (DOS Error 2)\n"},
      {{"keys", "missing"}, "dbtool: Open error: missing.ntx (DOS Error 2)\n"},
      {{"keys", "indeks", "missing"}, "dbtool: Open error: missing.dbf (DOS Error 2)\n"},
      {{"seek", "towary", "missing", "A"}, "dbtool: Open error: missing.ntx (DOS Error 2)\n"},
      {{"seek", "towary", "ilosc", "1,5"}, "dbtool: \"1,5\" is not a number\n"},
      {{"seek", "towary", "ilosc", ""}, "dbtool: \"\" is not a number\n"},
      {{"seek", "towary", "ilosc", "1e3"}, "dbtool: \"1e3\" is not a number\n"},
      {{"seek", "towary", "d", "32.12.2023"}, "dbtool: \"32.12.2023\" is not a date YYYYMMDD or dd.mm.yyyy\n"},
      {{"seek", "towary", "d", "2024-01-01"}, "dbtool: \"2024-01-01\" is not a date YYYYMMDD or dd.mm.yyyy\n"},
      {{"seek", "towary", "l", "Y"}, "dbtool: \"Y\" is not a logical T or F\n"},
      {{"--utf8", "seek", "towary", "indeks", "\xE2\x82\xAC"},
       "dbtool: a character not in code page 852 or not UTF-8 in the value\n"},
      {{"check", "missing", "indeks"}, "dbtool: Open error: missing.dbf (DOS Error 2)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const Outcome o = run(c.args);
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, c.err);
  }
  EXPECT_FALSE(std::filesystem::exists(tmp.path() / "x.ntx"));  // a failed build leaves no file

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"index", "towary", "x"}, {"keys"}, {"keys", "a", "b", "c"}, {"seek", "towary", "x"},
        {"check", "towary"}}) {
    const Outcome o = run(args);
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.err.rfind("dbtool: usage: dbtool " + args[0], 0), 0u) << o.err;
  }
}

TEST_F(DbtoolIndexTest, IndexNeedsTheTableAloneButTheOtherCommandsWorkBesideAStation) {
  TableError error;
  auto station = Table::open(files, "towary", OpenOptions{true, false}, error);
  ASSERT_TRUE(station) << error.message();
  IndexList indexes(*station, "towary");
  ASSERT_TRUE(indexes.add("indeks")) << indexes.error().message();
  const Outcome o = run({"index", "towary", "x", "INDEKS"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.err, "dbtool: Open error: in use by another station in towary.dbf (DOS Error 32)\n");
  EXPECT_EQ(ok({"seek", "towary", "indeks", "C3"}), "3\n");
  EXPECT_EQ(ok({"check", "towary", "indeks"}), "indeks.ntx: consistent\n");
  EXPECT_NE(ok({"keys", "indeks"}).find("C3        \t3\n"), std::string::npos);
}

TEST_F(DbtoolIndexTest, Utf8KeysAndValuesAreConverted) {
  write_file("pl.csv", "INDEKS\n\xC5\x81\xC3\xB3\x64\xC5\xBA\n");  // "Łódź"
  ok({"--utf8", "import", "towary", "pl.csv"});
  ok({"index", "towary", "indeks", "INDEKS"});
  const std::string raw = ok({"keys", "indeks"});
  EXPECT_NE(raw.find("\x9D\xA2\x64\xAB      \t8\n"), std::string::npos);
  EXPECT_NE(ok({"--utf8", "keys", "indeks"}).find("\xC5\x81\xC3\xB3\x64\xC5\xBA      \t8\n"), std::string::npos);
  EXPECT_EQ(ok({"--utf8", "seek", "towary", "indeks", "\xC5\x81\xC3\xB3"}), "8\n");
  EXPECT_EQ(ok({"seek", "towary", "indeks", "\x9D\xA2"}), "8\n");
}

TEST_F(DbtoolIndexTest, CheckFindsIndexesConsistentAfterChangesThroughTheEngine) {
  {
    TableError error;
    auto station = Table::open(files, "towary", OpenOptions{true, false}, error);
    ASSERT_TRUE(station) << error.message();
    IndexList indexes(*station, "towary");
    for (const char* name : {"indeks", "ilosc", "data"}) ASSERT_TRUE(indexes.add(name)) << indexes.error().message();
    for (int i = 0; i < 300; ++i) {  // enough to split pages of every index
      ASSERT_TRUE(station->append()) << station->error().message();
      ASSERT_TRUE(station->put(0, Value("N" + std::to_string(i * 7 % 300))));
      ASSERT_TRUE(station->put(1, Value((i % 2 ? -1.0 : 1.0) * i * 1.25)));
      ASSERT_TRUE(station->put(2, Value(Date::from_ymd(2024, 1 + i % 12, 1 + i % 28))));
    }
    ASSERT_TRUE(station->lock_record(2));
    ASSERT_TRUE(station->go_to(2));
    ASSERT_TRUE(station->put(0, Value("ZZ")));
    ASSERT_TRUE(station->delete_record());
    ASSERT_TRUE(station->unlock_all());
    ASSERT_TRUE(station->close());
  }
  EXPECT_EQ(ok({"check", "towary", "indeks", "ilosc.ntx", "data"}),
            "indeks.ntx: consistent\nilosc.ntx: consistent\ndata.ntx: consistent\n");
  const Outcome deleted = run({"seek", "towary", "indeks", "ZZ"});
  EXPECT_EQ(deleted.out, "not found\n");
  EXPECT_EQ(deleted.code, 1);
  EXPECT_EQ(ok({"seek", "towary", "indeks", "N299"}), "265\n");
}

TEST_F(DbtoolIndexTest, CheckTakesOneRecordPerKeyOfAUniqueIndex) {
  {
    TableError error;
    auto alone = Table::open(files, "towary", OpenOptions{false, false}, error);
    ASSERT_TRUE(alone) << error.message();
    IndexList indexes(*alone, "towary");
    ASSERT_TRUE(indexes.create("jedyny", "INDEKS", true)) << indexes.error().message();
  }
  EXPECT_EQ(ok({"keys", "jedyny"}), "A1        \t2\nAB        \t4\nB2        \t1\nC3        \t3\nD4        \t6\nE5        \t7\n");
  EXPECT_EQ(ok({"check", "towary", "jedyny"}), "jedyny.ntx: consistent\n");

  TableError error;
  auto index = NtxIndex::open(files, "jedyny", false, false, error);
  bool missing = false;
  ASSERT_TRUE(index && index->update(std::string("B2"), std::nullopt, 1, missing) && index->close());
  const Outcome o = run({"check", "towary", "jedyny"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.out,
            "jedyny.ntx: record 1 with key \"B2        \" is missing\n"
            "jedyny.ntx: record 5 with key \"B2        \" is missing\n");
}

// What a check prints for an index, and that it says so with exit code 1.
struct CheckCase {
  const char* name;
  std::function<void(DbtoolIndexTest&)> damage;
  std::vector<std::string> lines;  // the report's lines for indeks.ntx, in order
};

TEST_F(DbtoolIndexTest, CheckReportsDamagedAndStaleIndexesWithoutStopping) {
  // indeks.ntx is one leaf at 1024: A1 AB B2 B2 C3 D4 E5 in slots 0..6.
  const std::string pristine_index = bytes("indeks.ntx");
  const std::string pristine_table = bytes("towary.dbf");
  const std::size_t page = 1024;
  auto slot = [&](int entry) { return page + u16_at(pristine_index, page + 2 + 2 * static_cast<std::size_t>(entry)); };
  auto patch_index = [&](std::size_t at, const std::string& with) {
    std::string b = pristine_index;
    b.replace(at, with.size(), with);
    write_file("indeks.ntx", b);
  };
  const std::vector<CheckCase> cases = {
      {"two keys swapped in the page",
       [&](DbtoolIndexTest&) {
         std::string b = pristine_index;
         std::swap(b[page + 2], b[page + 4]);
         std::swap(b[page + 3], b[page + 5]);
         write_file("indeks.ntx", b);
       },
       {"indeks.ntx: page at 1024 key 1 out of order"}},
      {"a key byte changed",
       [&](DbtoolIndexTest&) { patch_index(slot(4) + 8, "Z"); },
       {"indeks.ntx: page at 1024 key 5 out of order", "indeks.ntx: record 3 is under key \"Z3        \" but its key is \"C3        \""}},
      {"a record number changed",
       [&](DbtoolIndexTest&) { patch_index(slot(6) + 4, std::string("\x09\0\0\0", 4)); },
       {"indeks.ntx: record 7 with key \"E5        \" is missing",
        "indeks.ntx: entry \"E5        \" for record 9 beyond the table's 7 records"}},
      {"the key count above the maximum",
       [&](DbtoolIndexTest&) { patch_index(page, std::string("\x7F\0", 2)); },
       {"indeks.ntx: page at 1024: key count 127 above 50",
        "indeks.ntx: Corruption detected: page at 1024: key count 127 above 50 in indeks.ntx"}},
      {"the file cut inside its page",
       [&](DbtoolIndexTest&) { write_file("indeks.ntx", pristine_index.substr(0, 1500)); },
       {"indeks.ntx: file size 1500 is not a multiple of 1024", "indeks.ntx: root 1024 is not a page of the file",
        "indeks.ntx: Corruption detected: page at 1024 cut short in indeks.ntx"}},
      {"the header's type word",
       [&](DbtoolIndexTest&) { patch_index(0, std::string("\x46\0", 2)); },
       {"indeks.ntx: Corruption detected: type word 0x46 in indeks.ntx"}},
      {"a record changed behind the index's back",
       [&](DbtoolIndexTest& t) { t.patch_record(3, 1, "Q3"); },
       {"indeks.ntx: record 3 is under key \"C3        \" but its key is \"Q3        \""}},
      {"a record appended without its indexes",
       [&](DbtoolIndexTest& t) {
         TableError error;
         auto alone = Table::open(t.files, "towary", OpenOptions{false, false}, error);
         ASSERT_TRUE(alone && alone->append() && alone->put(0, Value("F\t6")) && alone->close());
       },
       {"indeks.ntx: record 8 with key \"F\\x096       \" is missing"}},
      {"the table cut by a record",
       [&](DbtoolIndexTest& t) { t.write_file("towary.dbf", pristine_table.substr(0, pristine_table.size() - 1 - 27)); },
       {"indeks.ntx: entry \"E5        \" for record 7 beyond the table's 6 records"}},
      {"an entry doubled",
       [&](DbtoolIndexTest& t) {
         TableError error;
         auto index = NtxIndex::open(t.files, "indeks", false, false, error);
         bool missing = false;
         ASSERT_TRUE(index && index->update(std::nullopt, std::string("B2"), 1, missing) && index->close());
       },
       {"indeks.ntx: record 1 is in the index 2 times"}},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    write_file("indeks.ntx", pristine_index);
    write_file("towary.dbf", pristine_table);
    c.damage(*this);
    const Outcome o = run({"check", "towary", "ilosc", "indeks", "data"});
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.err, "");
    std::vector<std::string> lines;
    std::istringstream report(o.out);
    for (std::string line; std::getline(report, line);)
      if (line.rfind("indeks.ntx: ", 0) == 0) lines.push_back(line);
    EXPECT_EQ(lines, c.lines) << o.out;
    // The other indexes are checked all the same.
    EXPECT_EQ(o.out.rfind("ilosc.ntx: ", 0), 0u) << o.out;
    EXPECT_NE(o.out.find("\ndata.ntx: "), std::string::npos) << o.out;
  }
}

TEST_F(DbtoolIndexTest, CheckReportIsBoundedPerIndex) {
  std::string csv = "INDEKS\n";
  for (int i = 0; i < 60; ++i) csv += "K" + std::to_string(100 + i) + "\n";
  write_file("more.csv", csv);
  ok({"import", "towary", "more.csv"});
  ok({"index", "towary", "indeks", "INDEKS"});
  for (std::uint32_t recno = 8; recno <= 67; ++recno) patch_record(recno, 1, "X");
  const Outcome o = run({"check", "towary", "indeks"});
  EXPECT_EQ(o.code, 1);
  std::istringstream report(o.out);
  std::vector<std::string> lines;
  for (std::string line; std::getline(report, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 51u) << o.out;
  EXPECT_EQ(lines.front(), "indeks.ntx: record 8 is under key \"K100      \" but its key is \"X100      \"");
  EXPECT_EQ(lines.back(), "indeks.ntx: 10 more problems");
}

}  // namespace
}  // namespace intra
