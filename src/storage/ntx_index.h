#pragma once
// One open index file (.ntx): a B-tree of fixed-size key bytes, each key
// with its record number, on a file that other stations read and update at
// the same time. Key bytes come from the caller (the key expression and
// its encoding live elsewhere); this class keeps the tree, its header, its
// locks and one current position.
//
// Shared use. Every navigation call holds the index read lock and every
// update the write lock for exactly that call (see ntx_lock.h). After
// taking a lock the first 12 header bytes are read; when version or root
// differ from what this station last saw, every cached page is dropped
// and the saved path is no longer valid (path_valid()). A call that needs
// the path then searches again for the saved current key and record
// number. Releasing the write lock writes the changed pages and then the
// 12 header bytes with the version incremented, so other stations drop
// their copies.
// Exclusive use. No locks; cached pages stay valid; changed pages are
// written at the end of every update, the 12 header bytes whenever root or
// free list changed.
//
// Every call starts with a clear error(); a call that fails returns false
// and leaves error() telling why. Navigation calls return whether they are
// on a key, so false with no error is the end of the index. A damaged file
// gives Corruption ("Corruption detected: ... in x.ntx") and never a crash
// or an endless walk; the changes of a failed update never reach the file.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/file_system.h"
#include "storage/ntx_bulk_build.h"
#include "storage/ntx_header.h"
#include "storage/ntx_key_entry.h"
#include "storage/ntx_key_order.h"
#include "storage/ntx_lock.h"
#include "storage/ntx_page_store.h"
#include "storage/ntx_path.h"
#include "storage/ntx_tree.h"
#include "storage/table_error.h"

namespace intra {

class NtxIndex {
 public:
  // ".ntx" is added when the last component of `name` has no extension.
  static std::string index_file_name(std::string_view name);

  // Creates (or empties) the file, builds the tree from `source` and writes
  // the full header (version 1 for a new file). The file is held
  // exclusively while it is built and then in the mode asked for. Every
  // failure is IndexCreateError (with the cause as detail) and leaves no
  // file behind.
  static std::unique_ptr<NtxIndex> create(FileSystem& fs, std::string_view name, const NtxDefinition& definition,
                                          const KeySource& source, bool shared, TableError& error,
                                          const NtxBuildOptions& options = {});
  // Opens an existing index: IndexOpenError when the file cannot be opened
  // (sharing conflicts included), Corruption when its header fails the
  // opening checks.
  static std::unique_ptr<NtxIndex> open(FileSystem& fs, std::string_view name, bool shared, bool read_only,
                                        TableError& error);

  ~NtxIndex();
  NtxIndex(const NtxIndex&) = delete;
  NtxIndex& operator=(const NtxIndex&) = delete;

  // Forces written pages to disk and closes the file; false when the flush
  // failed. Every later call fails.
  bool close();
  bool sync();

  const NtxDefinition& definition() const { return definition_; }
  int key_size() const { return geometry_.key_size; }
  int max_keys() const { return geometry_.max_keys; }
  // From offset 538 when its first byte is above 20, else the file's base
  // name; in capitals either way.
  std::string order_name() const;
  bool extended_locks() const { return header_.extended_locks(); }
  const std::string& file_name() const { return file_name_; }
  bool shared() const { return shared_; }
  bool read_only() const { return read_only_; }
  const TableError& error() const { return error_; }

  // Empties the file to its header and builds the tree again (after a
  // pack); the full header is written with the version incremented.
  bool rebuild(const KeySource& source, const NtxBuildOptions& options = {});
  // Cuts the file to 1024 bytes, puts one empty root page at 1024 and
  // writes the full header.
  bool zap();

  // Navigation, on the one current position of the index.
  bool first();
  bool last();
  // The first key >= `key`, compared over the search key's length when it
  // is shorter than the key size (longer keys are cut); `found` tells
  // whether that key begins with the search key.
  bool seek(std::string_view key, bool& found);
  // Exactly the item key/recno (the key padded with spaces to the key
  // size); when it is not in the index the position is at the end.
  bool find(std::string_view key, std::uint32_t recno);
  // Steps in key order. Past the last key eof(), before the first bof();
  // next() from bof() goes to the first key, prev() from eof() (or from no
  // position) to the last; next() at eof() and prev() at bof() stay.
  // With the path no longer valid, the saved key and record number are
  // searched first; when they are gone a step ends at eof().
  // A walk along one path, with no search in between, that takes more
  // steps than the file has item slots goes round in a damaged tree (pages
  // sharing subtrees lead on and on, each step valid by itself): the step
  // that finds it out fails with Corruption.
  bool next();
  bool prev();
  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  bool on_key() const { return on_key_; }
  const std::string& current_key() const { return current_key_; }  // empty when not on a key
  std::uint32_t current_recno() const { return current_recno_; }   // 0 when not on a key
  // Whether the path to the current key is still the one the last
  // positioning found (not discarded by the version protocol or changed by
  // an update since).
  bool path_valid() const { return on_key_ && path_valid_; }

  // One hold of the write lock: the old key of `recno` leaves the index
  // when given, the new one enters when given (a unique index keeps an
  // existing equal key instead). `old_missing` tells that the old key was
  // not found; the insertion happens all the same. Keys are padded with
  // spaces or cut to the key size. The path is no longer valid afterwards.
  bool update(const std::optional<std::string>& old_key, const std::optional<std::string>& new_key,
              std::uint32_t recno, bool& old_missing);

  // Every entry in key order under one read lock; `visit` returns false to
  // stop. Does not move the current position.
  bool for_each(const std::function<bool(const KeyEntry&)>& visit);

  // The problems of the file (see ntx_check.h); empty when consistent.
  std::vector<std::string> check();

  // Pages kept in memory beyond one operation (changed pages excepted).
  void set_cache_limit(std::size_t pages) { store_.cache().set_limit(pages); }
  std::size_t cached_pages() { return store_.cache().size(); }

 private:
  NtxIndex(FileSystem& fs, std::unique_ptr<File> file, std::string file_name, const NtxHeader& header, bool shared,
           bool read_only);

  template <class Body>
  bool reading(Body&& body);
  template <class Body>
  bool writing(Body&& body);
  bool begin(bool write);
  bool end_read(bool ok);
  bool end_write(bool ok, const NtxHeaderState& before);
  bool release_lock(bool ok);

  bool build_tree(const KeySource& source, const NtxBuildOptions& options);
  bool write_full_header();
  bool refuse_changes();

  std::string normalized(std::string_view key) const;
  bool take_position(bool past_end);
  void lose_position();
  bool ensure_path(bool& found);
  bool count_step();

  FileSystem& fs_;
  std::unique_ptr<File> file_;
  std::string file_name_;
  NtxHeader header_;
  NtxDefinition definition_;
  bool shared_;
  bool read_only_;
  NtxGeometry geometry_;
  NtxKeyOrder order_;
  TableError error_;
  NtxPageStore store_;
  NtxTree tree_;
  NtxLock lock_;
  bool open_ = true;
  bool written_since_sync_ = false;

  NtxPath path_;
  bool path_valid_ = false;
  bool on_key_ = false;
  bool eof_ = false;
  bool bof_ = false;
  std::string current_key_;
  std::uint32_t current_recno_ = 0;
  std::uint64_t steps_ = 0;  // steps along the path since a search last set it
};

}  // namespace intra
