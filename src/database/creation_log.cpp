#include "database/creation_log.h"

#include <memory>

#include "database/text_lines.h"
#include "main/ascii_case.h"

namespace intra {
namespace {

constexpr std::string_view kLog = "DOWOD.LOG";
constexpr std::string_view kPreviousLog = "dowod_.txt";
constexpr std::size_t kCarriedLines = 10;

std::string whole_file(FileSystem& fs, std::string_view name) {
  const std::unique_ptr<File> file = fs.open(name, OpenMode::Read);
  const auto size = file ? file->size() : std::nullopt;
  if (!size) return {};
  std::string bytes(static_cast<std::size_t>(*size), '\0');
  const long long got = file->read_at(0, bytes.data(), bytes.size());
  bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return bytes;
}

bool write_new_file(FileSystem& fs, std::string_view name, const std::string& bytes) {
  const std::unique_ptr<File> file = fs.open(name, OpenMode::CreateTruncate);
  return file && file->write_at(0, bytes.data(), bytes.size()) == static_cast<long long>(bytes.size());
}

}  // namespace

bool is_logged_creation(std::string_view file) {
  const std::string name = upper_ascii(file);
  return name.find("\\DOWOD") != std::string::npos && name.find("ROB\\DOWOD") == std::string::npos;
}

std::string creation_log_entry(const LocalTime& when, std::string_view file, const CallSite& caller,
                               const CallSite& callers_caller) {
  return when.date.dtoc() + "," + when.hh_mm_ss() + ", plik: " + std::string(file) + ", " + caller.text() + ", " +
         callers_caller.text();
}

void write_creation_log(FileSystem& fs, const std::string& entry) {
  const std::string head = entry + "\r\n\r\n";
  if (fs.exists(kLog)) {
    fs.remove(kPreviousLog);
    if (!fs.rename(kLog, kPreviousLog)) {
      const std::string old_log = whole_file(fs, kLog);
      write_new_file(fs, kLog, head + old_log);
      return;
    }
  }
  if (!write_new_file(fs, kLog, head)) return;
  if (fs.exists(kPreviousLog)) FDOKLEJ(kLog, kPreviousLog, kCarriedLines, fs);
}

}  // namespace intra
