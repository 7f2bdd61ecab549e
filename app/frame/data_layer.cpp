#include "app/frame/data_layer.h"

#include "app/frame/thread_state.h"
#include "dictionary/thread_data.h"
#include "platform/fiber/fiber_local.h"

namespace app {
namespace {

platform::FiberLocal<dictionary::ThreadData>& perThread() {
  static platform::FiberLocal<dictionary::ThreadData> local;
  return local;
}

class FiberDataLayer final : public ThreadDataLayer {
 public:
  void MakeThreadFiles() override { dictionary::threadData().MakeFiles(); }
  void ConstructDictionary() override { dictionary::threadData().ConstructDictionary(ThreadErrors()); }
  void DestroyDictionary() override { dictionary::threadData().DestroyDictionary(); }
  void ReleaseThreadFiles() override { dictionary::threadData().ReleaseFiles(); }
};

}  // namespace

void InstallDataLayer() {
  static FiberDataLayer layer;
  dictionary::setThreadDataSource([]() -> dictionary::ThreadData& { return *perThread(); });
  SetThreadDataLayer(&layer);
}

}  // namespace app
