#include "storage/dos_path.h"

#include <cstdlib>
#include <system_error>
#include <vector>

namespace intra {
namespace fs = std::filesystem;

namespace {

char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::vector<std::string> split_components(std::string_view path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

}  // namespace

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return true;
}

bool wildcard_match(std::string_view pattern, std::string_view name) {
  // Iterative match with one backtrack point for the last '*'.
  std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  // "name.*" also matches a name without an extension, as DOS does.
  if (p + 1 == pattern.size() && pattern[p] == '.' ) return true;
  if (p + 2 == pattern.size() && pattern[p] == '.' && pattern[p + 1] == '*') return true;
  return p == pattern.size();
}

DriveMap DriveMap::from_environment() {
  DriveMap map;
  if (const char* root = std::getenv("INTRASTAT_DRIVES"); root && *root) {
    map.root = root;
  } else if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    map.root = fs::path(xdg) / "intrastat" / "drives";
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    map.root = fs::path(home) / ".local" / "share" / "intrastat" / "drives";
  } else {
    map.root = fs::path("/tmp") / "intrastat-drives";
  }
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string name = std::string("INTRASTAT_DRIVE_") + letter;
    if (const char* dir = std::getenv(name.c_str()); dir && *dir) map.letters[letter] = dir;
  }
  return map;
}

fs::path DriveMap::directory_of(char letter) const {
  const char upper = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
  if (const auto it = letters.find(upper); it != letters.end()) return it->second;
  return root / std::string(1, fold(upper));
}

DosPathMapper::DosPathMapper(fs::path working_directory, DriveMap drives)
    : working_(std::move(working_directory)), drives_(std::move(drives)) {}

std::string DosPathMapper::find_entry(const fs::path& directory, const std::string& name) {
  std::error_code ec;
  if (fs::exists(directory / name, ec)) return name;
  std::string best;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (same_name(entry, name) && (best.empty() || entry < best)) best = entry;
  }
  return best.empty() ? name : best;
}

fs::path DosPathMapper::map(std::string_view dos_path) const {
  fs::path base;
  std::string_view rest = dos_path;
  if (rest.size() >= 2 && rest[1] == ':' &&
      ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'))) {
    base = drives_.directory_of(rest[0]);
    rest.remove_prefix(2);
  } else if (!rest.empty() && rest[0] == '/') {
    base = "/";  // already a POSIX absolute path
  } else if (!rest.empty() && rest[0] == '\\') {
    base = drives_.directory_of('C');  // root of the current drive
  } else {
    base = working_;
  }
  fs::path result = base;
  bool exists_so_far = true;
  for (const std::string& part : split_components(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      result = result.parent_path();
      continue;
    }
    if (exists_so_far) {
      const std::string found = find_entry(result, part);
      std::error_code ec;
      result /= found;
      exists_so_far = fs::exists(result, ec);
    } else {
      result /= part;
    }
  }
  return result;
}

}  // namespace intra
