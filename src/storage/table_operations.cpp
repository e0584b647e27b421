#include "storage/table_operations.h"

#include "main/run_settings.h"

namespace intra {

WorkArea& area(int number) { return work_areas().at(number); }
WorkArea& area(std::string_view alias) { return work_areas().by_alias(alias); }
WorkArea& current_area() { return work_areas().current(); }

bool DBSELECTAREA(int number) { return work_areas().select(number); }
bool DBSELECTAREA(std::string_view alias) { return work_areas().select(alias); }
int SELECT() { return work_areas().selected(); }
int SELECT(std::string_view alias) { return work_areas().number_of(alias); }
bool USED() { return current_area().used(); }
std::string ALIAS(int number) { return (number == 0 ? current_area() : area(number)).alias(); }
bool DBCLOSEAREA() { return current_area().close(); }
bool DBCLOSEALL() { return work_areas().close_all(); }

bool DBUSEAREA(std::string_view file, std::string_view alias, bool shared) {
  WorkAreas& areas = work_areas();
  WorkArea& a = areas.current();
  areas.set_network_error(false);
  bool opened = false;
  retry_until_done([&](RunError& error) {
    TableError e;
    opened = a.open(areas.files(), file, alias, shared, e);
    if (opened) return true;
    if (e.sharing_conflict()) {
      areas.set_network_error(true);
      return true;  // an answer, not a fault: the caller waits and tries again
    }
    error = e.to_run_error();
    return false;
  });
  return opened;
}

bool NETERR() { return work_areas().network_error(); }
void NETERR(bool value) { work_areas().set_network_error(value); }

bool DBCREATE(std::string_view file, const std::vector<FieldSpec>& fields) {
  return retry_until_done([&](RunError& error) {
    TableError e;
    if (Table::create(work_areas().files(), file, fields, e)) return true;
    error = e.to_run_error();
    return false;
  });
}

int FIELDPOS(std::string_view name) { return current_area().field_pos(name); }
std::string FIELDNAME(int pos) { return current_area().field_name(pos); }
int FCOUNT() { return current_area().field_count(); }
std::vector<FieldSpec> AFIELDS() { return current_area().field_list(); }
Value FIELDGET(std::string_view name) { return current_area().get(name); }
Value FIELDGET(int pos) { return current_area().get(pos); }
bool FIELDPUT(std::string_view name, const Value& value) { return current_area().put(name, value); }
bool FIELDPUT(int pos, const Value& value) { return current_area().put(pos, value); }

bool DBGOTOP() { return current_area().go_top(); }
bool DBGOBOTTOM() { return current_area().go_bottom(); }
bool DBGOTO(std::uint32_t recno) { return current_area().go_to(recno); }
bool DBSKIP(long count) { return current_area().skip(count); }
bool EOF_() { return current_area().eof(); }
bool BOF() { return current_area().bof(); }
std::uint32_t RECNO() { return current_area().recno(); }
std::uint32_t LASTREC() { return current_area().lastrec(); }
bool DBSEEK(const Value& key, bool soft) { return current_area().seek(key, soft); }
bool FOUND() { return current_area().found(); }
bool DELETED() { return current_area().deleted(); }

bool DBAPPEND() { return current_area().append(); }
bool DBDELETE() { return current_area().delete_record(); }
bool DBRECALL() { return current_area().recall(); }
bool DBPACK() { return current_area().pack(); }
bool DBZAP() { return current_area().zap(); }
bool DBCOMMIT() { return current_area().commit(); }
bool DBEVAL(const std::function<void()>& block, const std::function<bool()>& condition) {
  return current_area().eval(block, condition);
}

bool DBCOPY(std::string_view file, const RecordCondition& condition) {
  return copy_records(current_area(), file, condition);
}
bool DBAPP(std::string_view file, AppendMatch match) { return append_records(current_area(), file, match); }
bool DBTOTAL(std::string_view file, std::string_view key_text, const std::vector<std::string>& summed,
             const RecordCondition& condition) {
  return total_records(current_area(), file, key_text, summed, condition);
}

bool DBCREATEINDEX(std::string_view file, std::string_view key_text, bool unique) {
  return current_area().create_index(file, key_text, unique);
}
bool ORDLISTADD(std::string_view file) { return current_area().add_index(file); }
bool ORDLISTCLEAR() { return current_area().clear_indexes(); }
int ORDSETFOCUS(int order) { return current_area().set_order(order); }
std::string INDEXKEY(int n) { return current_area().index_key(n); }
int INDEXORD() { return current_area().order(); }

bool DBSETRELATION(std::string_view child_alias, std::string_view key_text) {
  WorkArea& child = area(child_alias);
  return child.used() && current_area().set_relation(child, key_text);
}
bool DBSETRELATION(int child_area, std::string_view key_text) {
  return current_area().set_relation(area(child_area), key_text);
}
void DBCLEARRELATION() { current_area().clear_relations(); }

bool RLOCK() { return current_area().lock_record(); }
bool FLOCK() { return current_area().lock_file(); }
bool DBUNLOCK() { return current_area().unlock(); }
bool DBUNLOCKALL() {
  bool ok = true;
  for (int n = 1; n <= WorkAreas::kCount; ++n)
    if (area(n).used()) ok = area(n).unlock() && ok;
  return ok;
}

ShowDeletedRecords::ShowDeletedRecords() : hidden_before_(run_settings().deleted_hidden) {
  run_settings().deleted_hidden = false;
}
ShowDeletedRecords::~ShowDeletedRecords() { run_settings().deleted_hidden = hidden_before_; }

}  // namespace intra
