#include "platform/lib/file_manager.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace platform {

void FileManager::Init(DbFile& file, ErrorManager& errors) {
  file_ = &file;
  errors_ = &errors;
  FILENAMEVALUE = file.layout().label();
  OPENMODE = Access::ReadWrite;
  CREATE = false;
  LOCKRECOVER = 0;
  LazyOpen = true;
  uses_ = 0;
  reserved_ = 0;
  lastError_ = {};
  states_.clear();
}

void FileManager::Kill() {
  states_.clear();
  file_ = nullptr;
  errors_ = nullptr;
  uses_ = 0;
  reserved_ = 0;
}

DbFile& FileManager::file() const {
  if (!file_) throw std::logic_error("the access object of a record file is not set up");
  return *file_;
}

ErrorManager& FileManager::errors() const {
  if (!errors_) throw std::logic_error("the access object of a record file is not set up");
  return *errors_;
}

// --- messages ------------------------------------------------------------------

int FileManager::raise(Msg id, const DbError& error, const std::string& message) {
  return raise(hold(id, error, message));
}

int FileManager::raise(const HeldMessage& held) {
  ErrorManager& e = errors();
  e.setFile(held.file);
  e.setErrors(held.error.fileCode, held.error.text);
  return e.raise(held.id, held.message);
}

HeldMessage FileManager::hold(Msg id, const DbError& error, const std::string& message) const {
  return HeldMessage{true, id, FILENAMEVALUE, message, error};
}

std::string FileManager::keyDescription(int key) const {
  const auto& keys = file().definition().keys;
  if (key < 1 || key > static_cast<int>(keys.size())) return {};
  const KeyDefinition& k = keys[static_cast<std::size_t>(key - 1)];
  const bool blank = std::all_of(k.description.begin(), k.description.end(), [](char c) { return c == ' '; });
  return blank ? k.name : k.description;
}

int FileManager::autoKey() const {
  const auto& keys = file().definition().keys;
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (keys[i].autoNumber) return static_cast<int>(i) + 1;
  return 0;
}

// --- opening -------------------------------------------------------------------

int FileManager::Open() {
  file();  // refuses an object that is not set up
  ++uses_;
  return LazyOpen ? 0 : UseFile();
}

void FileManager::Close() {
  if (uses_ == 0) return;
  if (--uses_ == 0) {
    // Closing releases a reservation that no form completed.
    reserved_ = 0;
    file().close();
  }
}

int FileManager::UseFile() {
  DbFile& f = file();
  if (uses_ == 0) {
    lastError_ = DbError{DbStatus::NotOpen, 0, "the file was used before it was opened", 0};
    raise(Msg::FileNotOpen, lastError_);
    return LevelProgram;
  }
  if (f.isOpen()) return 0;
  return openFile();
}

int FileManager::openFailed(DbStatus) {
  lastError_ = file().error();
  raise(Msg::OpenError, lastError_);
  return LevelFatal;
}

// Each remedy is tried at most once, so a file that keeps failing ends in
// "File Access Error" rather than a loop.
int FileManager::openFile() {
  DbFile& f = file();
  Access access = OPENMODE;
  bool recoverySent = false, created = false, rebuilt = false;
  for (;;) {
    const DbStatus status = f.open(access);
    switch (status) {
      case DbStatus::Ok:
        return 0;
      case DbStatus::Locked:
      case DbStatus::Denied:
        if (!recoverySent) {
          recoverySent = true;
          f.setLockRecovery(LOCKRECOVER);
          continue;
        }
        if (access == Access::ReadWrite) {
          lastError_ = f.error();
          raise(Msg::AccessDenied, lastError_);
          access = Access::ReadOnly;
          continue;
        }
        return openFailed(status);
      case DbStatus::FileNotFound:
        if (!CREATE || created) return openFailed(status);
        created = true;
        if (f.create() != DbStatus::Ok) {
          lastError_ = f.error();
          raise(Msg::CreateError, lastError_);
          return LevelFatal;
        }
        continue;
      case DbStatus::InvalidKey:
        if (rebuilt) return openFailed(status);
        rebuilt = true;
        lastError_ = f.error();
        raise(Msg::InvalidKey, lastError_);
        if (f.rebuildKeys() != DbStatus::Ok) {
          lastError_ = f.error();
          raise(Msg::KeyBuildError, lastError_);
          return LevelFatal;
        }
        continue;
      default:
        return openFailed(status);
    }
  }
}

// --- records -------------------------------------------------------------------

