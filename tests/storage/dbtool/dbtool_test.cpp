#include <gtest/gtest.h>

#include <sstream>

#include "dbtool_fixture.h"
#include "storage/dbtool/dbtool.h"

namespace intra {
namespace {

struct Outcome {
  int code;
  std::string out, err;
};

struct DbtoolTest : ::testing::Test, testing::DbtoolFixture {
  Outcome run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = run_dbtool(std::move(args), out, err);
    return {code, out.str(), err.str()};
  }
  // Runs a command that must succeed silently on standard error.
  std::string ok(std::vector<std::string> args) {
    const Outcome o = run(std::move(args));
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.err, "");
    return o.out;
  }
};

const char* const kGoods = "towary,INDEKS    ,C,  8,  0,NAZWA,C,20,0,CENA,N,10,2,DATA,D,8,0,OK,L,1,0,OPIS,M,10,0,";

TEST_F(DbtoolTest, CreateThenInfoShowsHeaderAndFields) {
  EXPECT_EQ(ok({"create", "as,MAG       ,C,  1,  0,INDEKS    ,C,  8,  0,DATA      ,D,  8,  0"}), "");
  EXPECT_EQ(bytes("as.dbf").size(), 131u);
  EXPECT_EQ(ok({"info", "as"}),
            "version: 0x03\n"
            "last update: 11.12.2026\n"
            "header length: 130\n"
            "record length: 18\n"
            "records: 0\n"
            "fields:\n"
            "MAG C 1 0\n"
            "INDEKS C 8 0\n"
            "DATA D 8 0\n");
  ok({"create", kGoods});
  const std::string info = ok({"info", "TOWARY.DBF"});
  EXPECT_NE(info.find("version: 0x83\n"), std::string::npos) << info;
  EXPECT_NE(info.find("NAZWA C 20 0\nCENA N 10 2\n"), std::string::npos) << info;
  EXPECT_EQ(bytes("towary.dbt").size(), 512u);
}

TEST_F(DbtoolTest, InfoShowsADashForAnImpossibleHeaderDate) {
  ok({"create", "t,A,C,1,0"});
  std::string b = bytes("t.dbf");
  b[2] = 13;  // month 13
  write_file("t.dbf", b);
  EXPECT_NE(ok({"info", "t"}).find("last update: -\n"), std::string::npos);
}

TEST_F(DbtoolTest, ImportThenExportGivesTheSameCsvBack) {
  ok({"create", kGoods});
  const std::string csv =
      "indeks,Nazwa,cena,data,ok,opis\r\n"
      "A1,\"Sruba, M8\",3.5,20240131,T,\"first line\r\nsecond \"\"line\"\"\"\r\n"
      "B2, lead,-12,,f,\r\n"
      "C3,,,19991231,,\r\n";
  write_file("in.csv", csv);
  ok({"import", "towary", "in.csv"});
  const std::string expected =
      "INDEKS,NAZWA,CENA,DATA,OK,OPIS\n"
      "A1,\"Sruba, M8\",3.50,20240131,T,\"first line\r\nsecond \"\"line\"\"\"\n"
      "B2,\" lead\",-12.00,,F,\n"
      "C3,,,19991231,,\n";
  EXPECT_EQ(ok({"export", "towary"}), expected);

  // The export imports into a table of the same fields unchanged.
  ok({"create", "kopia,INDEKS,C,8,0,NAZWA,C,20,0,CENA,N,10,2,DATA,D,8,0,OK,L,1,0,OPIS,M,10,0"});
  write_file("back.csv", expected);
  ok({"import", "kopia", "back.csv"});
  EXPECT_EQ(ok({"export", "kopia"}), expected);
}

TEST_F(DbtoolTest, ImportStoresWhatTheEngineStores) {
  ok({"create", "t,NAZWA,C,5,0,KWOTA,N,6,2,ILE,N,3,0,DATA,D,8,0,OK,L,1,0"});
  write_file("in.csv", "KWOTA,ILE,nazwa,OK,DATA\n-3.5,7,abcdefgh,y,20241231\n");
  ok({"import", "t", "in.csv"});
  const std::string b = bytes("t.dbf");
  const std::size_t header_length = 32 + 5 * 32 + 2;
  ASSERT_EQ(b.size(), header_length + 24 + 1);
  EXPECT_EQ(b.substr(header_length), " abcde -3.50  720241231T\x1A");
  EXPECT_EQ(ok({"export", "t"}), "NAZWA,KWOTA,ILE,DATA,OK\nabcde,-3.50,7,20241231,T\n");
}

struct ImportErrorCase {
  const char* csv;
  const char* err;
  int records_kept;
  friend void PrintTo(const ImportErrorCase& c, std::ostream* os) { *os << ::testing::PrintToString(c.csv); }
};

class DbtoolImportError : public DbtoolTest, public ::testing::WithParamInterface<ImportErrorCase> {};

