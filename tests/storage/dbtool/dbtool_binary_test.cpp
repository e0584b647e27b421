// The real build/dbtool, run as an administrator runs it: through the
// shell, in the database directory, reading nothing from its input.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdlib>

#include "dbtool_fixture.h"

namespace intra {
namespace {

std::string shell_quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

struct Outcome {
  int code;
  std::string out, err;
};

struct DbtoolBinaryTest : ::testing::Test, testing::DbtoolFixture {
  testing::TempDirectory capture;  // standard output and error, kept out of the database

  Outcome dbtool(const std::vector<std::string>& args) {
    std::string command = "cd " + shell_quoted(tmp.path().string()) + " && " + shell_quoted(DBTOOL_PATH);
    for (const std::string& a : args) command += " " + shell_quoted(a);
    const auto out = capture.path() / "out", err = capture.path() / "err";
    command += " </dev/null >" + shell_quoted(out.string()) + " 2>" + shell_quoted(err.string());
    const int status = std::system(command.c_str());
    auto read = [](const std::filesystem::path& p) {
      std::ifstream in(p, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), {});
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(out), read(err)};
  }
  std::string ok(const std::vector<std::string>& args) {
    const Outcome o = dbtool(args);
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.err, "");
    return o.out;
  }
};

TEST_F(DbtoolBinaryTest, CreateImportExportPackZapRoundTrip) {
  EXPECT_EQ(ok({"create", "waren,INDEKS    ,C,  8,  0,NAZWA     ,C, 30,  0,CENA,N,10,2,DATA,D,8,0,OK,L,1,0,OPIS,M,10,0"}), "");
  // The header date is today's; its digits are all that can be known here.
  std::string info = ok({"info", "WAREN"});
  const std::size_t date = info.find("last update: ") + 13;
  ASSERT_LT(date + 10, info.size()) << info;
  for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9}) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(info[date + i]))) << info;
  EXPECT_EQ(info[date + 2], '.');
  EXPECT_EQ(info[date + 5], '.');
  info.replace(date, 10, "dd.mm.yyyy");
  EXPECT_EQ(info,
            "version: 0x83\n"
            "last update: dd.mm.yyyy\n"
            "header length: 226\n"
            "record length: 68\n"
            "records: 0\n"
            "fields:\n"
            "INDEKS C 8 0\nNAZWA C 30 0\nCENA N 10 2\nDATA D 8 0\nOK L 1 0\nOPIS M 10 0\n");

  // "Żółw morski" in UTF-8, a value with a comma and a line break, a memo.
  write_file("in.csv",
             "INDEKS,NAZWA,CENA,DATA,OK,OPIS\n"
             "Z1,\xC5\xBB\xC3\xB3\xC5\x82w morski,12.5,20240131,T,memo \xC5\x82" "adny\n"
             "Q2,\"a, b\nc\",-3.5,,F,\n"
             "X3,usuni\xC4\x99ty,0,20231231,,\"\"\"quoted\"\" memo\"\n");
  EXPECT_EQ(ok({"import", "waren", "in.csv", "--utf8"}), "");
  const std::string utf8_export =
      "INDEKS,NAZWA,CENA,DATA,OK,OPIS\n"
      "Z1,\xC5\xBB\xC3\xB3\xC5\x82w morski,12.50,20240131,T,memo \xC5\x82" "adny\n"
      "Q2,\"a, b\nc\",-3.50,,F,\n"
      "X3,usuni\xC4\x99ty,0.00,20231231,,\"\"\"quoted\"\" memo\"\n";
  EXPECT_EQ(ok({"--utf8", "export", "waren"}), utf8_export);
  // Without --utf8 the table's code page 852 bytes come out as they are.
  EXPECT_NE(ok({"export", "waren"}).find("Z1,\xBD\xA2\x88w morski,"), std::string::npos);

  delete_records("waren", {3});
  EXPECT_EQ(ok({"export", "waren", "--deleted"}),
            "DELETED,INDEKS,NAZWA,CENA,DATA,OK,OPIS\n"
            "F,Z1,\xBD\xA2\x88w morski,12.50,20240131,T,memo \x88" "adny\n"
            "F,Q2,\"a, b\nc\",-3.50,,F,\n"
            "T,X3,usuni\xA9ty,0.00,20231231,,\"\"\"quoted\"\" memo\"\n");
  EXPECT_EQ(ok({"pack", "waren"}), "");
  EXPECT_NE(ok({"info", "waren"}).find("records: 2\n"), std::string::npos);
  EXPECT_EQ(ok({"export", "waren", "--utf8"}), utf8_export.substr(0, utf8_export.find("X3,")));
  EXPECT_EQ(ok({"zap", "waren.dbf"}), "");
  EXPECT_NE(ok({"info", "waren"}).find("records: 0\n"), std::string::npos);
  EXPECT_EQ(ok({"export", "waren"}), "INDEKS,NAZWA,CENA,DATA,OK,OPIS\n");
}

