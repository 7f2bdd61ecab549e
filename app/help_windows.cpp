#include "app/help_windows.h"

#include <string>

#include "app/describe.h"
#include "app/frame/procedure_window.h"
#include "platform/os/services.h"
#include "platform/os/text_limits.h"
#include "platform/types/latin1.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace app {

namespace {

using namespace platform::describe;
using platform::ControlKind;
using platform::Window;
using platform::WindowKind;
using platform::WindowSpec;

constexpr const char* Logo = "lanv.gif";

WindowSpec infoSpec(std::string caption, platform::Rect rect) {
  WindowSpec s = DescribeOwnWindow(std::move(caption), rect);
  s.resizable = true;
  return s;
}

void describeSplash(Window& w) {
  using namespace splash;
  w.add(image(IMAGE1, {8, 8, 120, 37}, Logo));
  w.add(control(STRING5, ControlKind::String, {129, 8, 8, 10}, "\u00AE"));
  w.add(image(IMAGE2, {172, 10, 20, 20}, ProgramIcon));
  w.add(control(STRING3, ControlKind::String, {8, 56, 184, 12}, "Pellmark Version").font({"Arial", 12, true}));
  w.add(control(STRING2, ControlKind::String, {8, 72, 36, 10}, "Version:"));
  w.add(control(STRING1, ControlKind::String, {46, 72, 60, 10}, "2007.1"));
  w.add(control(STRING4, ControlKind::String, {8, 88, 184, 10},
                "Time and expense billing for court-appointed counsel."));
}

void describeFaq(Window& w) {
  using namespace faq;
  w.add(image(IMAGE1, {8, 8, 20, 20}, "help.ico"));
  w.add(image(IMAGE1_2, {212, 8, 20, 20}, ProgramIcon));
  w.add(control(STRING1, ControlKind::String, {34, 8, 170, 20}, "Need Help?").font({"Arial", 16, true}));
  w.add(control(STRING2, ControlKind::String, {8, 34, 224, 10}, "You can get the help you need at our website..."));
  w.add(control(STRINGWWW, ControlKind::String, {20, 46, 130, 10}, HelpWebAddress));
  w.add(control(STRING2_2, ControlKind::String, {8, 60, 224, 10}, "or email us at:"));
  w.add(control(STRINGEMAIL, ControlKind::String, {20, 72, 130, 10}, HelpMailAddress));
  w.add(image(IMAGE3, {8, 86, 120, 37}, Logo));
}

class SplashWindow final : public ProcedureWindow {
 public:
  using ProcedureWindow::ProcedureWindow;
};

class FaqWindow final : public ProcedureWindow {
 public:
  using ProcedureWindow::ProcedureWindow;

  int OnControlEvent() override {
    const platform::Event& e = event();
    if (e.control == faq::WwwLink || e.control == faq::MailLink) {
      platform::Control& shown = window().control(e.control == faq::WwwLink ? faq::STRINGWWW : faq::STRINGEMAIL);
      switch (e.kind) {
        case platform::EventKind::PointerUp:
          ShellOpen(window().id(), e.control == faq::WwwLink ? shown.text() : "MailTo:" + shown.text());
          break;
        case platform::EventKind::PointerIn: shown.setFontColor(LinkHoverColor); break;
        case platform::EventKind::PointerOut: shown.setFontColor(0); break;
        default: break;
      }
    }
    return ProcedureWindow::OnControlEvent();
  }

 protected:
  // A link area over each address, made once the window is open.
  void SetupOpenWindow() override {
    for (auto [area, shown] : {std::pair{faq::WwwLink, faq::STRINGWWW}, std::pair{faq::MailLink, faq::STRINGEMAIL}}) {
      platform::Control& text = window().control(shown);
      window().add(control(area, ControlKind::Region, text.rect()).cursor(platform::CursorShape::Hand));
      text.setFontColor(0);
    }
  }
};

}  // namespace

void ShellOpen(std::int32_t, std::string_view link) {
  const std::string text(platform::cutToCharacters(platform::rtrim(link), ShellOpenMax));
  platform::openLink(text);  // nothing is reported when no handler opens it
}

void SPLASH() {
  Window w(infoSpec("Pellmark- Version 2007.1", {0, 0, 200, 104}));
  describeSplash(w);
  platform::WindowFitter resizer;
  SplashWindow thisWindow(w, "SPLASH");
  thisWindow.SetResizer(resizer);
  RunProcedureWindow(thisWindow);
}

void FAQ() {
  Window w(infoSpec("FAQ - Frequent Asked Questions", {0, 0, 240, 130}));
  describeFaq(w);
  platform::WindowFitter resizer;
  FaqWindow thisWindow(w, "FAQ");
  thisWindow.SetResizer(resizer);
  RunProcedureWindow(thisWindow);
}

}  // namespace app
