#pragma once
// Step objects: where a key value lies between the lowest and the highest
// key value of a view, as a place from 0 to 100, and back.
//
// A list's scroll thumb (0 at the top, 100 at the bottom) uses them: the
// list never counts its records, so the thumb cannot stand for a row
// number. It stands for a key value between the lowest and the highest
// value of the view, which the list gives the step object whenever it
// reloads (RecalcFromView): the thumb of the selected row follows from its
// key value, and dragging the thumb moves the list to the key value that
// the thumb's place stands for. A report's record reader uses the same
// place as the percentage of the run done.

#include <cstdint>
#include <string>

#include "platform/db/file_definition.h"

namespace platform {

class StepMgr {
 public:
  StepMgr() = default;
  StepMgr(const StepMgr&) = delete;
  StepMgr& operator=(const StepMgr&) = delete;
  virtual ~StepMgr() = default;

  // The view's lowest and highest key value; monostate for an empty view.
  virtual void Setup(const KeyValue& low, const KeyValue& high) = 0;
  // The thumb's place for a key value, 0..100.
  virtual int ThumbOf(const KeyValue& value) const = 0;
  // The key value that a thumb place stands for.
  virtual KeyValue ValueAt(int thumb) const = 0;
};

// For text keys: the characters after the part that the lowest and the
// highest value share are read as the digits of a fraction, so the thumb
// spreads over the values the view holds ("2:07-CR-0001" to "2:07-CR-0950"
// spreads over what follows "2:07-CR-"). The digits are the characters of
// the step table, built from the characters found in those two values: a
// digit found brings in all ten digits, a letter all the letters, and any
// other character itself.
class TextStepMgr final : public StepMgr {
 public:
  void Setup(const KeyValue& low, const KeyValue& high) override;
  int ThumbOf(const KeyValue& value) const override;
  KeyValue ValueAt(int thumb) const override;

 private:
  double fraction(const std::string& text) const;
  std::string prefix_;
  std::string steps_;  // the step table, in key order
  double low_ = 0, high_ = 0;
};

// For number and date keys (whole numbers in the key: a date's day number, a
// decimal counted in its last place): the thumb spreads evenly over the
// values from the lowest to the highest, so a rate halfway between the two
// sits at the thumb's middle, however the rates between them lie.
class NumberStepMgr final : public StepMgr {
 public:
  void Setup(const platform::KeyValue& low, const platform::KeyValue& high) override;
  int ThumbOf(const platform::KeyValue& value) const override;
  platform::KeyValue ValueAt(int thumb) const override;

 private:
  bool known_ = false;  // the view holds number values
  std::int64_t low_ = 0, high_ = 0;
};

}  // namespace platform
