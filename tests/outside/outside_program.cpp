// Written as a program outside the project might be: an old-style cast and
// a shadowed name, both errors under the project's own settings.
#include <cstdio>

#include "platform/types/latin1.h"

int main() {
  const double width = 4.0;
  int n = (int)width;
  {
    int n = 0;
    (void)n;
  }
  const bool converted = platform::latin1ToUtf8("\xE9") == "\xC3\xA9";
  std::printf("%s\n", converted ? "linked and converted" : "wrong conversion");
  return converted && n == 4 ? 0 : 1;
}
