#include "config/ini_writer.h"

namespace intra {

namespace {

constexpr const char* kLineEnd = "\r\n";

struct ElementWriter {
  std::string& out;

  void operator()(const IniGlobalComment& comment) const { out += comment.line + kLineEnd; }
  void operator()(const IniGlobalKey& key) const { out += key.key + "=" + key.value + kLineEnd; }
  void operator()(const IniSection& section) const {
    out += "[" + section.name + "]" + kLineEnd;
    for (const IniEntry& entry : section.entries) {
      out += entry.key ? *entry.key + "=" + entry.text : entry.text;
      out += kLineEnd;
    }
    out += kLineEnd;
  }
};

}  // namespace

std::string ini_file_bytes(const IniContents& contents) {
  std::string out;
  for (const IniElement& element : contents) std::visit(ElementWriter{out}, element);
  return out;
}

}  // namespace intra
