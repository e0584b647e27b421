// CallSite: the routine name and line of a call, for the creation log.
#include "database/call_site.h"

#include <gtest/gtest.h>

namespace intra {
namespace {

TEST(CallSite, TheRoutineNameIsTakenOutOfTheFullSignature) {
  const struct {
    const char* signature;
    const char* name;
  } cases[] = {
      {"bool intra::INIT_DBF()", "INIT_DBF"},
      {"int main()", "main"},
      {"bool intra::TWORZ(std::string_view, const intra::Value&, int)", "TWORZ"},
      {"virtual void intra::{anonymous}::Tworz_Logs_Test::TestBody()", "TestBody"},
      {"intra::INIT_DBF()::<lambda()>", "INIT_DBF"},
      {"void intra::A<std::basic_string<char> >::go() const", "go"},
      {"void intra::copy_out(X) [with X = int]", "copy_out"},
      {"std::map<int, std::vector<int> > intra::REINDEX(int)", "REINDEX"},
      {"const std::string& intra::Name::text() const", "text"},
      {"no parameter list", "no parameter list"},
  };
  for (const auto& c : cases) EXPECT_EQ(bare_routine_name(c.signature), c.name) << c.signature;
}

CallSite where_called(CallSite caller = CallSite::here()) { return caller; }

CallSite INIT_DBF() { return where_called(); }
const unsigned kInitDbfLine = __LINE__ - 1;

TEST(CallSite, ADefaultArgumentNamesThePlaceOfTheCall) {
  const CallSite site = INIT_DBF();
  EXPECT_EQ(site.routine(), "INIT_DBF");
  EXPECT_EQ(site.line(), kInitDbfLine);
  EXPECT_EQ(site.text(), "INIT_DBF(" + std::to_string(kInitDbfLine) + ")");

  const CallSite in_lambda = [] { return where_called(); }();
  EXPECT_EQ(in_lambda.routine(), "TestBody");
  EXPECT_EQ(in_lambda.line(), static_cast<unsigned>(__LINE__ - 2));

  EXPECT_EQ(CallSite().text(), "(0)");
  EXPECT_EQ(CallSite("MAIN", 87).text(), "MAIN(87)");
}

}  // namespace
}  // namespace intra