TEST_P(DbtoolImportError, StopsAtTheFirstBadLineKeepingTheRecordsBefore) {
  ok({"create", "t,NR,N,3,0,DATA,D,8,0,OK,L,1,0,OPIS,M,10,0,NAZWA,C,5,0"});
  write_file("in.csv", GetParam().csv);
  const Outcome o = run({"import", "t", "in.csv"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, std::string("dbtool: ") + GetParam().err + "\n");
  const std::string info = ok({"info", "t"});
  EXPECT_NE(info.find("records: " + std::to_string(GetParam().records_kept) + "\n"), std::string::npos) << info;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DbtoolImportError,
    ::testing::Values(
        ImportErrorCase{"NR\n1\n2\nx1\n3\n", "line 4: column NR: \"x1\" is not a number (2 records imported)", 2},
        ImportErrorCase{"NR\n1\n1.5.0\n", "line 3: column NR: \"1.5.0\" is not a number (1 record imported)", 1},
        ImportErrorCase{"NR\n1e3\n", "line 2: column NR: \"1e3\" is not a number (0 records imported)", 0},
        ImportErrorCase{"NR\n1\n1234\n", "line 3: Data width error: field NR in t.dbf (1 record imported)", 1},
        ImportErrorCase{"DATA\n20240230\n", "line 2: column DATA: \"20240230\" is not a date YYYYMMDD (0 records imported)", 0},
        ImportErrorCase{"DATA\n31.12.2024\n", "line 2: column DATA: \"31.12.2024\" is not a date YYYYMMDD (0 records imported)", 0},
        ImportErrorCase{"OK\nT\nX\n", "line 3: column OK: \"X\" is not a logical T or F (1 record imported)", 1},
        ImportErrorCase{"OPIS\n\"a\x1A\"\n", "line 2: column OPIS: a memo text cannot hold the byte 0x1A (0 records imported)", 0},
        ImportErrorCase{"NR,FOO\n1,2\n", "line 1: no field FOO in t.dbf (0 records imported)", 0},
        ImportErrorCase{"nr,NR\n", "line 1: column NR appears twice (0 records imported)", 0},
        ImportErrorCase{"NR,\n", "line 1: column 2 has no name (0 records imported)", 0},
        ImportErrorCase{"NR,OK\n1,T\n2\n", "line 3: 1 value, but the header names 2 columns (1 record imported)", 1},
        ImportErrorCase{"NR,NAZWA\n1,\"two\nlines\"\n2,\"open\n", "line 4: a quoted value is not closed before the end of the file (1 record imported)", 1},
        ImportErrorCase{"", "line 1: no header line naming the fields (0 records imported)", 0}));

TEST_F(DbtoolTest, ExportDeletedThenPackAndZap) {
  ok({"create", "t,NR,N,3,0,OPIS,M,10,0"});
  write_file("in.csv", "NR,OPIS\n1,one\n2,two\n3,three\n");
  ok({"import", "t", "in.csv"});
  delete_records("t", {1, 3});
  EXPECT_EQ(ok({"export", "t"}), "NR,OPIS\n2,two\n");
  EXPECT_EQ(ok({"--deleted", "export", "t"}), "DELETED,NR,OPIS\nT,1,one\nF,2,two\nT,3,three\n");

  EXPECT_EQ(ok({"pack", "t"}), "");
  EXPECT_EQ(ok({"export", "t", "--deleted"}), "DELETED,NR,OPIS\nF,2,two\n");
  EXPECT_NE(ok({"info", "t"}).find("records: 1\n"), std::string::npos);

  EXPECT_EQ(ok({"zap", "t"}), "");
  EXPECT_EQ(ok({"export", "t", "--deleted"}), "DELETED,NR,OPIS\n");
  EXPECT_EQ(bytes("t.dbt").size(), 512u);
  EXPECT_EQ(bytes("t.dbf").size(), 32u + 64 + 2 + 1);
}

TEST_F(DbtoolTest, Utf8ConvertsTextToAndFromCodePage852) {
  ok({"create", "t,NAZWA,C,10,0"});
  write_file("utf8.csv", "NAZWA\n\xC5\x81\xC3\xB3\x64\xC5\xBA\n");  // "Łódź"
  ok({"import", "t", "utf8.csv", "--utf8"});
  write_file("cp852.csv", "NAZWA\n\x9D\xA2\x64\xAB\n");  // the same word in code page 852
  ok({"import", "t", "cp852.csv"});
  const std::size_t first_record = 32 + 32 + 2;
  EXPECT_EQ(bytes("t.dbf").substr(first_record, 22), " \x9D\xA2\x64\xAB      " " \x9D\xA2\x64\xAB      ");
  EXPECT_EQ(ok({"export", "t"}), "NAZWA\n\x9D\xA2\x64\xAB\n\x9D\xA2\x64\xAB\n");
  EXPECT_EQ(ok({"--utf8", "export", "t"}), "NAZWA\n\xC5\x81\xC3\xB3\x64\xC5\xBA\n\xC5\x81\xC3\xB3\x64\xC5\xBA\n");

  for (const char* text : {"\xE2\x82\xAC", "\xC5"}) {  // the euro sign; a cut UTF-8 sequence
    write_file("bad.csv", std::string("NAZWA\n") + text + "\n");
    const Outcome o = run({"--utf8", "import", "t", "bad.csv"});
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.err, "dbtool: line 2: column NAZWA: a character not in code page 852 or not UTF-8 (0 records imported)\n");
  }
}

