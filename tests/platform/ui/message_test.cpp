// Message boxes through the port, answered by script.

#include <string>
#include <vector>

#include "tests/platform/ui/ui_fixture.h"

namespace platform::test {
namespace {

// Shows the boxes one after another on a logical thread and keeps the
// answers.
std::vector<unsigned> show(HeadlessDriver& drv, const std::vector<MessageRequest>& boxes) {
  std::vector<unsigned> answers;
  drv.start([&] {
    for (const MessageRequest& r : boxes) answers.push_back(message(r.text, r.title, r.icon, r.buttons));
  });
  return answers;
}

MessageRequest box(std::string title, std::string text, unsigned buttons, MsgIcon icon = MsgIcon::None) {
  MessageRequest r;
  r.title = std::move(title);
  r.text = std::move(text);
  r.buttons = buttons;
  r.icon = icon;
  return r;
}

TEST_F(Ui, BoxesAreAnsweredFromTheQueueInOrder) {
  drv.answer(BtnOk);
  drv.answer(BtnNo);
  drv.answer(BtnCancel);
  auto answers = show(drv, {box("Halt", "Incorrect Password! This program will be terminated.", BtnOk, MsgIcon::Stop),
                            box("Confirm Delete", "Are you sure?", BtnYes | BtnNo),
                            box("Record Update Error", "Try again?", BtnYes | BtnNo | BtnCancel)});
  EXPECT_EQ(answers, (std::vector<unsigned>{BtnOk, BtnNo, BtnCancel}));
  ASSERT_EQ(drv.messages().size(), 3u);
  EXPECT_EQ(drv.messages()[0].title, "Halt");
  EXPECT_EQ(drv.messages()[0].icon, MsgIcon::Stop);
  EXPECT_EQ(drv.messages()[2].text, "Try again?");
}

TEST_F(Ui, BoxShowsItsTextWithLineBreaksAndItsButtons) {
  std::string shown;
  std::vector<std::string> buttons;
  drv.answerWith([&](const MessageRequest&) {
    Window& b = drv.window("ERROR");
    shown = b.control(MessageTextControl).text();
    for (const auto& c : b.controls())
      if (c->kind() == ControlKind::Button) buttons.push_back(c->text() + (c->isDefault() ? "*" : ""));
    return BtnYes;
  });
  show(drv, {box("ERROR", "Passwords do not match,|please try again!", BtnYes | BtnNo | BtnCancel)});
  EXPECT_EQ(shown, "Passwords do not match,\nplease try again!");
  EXPECT_EQ(buttons, (std::vector<std::string>{"&Yes*", "&No", "&Cancel"}));
}

TEST_F(Ui, BoxClosedWithoutAButtonAnswersCancelThenNoThenOk) {
  for (int i = 0; i < 3; ++i) drv.answer(CloseBox);
  auto answers = show(drv, {box("a", "", BtnYes | BtnNo | BtnCancel), box("b", "", BtnYes | BtnNo), box("c", "", BtnOk)});
  EXPECT_EQ(answers, (std::vector<unsigned>{BtnCancel, BtnNo, BtnOk}));
}

TEST_F(Ui, BoxWithoutAnAnswerFailsClearly) {
  try {
    show(drv, {box("Duplicate Key Error", "Adding this record creates a duplicate entry", BtnOk)});
    FAIL() << "an unanswered box must fail the test";
  } catch (const DriverError& e) {
    EXPECT_NE(std::string(e.what()).find("Duplicate Key Error"), std::string::npos) << e.what();
  }
}

TEST_F(Ui, AnswerTheBoxDoesNotOfferFailsClearly) {
  drv.answerWith([](const MessageRequest&) { return BtnYes; });
  EXPECT_THROW(show(drv, {box("OK only", "", BtnOk)}), DriverError);
}

TEST(MessageBox, OutsideALogicalThreadAnswersItsDefaultButton) {
  EXPECT_EQ(message("text", "title", MsgIcon::None, BtnYes | BtnNo), BtnYes);
  EXPECT_EQ(message("text", "title", MsgIcon::None, BtnYes | BtnNo, BtnNo), BtnNo);
  EXPECT_TRUE(desktop().windows().empty()) << "no window is made";
}

}  // namespace
}  // namespace platform::test
