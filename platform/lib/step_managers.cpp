#include "platform/lib/step_managers.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace platform {

namespace {

// Characters after the shared part that count towards the thumb's place.
constexpr std::size_t Digits = 6;

const std::string* textOf(const platform::KeyValue& v) { return std::get_if<std::string>(&v); }
const std::int64_t* numberOf(const platform::KeyValue& v) { return std::get_if<std::int64_t>(&v); }

int clampThumb(double place) {
  if (!(place > 0)) return 0;  // also NaN
  if (place >= 100) return 100;
  return static_cast<int>(std::lround(place));
}

}  // namespace

void TextStepMgr::Setup(const KeyValue& low, const KeyValue& high) {
  prefix_.clear();
  steps_.clear();
  low_ = high_ = 0;
  const std::string* a = textOf(low);
  const std::string* b = textOf(high);
  if (!a || !b) return;
  std::size_t shared = 0;
  while (shared < a->size() && shared < b->size() && (*a)[shared] == (*b)[shared]) ++shared;
  prefix_ = a->substr(0, shared);
  bool found[256] = {};
  for (const std::string* t : {a, b})
    for (std::size_t i = shared; i < t->size(); ++i) {
      const auto c = static_cast<unsigned char>((*t)[i]);
      if (c >= '0' && c <= '9')
        for (int d = '0'; d <= '9'; ++d) found[d] = true;
      else if (c >= 'A' && c <= 'Z')
        for (int l = 'A'; l <= 'Z'; ++l) found[l] = true;
      else
        found[c] = true;
    }
  for (int c = 0; c < 256; ++c)
    if (found[c]) steps_.push_back(static_cast<char>(c));
  low_ = fraction(*a);
  high_ = fraction(*b);
}

double TextStepMgr::fraction(const std::string& text) const {
  // A value that sorts before the shared part counts as 0, after it as 1.
  const int cmp = text.compare(0, prefix_.size(), prefix_);
  if (cmp < 0) return 0;
  if (cmp > 0) return 1;
  // Digit 0 stands for the end of the text, digit n for the table's n-th
  // character; a character between two of the table's lies between their
  // digits.
  const double base = static_cast<double>(steps_.size()) + 1;
  double f = 0, scale = 1;
  for (std::size_t i = 0; i < Digits; ++i) {
    scale /= base;
    const std::size_t at = prefix_.size() + i;
    if (at >= text.size()) break;
    const auto c = static_cast<unsigned char>(text[at]);
    double digit;
    if (std::size_t k = steps_.find(static_cast<char>(c)); k != std::string::npos) {
      digit = static_cast<double>(k) + 1;
    } else {
      std::size_t below = 0;
      while (below < steps_.size() && static_cast<unsigned char>(steps_[below]) < c) ++below;
      digit = static_cast<double>(below) + 0.5;
    }
    f += digit * scale;
  }
  return f;
}

int TextStepMgr::ThumbOf(const KeyValue& value) const {
  const std::string* t = textOf(value);
  if (!t || high_ <= low_) return 0;
  return clampThumb((fraction(*t) - low_) / (high_ - low_) * 100);
}

KeyValue TextStepMgr::ValueAt(int thumb) const {
  const double base = static_cast<double>(steps_.size()) + 1;
  double f = low_ + (high_ - low_) * std::clamp(thumb, 0, 100) / 100.0;
  std::string text = prefix_;
  for (std::size_t i = 0; i < Digits; ++i) {
    f *= base;
    const double digit = std::clamp(std::floor(f), 0.0, base - 1);
    f -= digit;
    if (digit < 1) break;
    text.push_back(steps_[static_cast<std::size_t>(digit) - 1]);
  }
  return text;
}

// --- NumberStepMgr ----------------------------------------------------------------

void NumberStepMgr::Setup(const platform::KeyValue& low, const platform::KeyValue& high) {
  const std::int64_t* a = numberOf(low);
  const std::int64_t* b = numberOf(high);
  known_ = a && b && *a <= *b;
  low_ = known_ ? *a : 0;
  high_ = known_ ? *b : 0;
}

int NumberStepMgr::ThumbOf(const platform::KeyValue& value) const {
  const std::int64_t* v = numberOf(value);
  if (!known_ || !v || high_ <= low_) return 0;
  // In long double: the distance between two 64-bit values does not always
  // fit in 64 bits.
  const long double span = static_cast<long double>(high_) - static_cast<long double>(low_);
  const long double from = static_cast<long double>(*v) - static_cast<long double>(low_);
  return clampThumb(static_cast<double>(from / span * 100));
}

platform::KeyValue NumberStepMgr::ValueAt(int thumb) const {
  if (!known_) return std::int64_t{0};
  const int t = std::clamp(thumb, 0, 100);
  if (t == 0) return low_;
  if (t == 100) return high_;
  const long double span = static_cast<long double>(high_) - static_cast<long double>(low_);
  const long double at = static_cast<long double>(low_) + span * t / 100;
  return std::clamp(static_cast<std::int64_t>(std::floor(at)), low_, high_);
}

}  // namespace platform