TEST_F(DbtoolTest, TablesAreFoundByDosAndPosixNames) {
  std::filesystem::create_directories(tmp.path() / "24" / "05");
  ok({"create", "24\\05\\DOWOD,NR,N,3,0"});
  EXPECT_TRUE(std::filesystem::exists(tmp.path() / "24" / "05" / "DOWOD.dbf"));
  EXPECT_NE(ok({"info", "24/05/dowod.dbf"}).find("NR N 3 0"), std::string::npos);
  EXPECT_NE(ok({"info", (tmp.path() / "24" / "05" / "Dowod").string()}).find("NR N 3 0"), std::string::npos);
}

TEST_F(DbtoolTest, EngineErrorsGoToStandardErrorWithExitCode1) {
  ok({"create", "t,A,C,1,0"});
  std::string b = bytes("t.dbf");
  b[0] = '\x04';
  write_file("t.dbf", b);
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"info", "t"}, "dbtool: Corruption detected: bad version byte 0x04 in t.dbf\n"},
      {{"export", "t"}, "dbtool: Corruption detected: bad version byte 0x04 in t.dbf\n"},
      {{"pack", "t"}, "dbtool: Corruption detected: bad version byte 0x04 in t.dbf\n"},
      {{"info", "missing"}, "dbtool: Open error: missing.dbf (DOS Error 2)\n"},
      {{"zap", "missing"}, "dbtool: Open error: missing.dbf (DOS Error 2)\n"},
      {{"import", "t", "nothing.csv"}, "dbtool: cannot read nothing.csv: No such file or directory\n"},
      {{"create", "t,A,C,8"}, "dbtool: bad field-specification string: 3 entries after the table name; each field needs 4 (name, type, width, decimals)\n"},
      {{"create", "t,A,C,0,0"}, "dbtool: Create error: field A width 0 in t.dbf\n"},
      {{"create", "nodir\\t,A,C,1,0"}, "dbtool: Create error: nodir\\t.dbf (DOS Error 2)\n"},
  };
  for (const Case& c : cases) {
    const Outcome o = run(c.args);
    EXPECT_EQ(o.code, 1) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, c.err);
  }
}

TEST_F(DbtoolTest, ATableInUseIsReadButNotChanged) {
  ok({"create", "t,NR,N,3,0"});
  write_file("in.csv", "NR\n1\n");
  ok({"import", "t", "in.csv"});
  TableError error;
  auto other = Table::open(files, "t", OpenOptions{true, false}, error);  // another station
  ASSERT_TRUE(other) << error.message();

  EXPECT_EQ(ok({"export", "t"}), "NR\n1\n");
  EXPECT_EQ(ok({"info", "t"}).find("records: 1\n") != std::string::npos, true);
  const std::string in_use = "dbtool: Open error: in use by another station in t.dbf (DOS Error 32)\n";
  for (const char* command : {"pack", "zap"}) {
    const Outcome o = run({command, "t"});
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.err, in_use);
  }
  const Outcome o = run({"import", "t", "in.csv"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.err, in_use);
  EXPECT_EQ(other->record_count(), 1u);
}

TEST_F(DbtoolTest, CommandLineMistakesPrintTheUsage) {
  const Outcome help = run({"info", "--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(help.out.rfind("usage: dbtool", 0), 0u);
  EXPECT_EQ(help.err, "");

  struct Case {
    std::vector<std::string> args;
    std::string first_line;
  };
  const std::vector<Case> cases = {
      {{}, "dbtool: no command"},
      {{"--utf8"}, "dbtool: no command"},
      {{"list", "t"}, "dbtool: unknown command list"},
      {{"info"}, "dbtool: usage: dbtool info TABLE"},
      {{"import", "t"}, "dbtool: usage: dbtool import TABLE FILE.csv"},
      {{"export", "t", "u"}, "dbtool: usage: dbtool export TABLE [--deleted]"},
      {{"info", "t", "--deleted"}, "dbtool: --deleted belongs to export only"},
      {{"info", "t", "--verbose"}, "dbtool: unknown option --verbose"},
  };
  for (const Case& c : cases) {
    const Outcome o = run(c.args);
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err.substr(0, o.err.find('\n')), c.first_line);
    EXPECT_NE(o.err.find("usage: dbtool [--utf8] COMMAND"), std::string::npos);
  }
  EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));  // nothing touched a file
}

}  // namespace
}  // namespace intra