int FileManager::TryFetch(int key) {
  if (UseFile() != 0) return LevelFatal;
  DbFile& f = file();
  const DbStatus status = f.fetch(key);
  if (status == DbStatus::Ok) return LevelBenign;
  lastError_ = f.error();
  return status == DbStatus::NotFound ? LevelNotify : LevelFatal;
}

int FileManager::PrimeRecord(bool suppressClear) {
  if (int level = UseFile()) return level;
  DbFile& f = file();
  if (!suppressClear) clearRecord(f.layout(), f.record());
  NewRecordDefaults();
  return autoKey() ? reserveNumber() : LevelBenign;
}

int FileManager::reserveNumber() {
  // A number reserved earlier can no longer be completed: the buffer is
  // being made into another record.
  CancelAutoInc();
  DbFile& f = file();
  for (;;) {
    if (f.reserveAutoNumber() == DbStatus::Ok) {
      reserved_ = f.position();
      return LevelBenign;
    }
    lastError_ = f.error();
    errors().setKey(f.definition().keys[static_cast<std::size_t>(autoKey() - 1)].name);
    const int answer = raise(Msg::AutoNumberError, lastError_);
    if (answer != LevelBenign) return answer;
  }
}

int FileManager::CancelAutoInc() {
  if (reserved_ == 0) return LevelBenign;
  DbFile& f = file();
  const std::int64_t position = std::exchange(reserved_, 0);
  if (f.releaseReserved(position) == DbStatus::Ok) return LevelBenign;
  // The driver keeps it and releases it when the file closes.
  lastError_ = f.error();
  return LevelNotify;
}

int FileManager::insertOnce(DbStatus& status) {
  DbFile& f = file();
  status = reserved_ ? f.completeReserved(reserved_) : f.add();
  if (status == DbStatus::Ok) reserved_ = 0;
  // A reservation the driver no longer holds cannot be completed again.
  if (reserved_ && std::find(f.reservations().begin(), f.reservations().end(), reserved_) == f.reservations().end())
    reserved_ = 0;
  return status == DbStatus::Ok ? LevelBenign : LevelNotify;
}

int FileManager::Insert() {
  if (UseFile() != 0) return LevelFatal;
  if (int level = ValidateRecord(true)) return level;
  DbFile& f = file();
  if (const int key = autoKey(); key && reserved_ == 0) {
    // A record that was not primed gets its number now.
    const FieldRef number =
        FieldRef::of(f.layout().field(f.definition().keys[static_cast<std::size_t>(key - 1)].field), f.record());
    if (number.isEmpty())
      if (int level = reserveNumber()) return level;
  }
  DbStatus status;
  if (insertOnce(status) == LevelBenign) return LevelBenign;
  // A duplicate whose key the driver could not name: the other record went
  // away in between, so the add may go through now.
  if (status == DbStatus::Duplicate && f.error().duplicateKey == 0 && insertOnce(status) == LevelBenign)
    return LevelBenign;
  lastError_ = f.error();
  if (status == DbStatus::Duplicate && lastError_.duplicateKey != 0) {
    raise(Msg::DuplicateKey, lastError_, keyDescription(lastError_.duplicateKey));
    return LevelNotify;
  }
  raise(Msg::InsertError, lastError_);
  return LevelNotify;
}

bool FileManager::changeHeld(std::int64_t position, std::span<const std::uint8_t> original, HeldMessage& held) {
  DbFile& f = file();
  const DbStatus status = f.change(position, original);
  if (status == DbStatus::Ok) return true;
  lastError_ = f.error();
  if (status == DbStatus::Duplicate && lastError_.duplicateKey != 0)
    held = hold(Msg::DuplicateKey, lastError_, keyDescription(lastError_.duplicateKey));
  else
    held = hold(Msg::UpdateError, lastError_);
  return false;
}

int FileManager::ValidateField(int, bool) { return LevelBenign; }

int FileManager::ValidateRecord(bool messages) {
  const int fields = file().layout().fieldCount();
  for (int field = 1; field <= fields; ++field)
    if (int level = ValidateField(field, messages)) return level;
  return LevelBenign;
}

// --- saved states ------------------------------------------------------------------

DbFileState FileManager::SaveFile() const { return file().saveState(); }

void FileManager::RestoreFile(const DbFileState& state) { file().restoreState(state); }

std::uint32_t FileManager::SaveState() {
  const std::uint32_t handle = ++nextState_;
  states_[handle] = SaveFile();
  return handle;
}

void FileManager::RestoreState(std::uint32_t handle) {
  auto it = states_.find(handle);
  if (it != states_.end()) RestoreFile(it->second);
}

void FileManager::ReleaseState(std::uint32_t handle) { states_.erase(handle); }

}  // namespace platform