TEST_F(DbtoolBinaryTest, ErrorsGoToStandardErrorWithExitCode1) {
  ok({"create", "t,NR,N,5,1"});
  write_file("bad.csv", "NR\n1\n2.5\n\"3\"\n4,5\n");
  Outcome o = dbtool({"import", "t", "bad.csv"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.err, "dbtool: line 5: 2 values, but the header names 1 column (3 records imported)\n");
  write_file("bad.csv", "NR\n7\nl2.5\n");
  o = dbtool({"import", "t", "bad.csv"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.err, "dbtool: line 3: column NR: \"l2.5\" is not a number (1 record imported)\n");
  EXPECT_EQ(ok({"export", "t"}), "NR\n1.0\n2.5\n3.0\n7.0\n");

  std::string corrupt = "\x04" + std::string(40, '\0');
  write_file("broken.dbf", corrupt);
  o = dbtool({"info", "broken"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "dbtool: Corruption detected: bad version byte 0x04 in broken.dbf\n");

  o = dbtool({"export", "missing"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.err, "dbtool: Open error: missing.dbf (DOS Error 2)\n");

  o = dbtool({"create", "t,NR,Q,5,1"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.err, "dbtool: bad field-specification string: field 1 (NR): type \"Q\" is not one of C N F D L M\n");

  o = dbtool({});
  EXPECT_EQ(o.code, 1);
  EXPECT_NE(o.err.find("usage: dbtool"), std::string::npos);
  o = dbtool({"--help"});
  EXPECT_EQ(o.code, 0);
  EXPECT_NE(o.out.find("usage: dbtool"), std::string::npos);
}

TEST_F(DbtoolBinaryTest, IndexKeysSeekCheckRoundTrip) {
  ok({"create", "ruch,INDEKS,C,6,0,ILOSC,N,5,0,DATA,D,8,0"});
  write_file("in.csv", "INDEKS,ILOSC,DATA\nW2,-5,20240131\nW1,12,20240131\nV9,-10,20231130\n");
  ok({"import", "ruch", "in.csv"});
  EXPECT_EQ(ok({"index", "ruch", "indeks", "INDEKS"}), "");
  EXPECT_EQ(ok({"index", "RUCH.DBF", "ilosc", "ILOSC"}), "");
  EXPECT_EQ(ok({"index", "ruch", "dat.ntx", "DTOS(DATA)+INDEKS"}), "");

  EXPECT_EQ(ok({"keys", "indeks"}), "V9    \t3\nW1    \t2\nW2    \t1\n");
  EXPECT_EQ(ok({"keys", "ilosc.ntx", "ruch"}), ",,,+,\t3\n,,,,'\t1\n00012\t2\n");
  EXPECT_EQ(ok({"keys", "dat"}), "20231130V9    \t3\n20240131W1    \t2\n20240131W2    \t1\n");

  EXPECT_EQ(ok({"seek", "ruch", "indeks", "W"}), "2\n");
  EXPECT_EQ(ok({"seek", "ruch", "ilosc", "-5"}), "1\n");
  EXPECT_EQ(ok({"seek", "ruch", "dat", "20240131W2"}), "1\n");
  Outcome o = dbtool({"seek", "ruch", "indeks", "X"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.out, "not found\n");
  EXPECT_EQ(o.err, "");

  EXPECT_EQ(ok({"check", "ruch", "indeks", "ilosc", "dat"}),
            "indeks.ntx: consistent\nilosc.ntx: consistent\ndat.ntx: consistent\n");
  write_file("ilosc.ntx", bytes("ilosc.ntx").substr(0, 1100));
  o = dbtool({"check", "ruch", "indeks", "ilosc", "dat"});
  EXPECT_EQ(o.code, 1);  // a report, not a crash
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(o.out,
            "indeks.ntx: consistent\n"
            "ilosc.ntx: file size 1100 is not a multiple of 1024\n"
            "ilosc.ntx: root 1024 is not a page of the file\n"
            "ilosc.ntx: Corruption detected: page at 1024 cut short in ilosc.ntx\n"
            "dat.ntx: consistent\n");
  o = dbtool({"seek", "ruch", "ilosc", "-5"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.err, "dbtool: Corruption detected: page at 1024 cut short in ilosc.ntx\n");
}

}  // namespace
}  // namespace intra
