#pragma once
// Where the program's pictures, icons and cursors are: the folder
// "resources" that travels with the program.
//
// The rule, in one place: starting at the folder of the running executable
// and going up one folder at a time, the first folder that holds
// "resources" (the repository's own, seen from a build folder inside it) or
// "share/lanvik/resources" (an installed program: <prefix>/bin/lanvik) is
// the one.

#include <filesystem>
#include <string_view>

namespace platform::qt {

// The resources folder for an executable in `executableDir`; empty when
// none is found.
std::filesystem::path findResourceDir(const std::filesystem::path& executableDir);

// The program's resources folder (found once from the running executable,
// unless set).
const std::filesystem::path& resourceDir();
// For tests: uses `dir` from now on; empty finds it again.
void setResourceDir(std::filesystem::path dir);

// The file a description names ("logoBack.jpg"), in the resources folder.
// A name with a folder in it is taken as it is.
std::filesystem::path resourcePath(std::string_view name);

}  // namespace platform::qt
