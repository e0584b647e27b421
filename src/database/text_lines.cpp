#include "database/text_lines.h"

#include <memory>

namespace intra {

std::string FREADLINE(File& handle, std::uint64_t& position) {
  char buffer[kLineReadSize];
  const long long got = handle.read_at(position, buffer, sizeof buffer);
  const std::string_view bytes(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
  const std::size_t end = bytes.find("\r\n");
  if (end == std::string_view::npos) {
    ++position;
    return {};
  }
  position += end + 2;
  return std::string(bytes.substr(0, end));
}

void FDOKLEJ(std::string_view target, std::string_view source, std::size_t max, FileSystem& fs) {
  const std::unique_ptr<File> out = fs.open(target, OpenMode::ReadWrite);
  if (!out) return;
  const std::unique_ptr<File> in = fs.open(source, OpenMode::Read);
  if (!in) return;
  const auto out_size = out->size();
  const auto in_size = in->size();
  if (!out_size || !in_size) return;

  std::uint64_t write_at = *out_size;
  std::uint64_t read_at = 0;
  std::size_t appended = 0;
  while (read_at < *in_size && appended < max) {
    const std::string line = FREADLINE(*in, read_at);
    if (line.empty()) continue;
    const std::string text = line + "\r\n";
    if (out->write_at(write_at, text.data(), text.size()) != static_cast<long long>(text.size())) return;
    write_at += text.size();
    ++appended;
  }
}

}  // namespace intra
