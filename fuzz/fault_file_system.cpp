#include "fault_file_system.h"

#include <cerrno>

namespace intra::fuzz {

void FaultBudget::arm(int setting) {
  fired_ = false;
  failing_ = false;
  strikes_ = 0;
  persistent_ = setting >= 32;
  countdown_ = setting <= 0 ? 0 : static_cast<std::uint64_t>(persistent_ ? setting - 31 : setting);
}

bool FaultBudget::strike() {
  if (failing_) {
    ++strikes_;
    return true;
  }
  if (countdown_ == 0) return false;
  if (--countdown_ > 0) return false;
  fired_ = true;
  failing_ = persistent_;
  ++strikes_;
  return true;
}

namespace {

class FaultFile final : public File {
 public:
  FaultFile(std::unique_ptr<File> real, FaultBudget& budget) : real_(std::move(real)), budget_(budget) {}

  long long read_at(std::uint64_t offset, void* buffer, std::size_t size) override {
    if (!strike()) return real_->read_at(offset, buffer, size);
    if (budget_.short_transfer() && size > 1) return real_->read_at(offset, buffer, size / 2);
    return refuse(EIO) ? 0 : -1;
  }
  long long write_at(std::uint64_t offset, const void* buffer, std::size_t size) override {
    if (!strike()) return real_->write_at(offset, buffer, size);
    if (budget_.short_transfer() && size > 1) return real_->write_at(offset, buffer, size / 2);
    return refuse(ENOSPC) ? 0 : -1;
  }
  std::optional<std::uint64_t> size() override {
    if (strike()) {
      refuse(EIO);
      return std::nullopt;
    }
    return real_->size();
  }
  bool truncate(std::uint64_t size) override { return strike() ? refuse(EIO) : real_->truncate(size); }
  bool sync() override { return strike() ? refuse(EIO) : true; }
  bool lock(std::uint64_t offset, std::uint64_t length, bool exclusive) override {
    return strike() ? refuse(EAGAIN) : real_->lock(offset, length, exclusive);
  }
  bool lock_wait(std::uint64_t offset, std::uint64_t length, bool exclusive) override {
    return strike() ? refuse(EDEADLK) : real_->lock_wait(offset, length, exclusive);
  }
  bool unlock(std::uint64_t offset, std::uint64_t length) override {
    return strike() ? refuse(EIO) : real_->unlock(offset, length);
  }
  // The error of the last operation: the injected one when it was refused.
  int os_error() const override { return injected_ ? injected_ : real_->os_error(); }

 private:
  bool strike() {
    injected_ = 0;
    return budget_.strike();
  }
  bool refuse(int error) {
    injected_ = error;
    return false;
  }
  std::unique_ptr<File> real_;
  FaultBudget& budget_;
  int injected_ = 0;
};

}  // namespace

std::unique_ptr<File> FaultFileSystem::open(std::string_view dos_path, OpenMode mode) {
  injected_ = 0;
  if (budget_.strike()) {
    injected_ = EIO;
    return nullptr;
  }
  auto file = real_.open(dos_path, mode);
  if (!file) return nullptr;
  return std::make_unique<FaultFile>(std::move(file), budget_);
}

}  // namespace intra::fuzz
