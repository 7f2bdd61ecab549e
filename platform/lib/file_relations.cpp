#include "platform/lib/file_relations.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <stdexcept>

#include "platform/types/latin1.h"

namespace platform {

namespace {

// Child records read per page while a cascade walks them.
constexpr int PageRows = 256;

bool contains(const std::vector<FileRelations*>& list, const FileRelations* r) {
  return std::find(list.begin(), list.end(), r) != list.end();
}

FieldRef fieldOf(const DbFile& file, int number, const std::uint8_t* image) {
  return FieldRef::of(file.layout().field(number), const_cast<std::uint8_t*>(image));
}

// Gives a child's linking field the parent's value: text as text (a longer
// field is blank after it), dates as days, numbers as exact decimals.
void assignLink(FieldRef to, const FieldRef& from) {
  if (to.type() == FieldType::Date && from.type() == FieldType::Date)
    to.setDay(from.day());
  else if (to.isNumeric() && from.isNumeric())
    to.setDecimal(from.decimal());
  else
    to.setText(from.text());
}

// Linking values compare the way keys do: text without regard to case.
bool sameLink(const FieldRef& a, const FieldRef& b) {
  if (a.isText() && b.isText()) return latin1Upper(a.text()) == latin1Upper(b.text());
  return a.sameValue(b);
}

bool sameBytes(const FieldRef& a, const FieldRef& b) {
  return a.size() == b.size() && std::equal(a.data(), a.data() + a.size(), b.data());
}

// Saves the buffers and positions of the related files and puts them back
// when the scope ends, however it ends.
class RelatedStates {
 public:
  RelatedStates(const std::vector<FileRelations*>& files, const FileRelations* except) {
    for (FileRelations* r : files)
      if (r != except) saved_.push_back({&r->Me().file(), r->Me().SaveFile()});
  }
  ~RelatedStates() {
    for (auto& [file, state] : saved_) file->restoreState(state);
  }
  RelatedStates(const RelatedStates&) = delete;
  RelatedStates& operator=(const RelatedStates&) = delete;

 private:
  std::vector<std::pair<DbFile*, DbFileState>> saved_;
};

// Counts a use of the related files for the length of one operation.
class RelatedUse {
 public:
  explicit RelatedUse(FileRelations& r) : r_(r) { level_ = r_.Open(); }
  ~RelatedUse() { r_.Close(); }
  RelatedUse(const RelatedUse&) = delete;
  RelatedUse& operator=(const RelatedUse&) = delete;
  int level() const { return level_; }

