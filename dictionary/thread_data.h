#pragma once
// Everything of the data layer that one logical thread has for itself: the
// driver context (one database connection), the thread's copy of each of
// the four record files with its record buffer and position, the access and
// relation objects of each file, and the thread's dictionary, whose life
// spans theirs.
//
// One accessor, threadData(), reaches the current thread's structure. Its
// source can be replaced: by default every OS thread has one (what tests
// without logical threads use); the logical-thread runtime installs a source
// that keeps one per logical thread in its fiber-local storage. Tests may
// also create structures directly and install a source that answers the one
// they want.
//
// The life of a thread's structure follows the thread's set-up and
// tear-down:
//   MakeFiles()               the thread's copies of the files: closed,
//                             buffers cleared (CaseCloseSummary, HOURLY,
//                             RateMilage, TOTALS)
//   ConstructDictionary(e)    ThreadDictionary, which runs DictionarySetup
//                             with the thread's error manager `e`
//   DestroyDictionary()       its end, which runs DictionaryShutdown
//   ReleaseFiles()            the copies closed and released (TOTALS,
//                             RateMilage, HOURLY, CaseCloseSummary)
// A structure destroyed early (a thread ended from outside) runs the steps
// that are left, in that order.

#include <functional>
#include <memory>

#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/lib/error_manager.h"
#include "platform/lib/file_manager.h"
#include "platform/lib/file_relations.h"

namespace dictionary {

// The thread's files, in the order they are made and set up.
enum FileIndex : int {
  CaseCloseSummaryFile = 0,
  HOURLYFile = 1,
  RateMilageFile = 2,
  TOTALSFile = 3,
  FileCount = 4,
};

class ThreadDictionary;

class ThreadData {
 public:
  ThreadData();
  ~ThreadData();
  ThreadData(const ThreadData&) = delete;
  ThreadData& operator=(const ThreadData&) = delete;

  void MakeFiles();
  void ReleaseFiles();
  bool hasFiles() const { return context_ != nullptr; }

  void ConstructDictionary(platform::ErrorManager& errors);
  void DestroyDictionary();
  bool hasDictionary() const { return dictionary_ != nullptr; }

  // These throw std::logic_error while the thing asked for does not exist.
  platform::DbContext& context() const;
  platform::DbFile& file(FileIndex which) const;
  platform::ErrorManager& errors() const;
  platform::FileManager& access(FileIndex which) const;
  platform::FileRelations& relate(FileIndex which) const;

  // The thread's references to its access and relation objects: set while
  // the dictionary is set up, cleared by each object's shut-down.
  platform::FileManager* accessRef[FileCount] = {};
  platform::FileRelations* relateRef[FileCount] = {};

 private:
  friend void DictionarySetup(ThreadData&, platform::ErrorManager&);
  friend void DictionaryShutdown(ThreadData&);

  std::unique_ptr<platform::DbContext> context_;
  std::unique_ptr<platform::DbFile> files_[FileCount];
  platform::ErrorManager* errors_ = nullptr;
  std::unique_ptr<platform::FileManager> access_[FileCount];
  std::unique_ptr<platform::FileRelations> relate_[FileCount];
  std::unique_ptr<ThreadDictionary> dictionary_;
};

// The current thread's structure.
ThreadData& threadData();

// Replaces where threadData() finds the current thread's structure; an
// empty function restores the default (one per OS thread).
using ThreadDataSource = std::function<ThreadData&()>;
void setThreadDataSource(ThreadDataSource source);

}  // namespace dictionary
