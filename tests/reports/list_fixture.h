#pragma once
// The program's own reports through the driver: records of the four files
// written from the test body, a launcher on the first thread that starts a
// report on a thread of its own (50000 bytes, as the frame's menu does) or
// calls it there, and a watch on the preview that keeps the pages of the
// run it shows.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/report/preview.h"
#include "tests/reports/report_fixture.h"

namespace reporttest {

// Writes records of the four files through a driver context of its own.
class Records {
 public:
  Records();
  ~Records();
  // Sets the fields of a cleared record of `file` through `field`, then adds it.
  using Fields = std::function<FieldRef(int)>;
  void add(dictionary::FileIndex file, const std::function<void(const Fields&)>& set);
  // Several at once, in one transaction.
  void addAll(dictionary::FileIndex file, int count, const std::function<void(const Fields&, int)>& set);
  // Every record's bytes of `file`, in the order of `key`.
  std::vector<std::vector<std::uint8_t>> all(dictionary::FileIndex file, int key);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Keeps the pages and the zoom of the preview as it opens.
struct PreviewWatch final : pr::PreviewObserver {
  PreviewWatch() { pr::addPreviewObserver(this); }
  ~PreviewWatch() override { pr::removePreviewObserver(this); }
  void previewOpened(pr::PreviewSession& s) override;
  std::vector<pr::Page> pages;
  pr::Zoom zoom = pr::Zoom::Percent300;
  int opened = 0;
};

class ListTest : public ReportTest {
 public:
  void SetUp() override;
  void TearDown() override;

  // Starts the launcher, the program's first thread.
  void launch();
  // Starts `report` on a new thread of 50000 bytes: its progress window
  // opens with the first record read.
  void begin(std::function<void()> report);
  // begin(), then the timer until the progress window has gone (the
  // preview then shows).
  void run(std::function<void()> report);
  // The progress window of a run: captioned "Report <file>".
  platform::Window* progressWindow();
  // Closes the preview the run shows, which ends its thread.
  void closePreview();

  std::optional<Records> records;
  PreviewWatch watch;
  // Of the last run's thread: its stack, and ThreadResponse at its end.
  std::size_t stack = 0;
  int response = -1;
  bool started = false;
};

// Every item text of `pages` with a control character in it (a line break
// between the lines of a multi-line text excepted).
std::vector<std::string> controlCharacters(const std::vector<pr::Page>& pages);

}  // namespace reporttest
