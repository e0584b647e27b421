#include "storage/work_areas.h"

#include <algorithm>

#include "main/ascii_case.h"
#include "storage/area_errors.h"
#include "storage/work_area.h"

namespace intra {

WorkAreas::WorkAreas(FileSystem& fs) : fs_(fs) {
  for (int n = 0; n <= kCount; ++n) areas_[static_cast<std::size_t>(n)] = std::make_unique<WorkArea>(*this, n);
}

WorkAreas::~WorkAreas() { close_all(); }

bool WorkAreas::select(int number) {
  if (number == 0) number = first_free();
  if (number < 1 || number > kCount) return false;
  current_ = number;
  return true;
}

bool WorkAreas::select(std::string_view alias) {
  for (;;) {
    const int n = number_of(alias);
    if (n != 0) {
      current_ = n;
      return true;
    }
    if (!report_area_error(alias_missing(alias))) return false;
  }
}

WorkArea& WorkAreas::at(int number) {
  if (number < 1 || number > kCount) number = 0;
  return *areas_[static_cast<std::size_t>(number)];
}

int WorkAreas::number_of(std::string_view alias) const {
  const std::string wanted = upper_ascii(alias);
  if (wanted.empty()) return 0;
  for (int n = 1; n <= kCount; ++n) {
    const WorkArea& a = *areas_[static_cast<std::size_t>(n)];
    if (a.used() && a.alias() == wanted) return n;
  }
  return 0;
}

WorkArea& WorkAreas::by_alias(std::string_view alias) {
  for (;;) {
    const int n = number_of(alias);
    if (n != 0) return at(n);
    if (!report_area_error(alias_missing(alias))) return at(0);
  }
}

int WorkAreas::first_free() const { return first_free_among(1, kCount); }

int WorkAreas::first_free_among(int from, int to) const {
  for (int n = std::max(from, 1); n <= std::min(to, kCount); ++n)
    if (!areas_[static_cast<std::size_t>(n)]->used()) return n;
  return 0;
}

bool WorkAreas::close_all() {
  bool ok = true;
  for (int n = 1; n <= kCount; ++n)
    if (areas_[static_cast<std::size_t>(n)]->used()) ok = areas_[static_cast<std::size_t>(n)]->close() && ok;
  current_ = 1;
  return ok;
}

void WorkAreas::forget_child(int child) {
  for (int n = 1; n <= kCount; ++n) areas_[static_cast<std::size_t>(n)]->forget_child(child);
}

namespace {
WorkAreas* g_installed = nullptr;
}

WorkAreas& work_areas() {
  if (g_installed) return *g_installed;
  static WorkAreas run_areas(file_system());
  return run_areas;
}

void set_work_areas(WorkAreas* areas) { g_installed = areas; }

}  // namespace intra
