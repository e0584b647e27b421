#include <gtest/gtest.h>

#include "main/public_variables.h"
#include "main/startup/public_defaults.h"

namespace intra {
namespace {

TEST(PublicVariables, NamesIgnoreCaseAndUnassignedHoldsFalse) {
  PublicVariables vars;
  vars.declare("j_Test");
  EXPECT_TRUE(vars.exists("J_TEST"));
  EXPECT_TRUE(vars.get("J_TEST").is_logical());
  EXPECT_FALSE(vars.logical("j_test"));
  EXPECT_FALSE(vars.exists("NOWA"));
  vars.set("nowa", Value::blanks(10));  // assignment creates the name
  EXPECT_EQ(vars.text("NOWA"), std::string(10, ' '));
  vars.declare("NOWA");  // declaring again keeps the value
  EXPECT_EQ(vars.text("Nowa").size(), 10u);
}

// A routine calling another: the inner one sees the caller's private value.
std::string seen_by_callee(const PublicVariables& vars) { return vars.text("M_KIER"); }

TEST(PublicVariables, PrivateShadowsThePublicOneUntilTheScopeEnds) {
  PublicVariables vars;
  vars.set("M_KIER", "   ");
  {
    PublicVariables::PrivateScope routine(vars);
    routine.declare("m_kier", Value("W  "));
    EXPECT_EQ(seen_by_callee(vars), "W  ");
    vars.set("M_KIER", "P  ");  // writes the private one
    EXPECT_EQ(vars.text("M_KIER"), "P  ");
    EXPECT_EQ(vars.public_value("M_KIER").text(), "   ");
    {
      PublicVariables::PrivateScope inner(vars);
      inner.declare("M_KIER");
      EXPECT_FALSE(vars.logical("M_KIER"));
      EXPECT_TRUE(vars.get("M_KIER").is_logical());
    }
    EXPECT_EQ(vars.text("M_KIER"), "P  ");
    routine.declare("L_ONLY_PRIVATE", Value(5));
  }
  EXPECT_EQ(vars.text("M_KIER"), "   ");
  EXPECT_FALSE(vars.exists("L_ONLY_PRIVATE"));
}

TEST(PublicVariables, PrefixListingKeepsCreationOrder) {
  PublicVariables vars;
  vars.set("J_B", 1);
  vars.set("M_X", 1);
  vars.set("j_a", 1);
  EXPECT_EQ(vars.public_names_with_prefix("J_"), (std::vector<std::string>{"J_B", "J_A"}));
}

TEST(PublicVariables, VisibleNamesListEveryBindingOnceInByteOrder) {
  PublicVariables vars;
  vars.set("j_b", 1);
  vars.set("_END", 1);
  vars.declare("J_A");
  {
    PublicVariables::PrivateScope routine(vars);
    routine.declare("J_B", Value(2));  // shadows: listed once, reads the private value
    routine.declare("L_ONLY_PRIVATE");
    EXPECT_EQ(vars.visible_names(), (std::vector<std::string>{"J_A", "J_B", "L_ONLY_PRIVATE", "_END"}));
    EXPECT_EQ(vars.number("J_B"), 2);
  }
  EXPECT_EQ(vars.visible_names(), (std::vector<std::string>{"J_A", "J_B", "_END"}));
  vars.clear();
  EXPECT_TRUE(vars.visible_names().empty());
}

TEST(PublicDefaults, LateParametersHaveNoValueUntilTheTablesAreOpen) {
  PublicVariables vars;
  create_public_variables(vars, VirtualClock::default_start());
  // Declared but unassigned: logical false.
  for (const char* late : {"J_DRUKARKA", "J_RD", "J_SD", "J_MAG_GLOW", "J_MOD_OPA", "J_PAPIER"}) {
    EXPECT_TRUE(vars.exists(late)) << late;
    EXPECT_TRUE(vars.get(late).is_logical()) << late;
  }
  for (const char* absent : {"J_SD_Z1MAG", "J_DOP_UJEM", "J_BEZ_VIEW", "J_NODB1"})
    EXPECT_FALSE(vars.exists(absent)) << absent;
  assign_late_parameters(vars);
  EXPECT_EQ(vars.text("J_RD"), "FV ");
  EXPECT_EQ(vars.number("J_PAPIER"), 10);
  EXPECT_EQ(vars.text("J_SD_Z1MAG"), "T");
}

TEST(PublicDefaults, TextsKeepTheirLengthsAndTypes) {
  PublicVariables vars;
  create_public_variables(vars, VirtualClock::default_start());
  struct Case {
    const char* name;
    Value value;
  } cases[] = {
      {"M_NAZWISKO", Value::blanks(30)},
      {"M_PRAWA1", "NNNNNNNNNNNNNNNNNNNN"},
      {"J_CDN", "C:\\VAT                   "},
      {"J_KP_R", "C:\\TRUMVEL               "},
      {"J_PTUA", "--"},
      {"J_PTUB", " 7"},
      {"J_KOD13_F5", "131313131313 "},
      {"J_ZAOKRAGL", false},
      {"J_TEZ", 14},
      {"STACJA", 1},
      {"PORT10_ADDR", 1016},
      {"L_TIME", "09"},
      {"M_SPZ", "G"},
      {"M_UODB", false},
      {"GDZIE", 3},
  };
  for (const Case& c : cases) EXPECT_EQ(vars.get(c.name), c.value) << c.name;
  EXPECT_EQ(vars.text("J_NAZWA").size(), 18u);
  EXPECT_EQ(vars.text("J_BOSS").size(), 4u);
  EXPECT_TRUE(vars.get("M_DATA").is_date());
  EXPECT_TRUE(vars.get("GETLIST").is_list());
}

}  // namespace
}  // namespace intra
