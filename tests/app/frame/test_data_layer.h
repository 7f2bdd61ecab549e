#pragma once
// The data layer that tests and benchmarks plug into the program's threads:
// one ThreadData per logical thread, made as the thread sets up its files
// and dictionary, and (unless refused) one more for the code that runs
// outside the threads, such as a test body that reads the files itself.
// Free of any test framework, so that the benchmarks use it too.

#include <optional>

#include "app/frame/thread_state.h"
#include "dictionary/dictionary.h"
#include "platform/fiber/fiber_local.h"
#include "platform/fiber/thread.h"

namespace lvtest {

class DataLayer final : public app::ThreadDataLayer {
 public:
  // What the dictionary's data source gives outside the logical threads:
  // a ThreadData of the layer's own, or nothing (FiberLocal's
  // std::logic_error), which keeps the thread check off every lookup.
  enum class Outside { OwnData, Refused };

  explicit DataLayer(Outside outside = Outside::OwnData) {
    if (outside == Outside::OwnData) {
      outside_.emplace();
      dictionary::setThreadDataSource([this]() -> dictionary::ThreadData& {
        return platform::currentThread() ? *local_ : *outside_;
      });
    } else {
      dictionary::setThreadDataSource([this]() -> dictionary::ThreadData& { return *local_; });
    }
  }
  ~DataLayer() override { dictionary::setThreadDataSource({}); }
  DataLayer(const DataLayer&) = delete;
  DataLayer& operator=(const DataLayer&) = delete;

  void MakeThreadFiles() override { local_->MakeFiles(); }
  void ConstructDictionary() override { local_->ConstructDictionary(app::ThreadErrors()); }
  void DestroyDictionary() override { local_->DestroyDictionary(); }
  void ReleaseThreadFiles() override { local_->ReleaseFiles(); }
  // A logical thread's structure, once it has one.
  dictionary::ThreadData* of(int thread) const { return local_.find(thread); }

 private:
  platform::FiberLocal<dictionary::ThreadData> local_;
  std::optional<dictionary::ThreadData> outside_;
};

}  // namespace lvtest
