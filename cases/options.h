#pragma once
// "BOX 21": the window with the table of the claim form's case-disposition
// codes, shown from the case form. The user reads the code off the picture
// and chooses it in the case form's list; nothing passes between the two
// windows. "e x i t" and the close box close it with ResponseCancelled.

namespace cases {

void OPTIONS();

// The window's controls, by number.
namespace options {
constexpr int IMAGE1 = 1;
constexpr int OK = 2;
constexpr int CANCEL = 3;  // hidden
constexpr int HELP = 4;    // hidden

// The picture of the code table, a resource that travels with the program.
inline constexpr const char* CodeTablePicture = "box21.jpg";
}  // namespace options

}  // namespace cases
