#pragma once
// The table operations as the application's routines call them, by the
// system's names, on the run's work areas: most act on the selected area,
// alias->field is area("as").get("NAZWA"), and alias->(expression) is
// area("as").evaluate([&] { ... }).
//
//   DBSELECTAREA(3);
//   if (!NET_USE("24\\05\\zo", "zo", false, 20)) ...
//   DBSEEK(Value(odb));
//   if (FOUND()) name = FIELDGET("NAZWA").text();
//
// Run-time settings apply throughout: deleted records hidden (the rebuild
// shows them around two copies with ShowDeletedRecords), soft seek off,
// texts compared with the prefix rule of text_comparison.h.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "main/value.h"
#include "storage/bulk_operations.h"
#include "storage/work_area.h"
#include "storage/work_areas.h"

namespace intra {

// --- work areas
WorkArea& area(int number);
WorkArea& area(std::string_view alias);  // a missing alias is a run-time error
WorkArea& current_area();
bool DBSELECTAREA(int number);  // 0: the first unused area
bool DBSELECTAREA(std::string_view alias);
int SELECT();                        // the selected area's number
int SELECT(std::string_view alias);  // the area of an alias, 0 when none
bool USED();
std::string ALIAS(int number = 0);  // of the selected area when 0
bool DBCLOSEAREA();
bool DBCLOSEALL();

// --- open and create
// Opens a table (name without extension) in the selected area. A sharing
// conflict sets NETERR() and returns false; any other failure goes to the
// error handler (retry, or false).
bool DBUSEAREA(std::string_view file, std::string_view alias, bool shared);
bool NETERR();
void NETERR(bool value);
// Creates a table from its fields (name, type C N D L M, width, decimals),
// replacing one nobody has open; the table is left closed.
bool DBCREATE(std::string_view file, const std::vector<FieldSpec>& fields);

// --- fields of the selected area
int FIELDPOS(std::string_view name);  // 1-based; 0 for a missing field
std::string FIELDNAME(int pos);
int FCOUNT();
std::vector<FieldSpec> AFIELDS();
Value FIELDGET(std::string_view name);
Value FIELDGET(int pos);
bool FIELDPUT(std::string_view name, const Value& value);
bool FIELDPUT(int pos, const Value& value);

// --- position
bool DBGOTOP();
bool DBGOBOTTOM();
bool DBGOTO(std::uint32_t recno);
bool DBSKIP(long count = 1);
bool EOF_();  // EOF() of the system; EOF is taken by the C library
bool BOF();
std::uint32_t RECNO();
std::uint32_t LASTREC();
bool DBSEEK(const Value& key, bool soft = false);
bool FOUND();
bool DELETED();

// --- changes
bool DBAPPEND();  // shared: the new record is locked; NETERR() when the append lock is busy
bool DBDELETE();
bool DBRECALL();
bool DBPACK();  // __DBPACK
bool DBZAP();   // __DBZAP
bool DBCOMMIT();
bool DBEVAL(const std::function<void()>& block, const std::function<bool()>& condition = {});

// --- bulk
bool DBCOPY(std::string_view file, const RecordCondition& condition = {});        // __DBCOPY
bool DBAPP(std::string_view file, AppendMatch match = AppendMatch::ByName);      // __DBAPP
bool DBTOTAL(std::string_view file, std::string_view key_text, const std::vector<std::string>& summed,
             const RecordCondition& condition = {});                           // __DBTOTAL

// --- indexes
bool DBCREATEINDEX(std::string_view file, std::string_view key_text, bool unique = false);
bool ORDLISTADD(std::string_view file);
bool ORDLISTCLEAR();
int ORDSETFOCUS(int order);  // gives the order before
std::string INDEXKEY(int n = 0);
int INDEXORD();

// --- relations
bool DBSETRELATION(std::string_view child_alias, std::string_view key_text);
bool DBSETRELATION(int child_area, std::string_view key_text);
void DBCLEARRELATION();

// --- locks (single tries)
bool RLOCK();
bool FLOCK();
bool DBUNLOCK();
bool DBUNLOCKALL();

// Shows deleted records for the life of the scope, then the setting before.
class ShowDeletedRecords {
 public:
  ShowDeletedRecords();
  ~ShowDeletedRecords();
  ShowDeletedRecords(const ShowDeletedRecords&) = delete;
  ShowDeletedRecords& operator=(const ShowDeletedRecords&) = delete;

 private:
  bool hidden_before_;
};

}  // namespace intra
