// The field-specification string written from a structure, and a table
// created from it through TWORZ with the marker files on disk.
#include "database/structure_string.h"

#include <gtest/gtest.h>

#include <string>

#include "database/structures.h"
#include "database/tworz.h"
#include "database_fixture.h"
#include "storage/field_spec_string.h"

namespace intra {
namespace {

std::string describe(const std::vector<FieldSpec>& fields) {
  std::string out;
  for (const FieldSpec& f : fields)
    out += (out.empty() ? "" : ", ") + f.name + " " + f.type + " " + std::to_string(f.width) + "." +
           std::to_string(f.decimals);
  return out;
}

TEST(StructureString, PadsNamesToTenAndNumbersToThree) {
  const StructureConditions none([](std::string_view) { return false; });
  EXPECT_EQ(structure_string("24\\05\\wal", wal_structure(none)),
            "24\\05\\wal,WALUTA    ,C,  3,  0,DATA      ,D,  8,  0,KURS      ,N, 12,  6");
  EXPECT_EQ(structure_string("x", {}), "x");
}

TEST(StructureString, ReadsBackAsTheSameFields) {
  const StructureConditions all([](std::string_view) { return true; });
  const auto fields = dowod_structure(all);
  std::string problem;
  const auto parsed = parse_field_spec_string(structure_string("04\\09\\dowod", fields), problem);
  ASSERT_TRUE(parsed) << problem;
  EXPECT_EQ(parsed->path, "04\\09\\dowod");
  EXPECT_EQ(describe(parsed->fields), describe(fields));
}

struct CreatedStructure : ::testing::Test, testing::DatabaseFixture {};

TEST_F(CreatedStructure, TworzMakesTheTableOfTheListWithMarkersFromDisk) {
  write_bytes("KOD20.TXT", "");
  write_bytes("kod14.txt", "");
  write_bytes("KOD13.TXT", "");
  write_bytes("partia.txt", "");
  const StructureConditions c;  // FILE_X on the run's files
  ASSERT_EQ(c.barcode_width(), 20);
  const auto fields = as_structure(c);
  ASSERT_TRUE(TWORZ(structure_string("as", fields)));
  auto table = other_station("as", true);
  ASSERT_TRUE(table);
  std::vector<FieldSpec> made;
  for (const auto& f : table->fields()) made.push_back(FieldSpec{f.name, f.type, f.width, f.decimals});
  EXPECT_EQ(describe(made), describe(fields));
  EXPECT_NE(describe(made).find("KOD13 C 20.0"), std::string::npos);
  EXPECT_NE(describe(made).find("PARTIA4 C 5.0"), std::string::npos);
}

}  // namespace
}  // namespace intra
