#pragma once
// The run's work areas 1 to 250, the one currently selected and the
// network-error flag of the last open or append. Areas are found by number
// or by alias (any case).
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "storage/file_system.h"

namespace intra {

class WorkArea;

class WorkAreas {
 public:
  static constexpr int kCount = 250;

  explicit WorkAreas(FileSystem& fs);
  ~WorkAreas();
  WorkAreas(const WorkAreas&) = delete;
  WorkAreas& operator=(const WorkAreas&) = delete;

  FileSystem& files() const { return fs_; }

  // Selects area n (1..250); 0 selects the first unused area. False, with
  // the selection unchanged, for a number out of range.
  bool select(int number);
  // Selects the area holding the alias; a missing alias is a run-time error
  // and leaves the selection as it was.
  bool select(std::string_view alias);
  int selected() const { return current_; }
  WorkArea& current() { return at(current_); }

  // Area n; out of range gives the unused area 0, on which every
  // operation gives an empty result.
  WorkArea& at(int number);
  // The area holding the alias, 0 when none holds it.
  int number_of(std::string_view alias) const;
  // The area of an alias, as alias->field finds it; a missing alias is a
  // run-time error and gives the unused area 0.
  WorkArea& by_alias(std::string_view alias);
  // The first unused area, 0 when all are used.
  int first_free() const;
  int first_free_among(int from, int to) const;

  bool close_all();
  // Relations from any area into `child` end (the child is being closed).
  void forget_child(int child);

  bool network_error() const { return network_error_; }
  void set_network_error(bool value) { network_error_ = value; }

  // Selects an area for the life of the scope, then the one selected before.
  class Selected {
   public:
    Selected(WorkAreas& areas, int number) : areas_(areas), previous_(areas.current_) { areas.current_ = number; }
    ~Selected() { areas_.current_ = previous_; }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

   private:
    WorkAreas& areas_;
    int previous_;
  };

 private:
  FileSystem& fs_;
  std::array<std::unique_ptr<WorkArea>, kCount + 1> areas_;  // [0] is never used
  int current_ = 1;
  bool network_error_ = false;
};

// The work areas of the run, over the run's file system; created on first use.
WorkAreas& work_areas();
// Tests and the entry routine may install their own (nullptr: back to the run's).
void set_work_areas(WorkAreas* areas);

}  // namespace intra
