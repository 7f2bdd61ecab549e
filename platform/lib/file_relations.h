#pragma once
// The relation object of one record file on one logical thread: the file's
// relations to other files, opening and closing it together with them, and
// deleting and changing its records with the relations' delete and update
// modes applied to the related records.
//
// A relation is declared on both sides. The parent side names the child's
// relation object, the child's key that reads the child records ("his
// key"), the update and delete modes and the linking field pairs (this
// file's field, the child's field); the child side only names the parent.
// The child records of a parent record are those whose key value equals the
// parent's linking value. A parent whose linking value is empty (blank or
// zero) has no child records.
//
// Modes, for the child records of a record that is deleted or whose linking
// fields change:
//   RelationNone      nothing happens to them;
//   RelationClear     their linking fields are cleared;
//   RelationRestrict  the delete or change is refused while one exists;
//   RelationCascade   they are deleted with the record, or take its new
//                     linking values (applying their own relations in turn).
//
// Delete and Update run in one transaction over the file and every file
// reachable through relations whose delete or update mode is Clear or
// Cascade, so that a cascade is stored whole or not at all. The
// transaction never spans a message box: a message that arises inside is
// raised after the roll-back, and a transaction that cannot be started
// within the timeout is reported as "Transaction cancelled" with nothing
// changed. The buffers and positions of the related files are the same
// afterwards as before.

#include <chrono>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "platform/db/transaction.h"
#include "platform/lib/file_manager.h"

namespace platform {

enum RelationMode : int {
  RelationNone = 0,
  RelationClear = 1,
  RelationRestrict = 2,
  RelationCascade = 3,
};

class FileRelations : public RelatedFiles {
 public:
  FileRelations() = default;
  ~FileRelations() override = default;
  FileRelations(const FileRelations&) = delete;
  FileRelations& operator=(const FileRelations&) = delete;

  // Binds the object to its file's access object; transactions wait at most
  // `timeout` for the files' locks.
  void Init(FileManager& access, std::chrono::milliseconds timeout = DbBusyTimeout);
  // Drops the relations; the object is unbound afterwards.
  virtual void Kill();

  FileManager& Me() const;

  // --- declaring -----------------------------------------------------------

  // The parent side of a relation to the file of `child`.
  void AddRelation(FileRelations& child, int updateMode, int deleteMode, int hisKey);
  // The child side of a relation to the file of `parent`.
  void AddRelation(FileRelations& parent);
  // A linking field pair of the relation declared last: a field of this
  // file and the other file's field (both 1-based field numbers).
  void AddRelationLink(int thisField, int hisField);

  // --- opening -------------------------------------------------------------

  // Counts a use of this file and of every file reachable through its
  // relations, each once. Answers the first non-zero level.
  int Open() override;
  // The reverse: a use less of each; a file whose count reaches 0 closes.
  // Answers 0.
  int Close() override;

  // --- reading -------------------------------------------------------------

  // Read-ahead for a sequential walk in key order (a report's record
  // reader): on or off for this file and every file reachable through its
  // relations, each once. Readers that walk the file read ahead in larger
  // pages while it is on, and the file reads as a walk (DbFile::setWalk),
  // so that a walk over a large file does not keep what it read resident.
  void SwitchQuickScan(bool on);
  bool quickScan() const { return quickScan_; }

  // --- writing -------------------------------------------------------------

  // Deletes the record in the buffer (at the file's position) with its
  // related records. With `ask`, "Confirm Delete" comes first; No answers 4.
  // A failed delete is rolled back and "Record Delete Error" asks whether to
  // try the whole delete again. A record that another thread changed or
  // deleted since it was read is not deleted ("Record was not deleted").
  int Delete(bool ask = true);
  // Writes the buffer over the record at the file's position, provided the
  // stored record still equals `original` (the record as it was read), and
  // carries changed linking values to the related records. The buffer's
  // fields are checked first.
  int Update(std::span<const std::uint8_t> original);

 private:
  struct Relation {
    FileRelations* other = nullptr;
    bool parentSide = false;
    int hisKey = 0;
    int updateMode = RelationNone;
    int deleteMode = RelationNone;
    std::vector<std::pair<int, int>> links;  // this file's field, the other's
  };

  static unsigned newPass();
  int openPass(unsigned pass);
  void closePass(unsigned pass);
  void quickScanPass(unsigned pass, bool on);
  // The files a delete or change reads (`reads`) and writes (`writes`).
  void reach(bool written, std::vector<FileRelations*>& reads, std::vector<FileRelations*>& writes);
  int prepare(std::vector<FileRelations*>& reads, std::vector<DbFile*>& writes);

  // The child records that `relation` links to `parentImage`, page by page;
  // `visit` answers false to stop. False when a read failed (held).
  template <class Visit>
  bool forEachChild(const Relation& relation, const std::uint8_t* parentImage, HeldMessage& held, Msg failure,
                    Visit visit);
  bool linksChanged(const Relation& relation, const std::uint8_t* original) const;
  bool deleteChildren(HeldMessage& held);
  bool updateChildren(const std::uint8_t* original, HeldMessage& held);

  FileManager* access_ = nullptr;
  std::chrono::milliseconds timeout_ = DbBusyTimeout;
  std::vector<Relation> relations_;
  unsigned lastPass_ = 0;
  bool quickScan_ = false;
};

}  // namespace platform