 private:
  FileRelations& r_;
  int level_ = 0;
};

}  // namespace

// --- set-up --------------------------------------------------------------------

void FileRelations::Init(FileManager& access, std::chrono::milliseconds timeout) {
  access_ = &access;
  timeout_ = timeout;
  relations_.clear();
  lastPass_ = 0;
}

void FileRelations::Kill() {
  relations_.clear();
  if (quickScan_ && access_ && access_->initialised()) access_->file().setWalk(false);
  quickScan_ = false;
  access_ = nullptr;
}

FileManager& FileRelations::Me() const {
  if (!access_) throw std::logic_error("the relation object of a record file is not set up");
  return *access_;
}

void FileRelations::AddRelation(FileRelations& child, int updateMode, int deleteMode, int hisKey) {
  relations_.push_back(Relation{&child, true, hisKey, updateMode, deleteMode, {}});
}

void FileRelations::AddRelation(FileRelations& parent) { relations_.push_back(Relation{&parent, false, 0, 0, 0, {}}); }

void FileRelations::AddRelationLink(int thisField, int hisField) {
  if (relations_.empty()) throw std::logic_error("a linking field pair without a relation");
  relations_.back().links.emplace_back(thisField, hisField);
}

// --- opening -------------------------------------------------------------------

unsigned FileRelations::newPass() {
  static std::atomic<unsigned> counter{0};
  unsigned pass = ++counter;
  return pass != 0 ? pass : ++counter;
}

int FileRelations::Open() { return openPass(newPass()); }

int FileRelations::Close() {
  closePass(newPass());
  return 0;
}

int FileRelations::openPass(unsigned pass) {
  if (lastPass_ == pass) return 0;
  lastPass_ = pass;
  int first = Me().Open();
  for (const Relation& r : relations_) {
    const int level = r.other->openPass(pass);
    if (first == 0) first = level;
  }
  return first;
}

void FileRelations::closePass(unsigned pass) {
  if (lastPass_ == pass) return;
  lastPass_ = pass;
  Me().Close();
  for (const Relation& r : relations_) r.other->closePass(pass);
}

void FileRelations::SwitchQuickScan(bool on) { quickScanPass(newPass(), on); }

void FileRelations::quickScanPass(unsigned pass, bool on) {
  if (lastPass_ == pass) return;
  lastPass_ = pass;
  quickScan_ = on;
  // A walk over the file reads it without the memory map, so that what it
  // has read does not stay resident.
  if (access_ && access_->initialised()) access_->file().setWalk(on);
  for (const Relation& r : relations_) r.other->quickScanPass(pass, on);
}

// --- the files an operation touches ----------------------------------------------

void FileRelations::reach(bool written, std::vector<FileRelations*>& reads, std::vector<FileRelations*>& writes) {
  const bool read = contains(reads, this), wrote = contains(writes, this);
  if (read && (wrote || !written)) return;
  if (!read) reads.push_back(this);
  if (written && !wrote) writes.push_back(this);
  auto writesChild = [](int mode) { return mode == RelationClear || mode == RelationCascade; };
  for (const Relation& r : relations_) {
    if (!r.parentSide || (r.updateMode == RelationNone && r.deleteMode == RelationNone)) continue;
    r.other->reach(written && (writesChild(r.updateMode) || writesChild(r.deleteMode)), reads, writes);
  }
}

int FileRelations::prepare(std::vector<FileRelations*>& reads, std::vector<DbFile*>& writes) {
  std::vector<FileRelations*> written;
  reads.clear();
  reach(true, reads, written);
  // Every file is really opened before the transaction starts, so that no
  // open message waits inside it.
  for (FileRelations* r : reads)
    if (int level = r->Me().UseFile()) return level;
  writes.clear();
  for (FileRelations* r : written) writes.push_back(&r->Me().file());
  return 0;
}

// --- child records -----------------------------------------------------------------

template <class Visit>
bool FileRelations::forEachChild(const Relation& relation, const std::uint8_t* parentImage, HeldMessage& held,
                                 Msg failure, Visit visit) {
  const DbFile& mine = Me().file();
  FileRelations& child = *relation.other;
  DbFile& file = child.Me().file();
  // The child key's value for the parent's linking values.
  std::vector<std::uint8_t> probe(file.recordSize());
  clearRecord(file.layout(), probe.data());
  bool linked = false;
  for (const auto& [ours, his] : relation.links) {
    const FieldRef value = fieldOf(mine, ours, parentImage);
    if (!value.isEmpty()) linked = true;
    assignLink(fieldOf(file, his, probe.data()), value);
  }
  if (!linked) return true;  // an empty linking value links no record
  const KeyValue value = file.keyValue(relation.hisKey, probe.data());
  if (std::holds_alternative<std::monostate>(value)) return true;

  std::optional<Seek> from;
  std::vector<DbRow> rows;
  for (;;) {
    if (file.readPage(relation.hisKey, Direction::Forward, from, PageRows, value, rows) != DbStatus::Ok) {
      held = child.Me().hold(failure, file.error());
      return false;
    }
    for (const DbRow& row : rows) {
      const bool all = std::all_of(relation.links.begin(), relation.links.end(), [&](const auto& pair) {
        return sameLink(fieldOf(mine, pair.first, parentImage), fieldOf(file, pair.second, row.image.data()));
      });
      if (all && !visit(row)) return false;
    }
    if (static_cast<int>(rows.size()) < PageRows) return true;
    from = Seek{value, rows.back().position, false};
  }
}

bool FileRelations::linksChanged(const Relation& relation, const std::uint8_t* original) const {
  const DbFile& mine = Me().file();
  return std::any_of(relation.links.begin(), relation.links.end(), [&](const auto& pair) {
    return !sameBytes(fieldOf(mine, pair.first, original), fieldOf(mine, pair.first, mine.record()));
  });
}

bool FileRelations::deleteChildren(HeldMessage& held) {
  const DbFile& mine = Me().file();
  const std::vector<std::uint8_t> image(mine.image().begin(), mine.image().end());
  for (const Relation& r : relations_) {
    if (!r.parentSide || r.deleteMode == RelationNone) continue;
    FileRelations& child = *r.other;
    DbFile& file = child.Me().file();
    const bool ok = forEachChild(r, image.data(), held, Msg::RetryDelete, [&](const DbRow& row) {
      switch (r.deleteMode) {
        case RelationRestrict:
          held = child.Me().hold(Msg::RestrictDelete, {});
          return false;
        case RelationCascade:
          file.load(row);
          if (!child.deleteChildren(held)) return false;
          if (file.remove(row.position, row.image) != DbStatus::Ok) {
            held = child.Me().hold(Msg::RetryDelete, file.error());
            return false;
          }
          return true;
        case RelationClear:
          file.load(row);
          for (const auto& pair : r.links) fieldOf(file, pair.second, file.record()).clear();
          if (!child.Me().changeHeld(row.position, row.image, held) || !child.updateChildren(row.image.data(), held)) {
            held = child.Me().hold(Msg::RetryDelete, held.error);
            return false;
          }
          return true;
        default:
          return true;
      }
    });
    if (!ok) return false;
  }
  return true;
}

bool FileRelations::updateChildren(const std::uint8_t* original, HeldMessage& held) {
  DbFile& mine = Me().file();
  const std::vector<std::uint8_t> now(mine.image().begin(), mine.image().end());
  for (const Relation& r : relations_) {
    if (!r.parentSide || r.updateMode == RelationNone || !linksChanged(r, original)) continue;
    FileRelations& child = *r.other;
    DbFile& file = child.Me().file();
    const bool ok = forEachChild(r, original, held, Msg::UpdateError, [&](const DbRow& row) {
      switch (r.updateMode) {
        case RelationRestrict:
          held = child.Me().hold(Msg::RestrictUpdate, {});
          // The linking fields go back to their old values.
          for (const auto& pair : r.links) {
            const FieldRef old = fieldOf(mine, pair.first, original);
            std::copy(old.data(), old.data() + old.size(), fieldOf(mine, pair.first, mine.record()).data());
          }
          return false;
        case RelationCascade:
        case RelationClear:
          file.load(row);
          for (const auto& pair : r.links) {
            FieldRef to = fieldOf(file, pair.second, file.record());
            if (r.updateMode == RelationCascade)
              assignLink(to, fieldOf(mine, pair.first, now.data()));
            else
              to.clear();
          }
          return child.Me().changeHeld(row.position, row.image, held) && child.updateChildren(row.image.data(), held);
        default:
          return true;
      }
    });
    if (!ok) return false;
  }
  return true;
}

// --- delete and change -----------------------------------------------------------------

int FileRelations::Delete(bool ask) {
  FileManager& me = Me();
  if (ask && me.raise(Msg::ConfirmDelete) != LevelBenign) return LevelCancelled;
  RelatedUse use(*this);
  if (use.level()) return use.level();
  DbFile& file = me.file();
  // A retry deletes the same record, with every related record, again.
  const std::vector<std::uint8_t> image(file.image().begin(), file.image().end());
  const std::int64_t position = file.position();
  for (;;) {
    std::vector<FileRelations*> reads;
    std::vector<DbFile*> writes;
    if (int level = prepare(reads, writes)) return level;
    HeldMessage held;
    {
      RelatedStates states(reads, this);
      DbTransaction tx(*file.context());
      if (tx.begin(writes, timeout_) != DbStatus::Ok) {
        me.lastError_ = tx.error();
        me.raise(Msg::TransactionError, tx.error());
        return LevelNotify;
      }
      bool ok = deleteChildren(held);
      if (ok) {
        const DbStatus status = file.remove(position, image);
        if (status != DbStatus::Ok) {
          // Another thread changed or deleted the record since it was read:
          // trying again cannot help.
          const bool stale = status == DbStatus::Changed || status == DbStatus::NotFound;
          held = me.hold(stale ? Msg::DeleteError : Msg::RetryDelete, file.error());
          ok = false;
        }
      }
      if (ok) {
        if (tx.commit() == DbStatus::Ok) return LevelBenign;
        held = me.hold(Msg::RetryDelete, tx.error());
      }
      tx.rollback();
    }
    file.restoreState(DbFileState{image, position});
    me.lastError_ = held.error;
    const int answer = me.raise(held);
    if (held.id == Msg::RetryDelete && answer == LevelBenign) continue;
    return answer == LevelBenign ? LevelNotify : answer;
  }
}

int FileRelations::Update(std::span<const std::uint8_t> original) {
  FileManager& me = Me();
  DbFile& file = me.file();
  RelatedUse use(*this);
  if (use.level()) return use.level();
  if (original.size() != file.recordSize()) {
    me.lastError_ = DbError{DbStatus::Invalid, 0, "the record as it was read has the wrong size", 0};
    me.raise(Msg::UpdateError, me.lastError_);
    return LevelNotify;
  }
  std::vector<FileRelations*> reads;
  std::vector<DbFile*> writes;
  if (int level = prepare(reads, writes)) return level;
  if (int level = me.ValidateRecord(true)) return level;
  const std::vector<std::uint8_t> before(original.begin(), original.end());
  const std::int64_t position = file.position();
  HeldMessage held;
  {
    RelatedStates states(reads, this);
    DbTransaction tx(*file.context());
    if (tx.begin(writes, timeout_) != DbStatus::Ok) {
      me.lastError_ = tx.error();
      me.raise(Msg::TransactionError, tx.error());
      return LevelNotify;
    }
    if (me.changeHeld(position, before, held) && updateChildren(before.data(), held)) {
      if (tx.commit() == DbStatus::Ok) return LevelBenign;
      held = me.hold(Msg::UpdateError, tx.error());
    }
    tx.rollback();
  }
  me.lastError_ = held.error;
  return me.raise(held);
}

}  // namespace platform
