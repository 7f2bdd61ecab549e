#pragma once
// The about window SPLASH, the help window FAQ and ShellOpen.
//
// SPLASH shows the product's title, version and logo; the frame calls it
// directly and waits until it is closed. FAQ tells where to get help: a web
// address and a mail address, each covered by a link area. Over a link the
// pointer is a hand and the address is drawn in the link colour; a release
// of the mouse button over it opens the web address as shown, or "MailTo:"
// followed by the mail address shown, with the desktop's default handler.
// The window stays open, and every release opens the link again. Neither
// window has a button: the close box closes it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/ui/style.h"

namespace app {

void SPLASH();
void FAQ();

// Opens a link (a web page or a mail address) with the desktop's default
// handler, on behalf of the window `handle` (the desktop's handler needs no
// window, so it is not used): trailing blanks removed, at most ShellOpenMax
// characters kept. Nothing is reported when nothing could open it.
void ShellOpen(std::int32_t handle, std::string_view link);
inline constexpr std::size_t ShellOpenMax = 3255;

// What the help window shows and opens.
inline constexpr const char* HelpWebAddress = "https://www.pellmark.example";
inline constexpr const char* HelpMailAddress = "support@pellmark.example";
// The colour of a link under the pointer; black otherwise.
inline constexpr platform::Color LinkHoverColor = platform::rgb(0x00, 0x66, 0xCC);

// Controls of the about window "Pellmark- Version 2007.1".
namespace splash {
inline constexpr int IMAGE1 = 1;
inline constexpr int STRING5 = 2;
inline constexpr int IMAGE2 = 3;
inline constexpr int STRING3 = 4;
inline constexpr int STRING2 = 5;
inline constexpr int STRING1 = 6;
inline constexpr int STRING4 = 7;
}  // namespace splash

// Controls of the help window "FAQ - Frequent Asked Questions".
namespace faq {
inline constexpr int IMAGE1 = 1;
inline constexpr int IMAGE1_2 = 2;
inline constexpr int STRING1 = 3;
inline constexpr int STRING2 = 4;
inline constexpr int STRINGWWW = 5;
inline constexpr int STRING2_2 = 6;
inline constexpr int STRINGEMAIL = 7;
inline constexpr int IMAGE3 = 8;
// The link areas, made when the window opens.
inline constexpr int WwwLink = 100;
inline constexpr int MailLink = 101;
}  // namespace faq

}  // namespace app
