#include "storage/memory_variable_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "main/run_error.h"
#include "storage/key_expression_nodes.h"
#include "storage/share_mode.h"
#include "storage/table_error.h"
#include "storage/variable_mask.h"

namespace intra {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kNameField = 11;  // 10 name bytes and a NUL that is always there
constexpr std::size_t kTypeByte = 11;
constexpr std::size_t kLengthLow = 16;
constexpr std::size_t kLengthHigh = 17;
constexpr unsigned char kCharacter = 'C' + 128;
constexpr unsigned char kNumeric = 'N' + 128;
constexpr unsigned char kDateType = 'D' + 128;
constexpr unsigned char kLogical = 'L' + 128;
constexpr char kEndByte = 0x1A;
// A text is saved only when its length + 1 (the stored length) fits here.
constexpr std::size_t kLongestStoredText = 32767;

// The run-time's own file errors; table files report theirs as "DBFNTX".
constexpr const char* kSubsystem = "BASE";

using Header = std::array<unsigned char, kHeaderSize>;

struct StoredVariable {
  std::string name;
  Value value;
};

void append_double(std::string& out, double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i) out += static_cast<char>((bits >> (8 * i)) & 0xFF);
}

double read_double(const unsigned char* bytes) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | bytes[i];
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void append_header(std::string& out, const std::string& name, unsigned char type, std::size_t length_bytes,
                   unsigned char second_length_byte) {
  Header h{};
  std::memcpy(h.data(), name.data(), std::min(name.size(), kNameField - 1));
  h[kTypeByte] = type;
  h[kLengthLow] = static_cast<unsigned char>(length_bytes & 0xFF);
  h[kLengthHigh] = second_length_byte;
  out.append(reinterpret_cast<const char*>(h.data()), h.size());
}

// Appends the record of one variable; values of other types, and texts too
// long for the length bytes, are left out.
void append_record(std::string& out, const std::string& name, const Value& value) {
  switch (value.type()) {
    case ValueType::Text: {
      const std::string& text = value.text();
      const std::size_t stored = text.size() + 1;
      if (stored > kLongestStoredText) return;
      append_header(out, name, kCharacter, stored, static_cast<unsigned char>(stored >> 8));
      out += text;
      out += '\0';
      return;
    }
    case ValueType::Number: {
      const NumericLayout layout = saved_number_layout(value.number());
      append_header(out, name, kNumeric, static_cast<std::size_t>(layout.width),
                    static_cast<unsigned char>(layout.decimals));
      append_double(out, value.number());
      return;
    }
    case ValueType::Date:
      append_header(out, name, kDateType, 1, 0);
      append_double(out, static_cast<double>(value.date().day_number()));
      return;
    case ValueType::Logical:
      append_header(out, name, kLogical, 1, 0);
      out += value.logical() ? '\x01' : '\x00';
      return;
    case ValueType::List: return;
  }
}

// The date of a stored day number; anything a date cannot be (outside
// 1 January 1 to 31 December 9999, not a number) is the empty date.
Date date_of_day_number(double day_number) {
  static const double first = Date::from_ymd(1, 1, 1).day_number();
  static const double last = Date::from_ymd(9999, 12, 31).day_number();
  if (!(day_number >= first && day_number <= last)) return Date();
  return Date::from_day_number(static_cast<std::int32_t>(day_number));
}

RunError file_error(const char* description, int general, int error_code, int os_code, const std::string& file) {
  RunError e;
  e.description = description;
  e.subsystem = kSubsystem;
  e.general_code = general;
  e.specific_code = error_code;
  e.os_code = os_code;
  e.operation = file;
  e.can_retry = true;
  e.can_default = true;
  return e;
}

// Why a share mode was not granted, as the error message shows it.
int share_failure_code(ShareResult result, const File& file) {
  return result == ShareResult::Conflict ? kSharingViolation : dos_error_code(file.os_error());
}

// Opens `name` and takes its share mode; on failure fills `error` with the
// create or open error and returns nullptr.
std::unique_ptr<File> open_held(FileSystem& fs, const std::string& name, bool for_saving, RunError& error) {
  const char* text = for_saving ? "Create error" : "Open error";
  const int general = for_saving ? 20 : 21;
  const int code = for_saving ? 2006 : 2005;
  // Saving opens without emptying: the file is emptied only once the
  // exclusive share mode is ours, so a save that collides with another
  // holder leaves that holder's file whole.
  auto file = fs.open(name, for_saving ? OpenMode::Create : OpenMode::Read);
  if (!file) {
    error = file_error(text, general, code, dos_error_code(fs.last_error()), name);
    return nullptr;
  }
  // Saving holds the file alone; restoring shares it with other readers,
  // which keeps out every saver (a saver needs it exclusively).
  const ShareResult share = take_share_mode(*file, for_saving);
  if (share != ShareResult::Granted) {
    error = file_error(text, general, code, share_failure_code(share, *file), name);
    return nullptr;
  }
  if (for_saving && !file->truncate(0)) {
    error = file_error(text, general, code, dos_error_code(file->os_error()), name);
    return nullptr;
  }
  return file;
}

// How many value bytes follow a header: none for a type we do not know.
std::size_t value_size(const Header& h) {
  switch (h[kTypeByte]) {
    case kCharacter: return h[kLengthLow] + 256u * h[kLengthHigh];
    case kNumeric:
    case kDateType: return 8;
    case kLogical: return 1;
    default: return 0;
  }
}

