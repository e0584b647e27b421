#pragma once
// Where a routine was called from, as the creation log of the
// documents-header table names it: the bare routine name and the source
// line of the call, "INIT_DBF(212)".
//
// A routine that wants to know its caller takes a parameter
//
//   bool TWORZ(..., CallSite caller = CallSite::here(), CallSite callers_caller = {});
//
// and the compiler fills it in at every call. A routine that knows its own
// caller passes it on one level further out:
//
//   bool INIT_DBF(CallSite caller = CallSite::here()) {
//     return TWORZ(structure, {}, 0, CallSite::here(), caller);
//   }
#include <source_location>
#include <string>
#include <string_view>

namespace intra {

class CallSite {
 public:
  CallSite() = default;  // not known: no name, line 0
  CallSite(std::string routine, unsigned line) : routine_(std::move(routine)), line_(line) {}
  explicit CallSite(const std::source_location& where);

  // The place this is called from; as a default argument, the call of the
  // routine that declares the parameter.
  static CallSite here(const std::source_location& where = std::source_location::current()) {
    return CallSite(where);
  }

  const std::string& routine() const { return routine_; }
  unsigned line() const { return line_; }
  // "INIT_DBF(212)"; "(0)" when not known. Line numbers are not padded.
  std::string text() const;

 private:
  std::string routine_;
  unsigned line_ = 0;
};

// The routine's own name out of the compiler's full signature:
// "bool intra::INIT_DBF(int)" gives "INIT_DBF", "void intra::A::B<int>::go()
// const" gives "go". A lambda is reported as the routine it is written in
// ("intra::INIT_DBF()::<lambda()>" gives "INIT_DBF"), since that is where
// a reader of the log looks. A signature it cannot take apart is kept whole.
std::string bare_routine_name(std::string_view signature);

}  // namespace intra
