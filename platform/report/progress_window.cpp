#include "platform/report/progress_window.h"

namespace platform::report {

WindowSpec ProgressWindowSpec(std::string caption) {
  WindowSpec spec;
  spec.kind = WindowKind::Own;
  spec.caption = std::move(caption);
  spec.rect = {0, 0, 142, 59};
  spec.centred = true;
  spec.systemMenu = false;
  spec.doubleBorder = true;
  spec.background = rgb(0xC0, 0xC0, 0xC0);
  spec.font = Font{"MS Sans Serif", 8};
  return spec;
}

void AddProgressControls(Window& window, FieldRef percent) {
  ControlSpec thermometer;
  thermometer.number = ProgressThermometer;
  thermometer.kind = ControlKind::Progress;
  thermometer.rect = {15, 15, 111, 12};
  thermometer.rangeLow = 0;
  thermometer.rangeHigh = 100;
  thermometer.var = percent;
  thermometer.picture = "n3";
  window.add(thermometer);

  ControlSpec user;
  user.number = ProgressUserString;
  user.kind = ControlKind::String;
  user.rect = {0, 3, 141, 10};
  user.justify = Justify::Center;
  user.transparent = true;
  window.add(user);

  ControlSpec pct;
  pct.number = ProgressPctText;
  pct.kind = ControlKind::String;
  pct.rect = {0, 30, 141, 10};
  pct.justify = Justify::Center;
  pct.transparent = true;
  window.add(pct);

  ControlSpec cancel;
  cancel.number = ProgressCancel;
  cancel.kind = ControlKind::Button;
  cancel.rect = {45, 42, 50, 15};
  cancel.text = "Cancel";
  cancel.flat = true;
  cancel.tip = "Cancel Report";
  cancel.statusText = "Cancel Report";
  window.add(cancel);
}

}  // namespace platform::report