// The value of a record from its type and value bytes (as many as
// value_size gives); false for a type we do not know.
bool decode_value(unsigned char type, std::string bytes, Value& out) {
  const auto* raw = reinterpret_cast<const unsigned char*>(bytes.data());
  switch (type) {
    case kCharacter:
      if (!bytes.empty()) bytes.pop_back();  // the NUL after the text
      out = Value(std::move(bytes));
      return true;
    case kNumeric: out = Value(read_double(raw)); return true;
    case kDateType: out = Value(date_of_day_number(read_double(raw))); return true;
    case kLogical: out = Value(raw[0] != 0); return true;
    default: return false;
  }
}

// Reads the records of an open memory-variable file in order. Reading ends
// at the first record that is not whole: a header of fewer than 32 bytes or
// a value whose bytes are cut short.
class RecordReader {
 public:
  RecordReader(File& file, const std::string& name) : file_(file), name_(name) {}

  // False with `error` set when the file could not be read.
  bool read_all(std::vector<StoredVariable>& out, RunError& error) {
    for (;;) {
      Header h{};
      if (!read(h.data(), h.size(), error)) return !failed_;
      std::string bytes(value_size(h), '\0');
      if (!read(bytes.data(), bytes.size(), error)) return !failed_;
      const char* text = reinterpret_cast<const char*>(h.data());
      StoredVariable v{std::string(text, strnlen(text, kNameField)), Value()};
      if (decode_value(h[kTypeByte], std::move(bytes), v.value) && !v.name.empty()) out.push_back(std::move(v));
    }
  }

 private:
  // Reads `size` bytes at the current offset and moves past them. False when
  // the file ends first or the read fails (then failed_ is set).
  bool read(void* buffer, std::size_t size, RunError& error) {
    std::size_t done = 0;
    while (done < size) {
      const long long got = file_.read_at(offset_ + done, static_cast<char*>(buffer) + done, size - done);
      if (got < 0) {
        error = file_error("Read error", 23, 0, dos_error_code(file_.os_error()), name_);
        failed_ = true;
        return false;
      }
      if (got == 0) return false;
      done += static_cast<std::size_t>(got);
    }
    offset_ += done;
    return true;
  }

  File& file_;
  const std::string& name_;
  std::uint64_t offset_ = 0;
  bool failed_ = false;
};

}  // namespace

std::string memory_file_name(std::string_view name) {
  const std::size_t slash = name.find_last_of("\\/");
  const std::size_t dot = name.find('.', slash == std::string_view::npos ? 0 : slash + 1);
  return dot == std::string_view::npos ? std::string(name) + ".mem" : std::string(name);
}

NumericLayout saved_number_layout(double value) {
  if (!std::isfinite(value)) return NumericLayout{10, 0};
  // Wide enough for the largest double written out in full with decimals.
  // to_chars and from_chars write and read '.' whatever the locale says.
  char text[400];
  char* end = text;
  for (int decimals = 0;; ++decimals) {
    end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    double back = 0;
    std::from_chars(text, end, back);
    if (decimals == kMaxSavedDecimals || back == value) break;
  }
  NumericLayout layout = key_expr::literal_layout(std::string_view(text, static_cast<std::size_t>(end - text)));
  layout.width = std::min(layout.width, 255);
  return layout;
}

std::string memory_variable_image(const PublicVariables& vars, std::string_view mask, bool include) {
  std::string out;
  for (const std::string& name : vars.visible_names()) {
    if (variable_selected(mask, include, name)) append_record(out, name, vars.get(name));
  }
  out += kEndByte;
  return out;
}

bool MVSAVE(std::string_view file, std::string_view mask, bool include, bool extended, const PublicVariables& vars,
            FileSystem& fs) {
  if (extended) return false;
  const std::string name = memory_file_name(file);
  const std::string image = memory_variable_image(vars, mask, include);
  return retry_until_done([&](RunError& error) {
    const std::unique_ptr<File> out = open_held(fs, name, true, error);
    if (!out) return false;
    if (out->write_at(0, image.data(), image.size()) != static_cast<long long>(image.size()) || !out->sync()) {
      error = file_error("Write error", 24, 0, dos_error_code(out->os_error()), name);
      return false;
    }
    return true;  // closing the file gives up the share mode
  });
}

bool MVRESTORE(std::string_view file, bool additive, bool extended, std::string_view mask, bool include,
               PublicVariables::PrivateScope* caller, PublicVariables& vars, FileSystem& fs) {
  if (extended) return false;
  const std::string name = memory_file_name(file);
  std::vector<StoredVariable> records;
  const bool read = retry_until_done([&](RunError& error) {
    records.clear();
    const std::unique_ptr<File> in = open_held(fs, name, false, error);
    if (!in) return false;
    return RecordReader(*in, name).read_all(records, error);
  });
  if (!read) return false;

  if (!additive) vars.clear();
  for (StoredVariable& r : records) {
    if (!variable_selected(mask, include, r.name)) continue;
    if (vars.exists(r.name) || caller == nullptr) {
      vars.set(r.name, std::move(r.value));
    } else {
      caller->declare(r.name, std::move(r.value));
    }
  }
  return true;
}

}  // namespace intra
