#include "dictionary/thread_data.h"

#include <stdexcept>

#include "dictionary/access.h"
#include "dictionary/keys.h"

namespace dictionary {

namespace {

const platform::FileDefinition& definitionOf(FileIndex which) {
  switch (which) {
    case CaseCloseSummaryFile:
      return CaseCloseSummaryDefinition();
    case HOURLYFile:
      return HOURLYDefinition();
    case RateMilageFile:
      return RateMilageDefinition();
    default:
      return TOTALSDefinition();
  }
}

bool validIndex(FileIndex which) { return which >= 0 && which < FileCount; }

ThreadDataSource& installedSource() {
  static ThreadDataSource source;
  return source;
}

ThreadData& perOsThread() {
  thread_local ThreadData data;
  return data;
}

}  // namespace

ThreadData::ThreadData() = default;

ThreadData::~ThreadData() {
  DestroyDictionary();
  ReleaseFiles();
}

void ThreadData::MakeFiles() {
  if (context_) throw std::logic_error("the thread's record files exist already");
  context_ = std::make_unique<platform::DbContext>();
  for (FileIndex which : {CaseCloseSummaryFile, HOURLYFile, RateMilageFile, TOTALSFile})
    files_[which] = std::make_unique<platform::DbFile>(*context_, definitionOf(which));
}

void ThreadData::ReleaseFiles() {
  DestroyDictionary();
  for (FileIndex which : {TOTALSFile, RateMilageFile, HOURLYFile, CaseCloseSummaryFile}) {
    if (!files_[which]) continue;
    files_[which]->close();
    files_[which].reset();
  }
  context_.reset();
}

void ThreadData::ConstructDictionary(platform::ErrorManager& errors) {
  if (dictionary_) throw std::logic_error("the thread's dictionary exists already");
  dictionary_ = std::make_unique<ThreadDictionary>(*this, errors);
}

void ThreadData::DestroyDictionary() { dictionary_.reset(); }

platform::DbContext& ThreadData::context() const {
  if (!context_) throw std::logic_error("this thread has no record files");
  return *context_;
}

platform::DbFile& ThreadData::file(FileIndex which) const {
  if (!validIndex(which) || !files_[which]) throw std::logic_error("this thread has no record files");
  return *files_[which];
}

platform::ErrorManager& ThreadData::errors() const {
  if (!errors_) throw std::logic_error("this thread's dictionary is not set up");
  return *errors_;
}

platform::FileManager& ThreadData::access(FileIndex which) const {
  if (!validIndex(which) || !accessRef[which]) throw std::logic_error("this thread has no access object of the file");
  return *accessRef[which];
}

platform::FileRelations& ThreadData::relate(FileIndex which) const {
  if (!validIndex(which) || !relateRef[which]) throw std::logic_error("this thread has no relation object of the file");
  return *relateRef[which];
}

ThreadData& threadData() {
  const ThreadDataSource& source = installedSource();
  return source ? source() : perOsThread();
}

void setThreadDataSource(ThreadDataSource source) { installedSource() = std::move(source); }

}  // namespace dictionary
