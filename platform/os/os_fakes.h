#pragma once
// Stand-ins for the operating-system services, for tests: fixed answers and
// recorded calls. ScopedOsServices installs a set and puts the previous one
// back when it goes out of scope.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/os/services.h"

namespace platform {

class FakeUserName final : public UserNameService {
 public:
  explicit FakeUserName(std::optional<std::string> name) : name_(std::move(name)) {}
  std::optional<std::string> userName() override { return name_; }

 private:
  std::optional<std::string> name_;
};

class FakeOsVersion final : public OsVersionService {
 public:
  explicit FakeOsVersion(std::string text) : text_(std::move(text)) {}
  std::string osVersion() override { return text_; }

 private:
  std::string text_;
};

class RecordingLinkOpener final : public LinkOpener {
 public:
  bool openLink(const std::string& link) override {
    links.push_back(link);
    return result;
  }
  std::vector<std::string> links;
  bool result = true;
};

class RecordingFullDrag final : public FullDragSetting {
 public:
  struct SetCall {
    bool on;
    unsigned flags;
    bool operator==(const SetCall&) const = default;
  };
  explicit RecordingFullDrag(bool initiallyOn = true) : on(initiallyOn) {}
  bool isOn() override {
    ++reads;
    return on;
  }
  void set(bool value, unsigned flags) override {
    sets.push_back({value, flags});
    on = value;
  }
  bool on;
  int reads = 0;
  std::vector<SetCall> sets;
};

class ScopedOsServices {
 public:
  explicit ScopedOsServices(const OsServices& services) : previous_(osServices()) { setOsServices(services); }
  ~ScopedOsServices() { setOsServices(previous_); }
  ScopedOsServices(const ScopedOsServices&) = delete;
  ScopedOsServices& operator=(const ScopedOsServices&) = delete;

 private:
  OsServices previous_;
};

}  // namespace platform
