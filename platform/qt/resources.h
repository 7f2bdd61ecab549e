#pragma once
// Where the program's pictures, icons and cursors are: built into the
// program itself with Qt's resource system, from the files of the source
// tree's folder "resources" (platform/qt/CMakeLists.txt lists them), so the
// program is one file that finds them wherever it is built, copied or
// installed.
//
// A name a description gives ("logoBack.jpg") is the built-in file of that
// name; a name with a folder in it is a file on disk, taken as it is.

#include <QString>
#include <filesystem>
#include <string_view>

namespace platform::qt {

// The file behind a name, as Qt's file classes open it (":/lanvik/..." for
// a built-in file).
QString resourcePath(std::string_view name);

// For tests: names are looked up in `dir` from now on, in place of the
// built-in files; an empty path brings the built-in files back.
void setResourceDir(std::filesystem::path dir);

}  // namespace platform::qt
