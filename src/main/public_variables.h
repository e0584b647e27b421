#pragma once
// The run's table of named values. Names are case-insensitive (kept upper
// case). Every name has a stack of bindings: the bottom one is the public
// variable, any above it are private variables of routines still running.
// Reads and writes go to the top binding, so a routine that declares a
// private variable hides the public one from itself and every routine it
// calls, and the public value is back untouched when that routine returns.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "main/value.h"

namespace intra {

class PublicVariables {
 public:
  // Declares a public variable holding logical false unless it exists already.
  void declare(std::string_view name);
  // Assigns to the visible binding; a name that does not exist is created public.
  void set(std::string_view name, Value value);
  bool exists(std::string_view name) const;
  // The visible value; a name that does not exist reads as logical false.
  const Value& get(std::string_view name) const;
  // The public binding, whatever private variables hide it.
  const Value& public_value(std::string_view name) const;

  // Convenience readers for the common types.
  const std::string& text(std::string_view name) const { return get(name).text(); }
  double number(std::string_view name) const { return get(name).number(); }
  bool logical(std::string_view name) const { return get(name).logical(); }

  // Names of the public variables beginning with a prefix, upper case, in
  // the order they were first created (the parameter file keeps that order).
  std::vector<std::string> public_names_with_prefix(std::string_view prefix) const;
  // Every name that has a binding (public or private), upper case, in
  // ascending byte order; get(name) reads the visible value of each.
  std::vector<std::string> visible_names() const;

  void clear();

  // A routine's private variables: each declared name is shadowed until the
  // scope ends. Scopes end in the reverse order of their creation.
  class PrivateScope {
   public:
    explicit PrivateScope(PublicVariables& vars) : vars_(vars) {}
    ~PrivateScope();
    PrivateScope(const PrivateScope&) = delete;
    PrivateScope& operator=(const PrivateScope&) = delete;
    // Declares a private variable (initially logical false unless given).
    void declare(std::string_view name, Value initial = Value());

   private:
    PublicVariables& vars_;
    std::vector<std::string> names_;
  };

  static std::string normalise(std::string_view name);

 private:
  struct Entry {
    std::vector<Value> bindings;  // [0] public, the rest private, top visible
    std::size_t order = 0;
  };
  std::unordered_map<std::string, Entry> table_;
  std::size_t next_order_ = 0;
};

// The process-wide table every routine shares.
PublicVariables& publics();

}  // namespace intra
