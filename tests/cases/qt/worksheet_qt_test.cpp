// The in-court worksheet and the case totals window through the real Qt
// widgets, offscreen: an entry added from the worksheet, its totals row and
// amount to bill read from the widgets, then the case's grand total.

#include <QLineEdit>
#include <QPlainTextEdit>

#include "cases/money.h"
#include "cases/update_time_entry.h"
#include "cases/worksheets.h"
#include "tests/cases/qt/case_list_qt.h"

namespace browsetest {
namespace {

namespace ws = cases::worksheet;
namespace ic = cases::in_court;
namespace mo = cases::money;
using cases::case_list::BROWSEHOURLY;
using cases::case_list::BUTTON10;

QString shown(QWidget* w) {
  auto* label = qobject_cast<platform::qt::LabelWidget*>(w);
  return label ? label->text() : QStringLiteral("(not a label)");
}

TEST_F(CaseListQt, AnEntryAddedInTheInCourtWorksheetReachesItsTotalsAndTheGrandTotal) {
  writer->add({"2:07-CR-001", "Adams", "100"});
  open();
  click(widget(*list, BROWSEHOURLY));
  platform::Window* sheet = platform::desktop().findByCaption("IN COURT WORKSHEET");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(shown(widget(*sheet, ws::HOU_TOTALSECTION_INCOURT)), "");

  click(widget(*sheet, ws::INSERT_3));
  platform::Window* form = platform::desktop().findByCaption("Record Will Be Added");
  ASSERT_NE(form, nullptr);
  auto* description = qobject_cast<QPlainTextEdit*>(widget(*form, ic::HOU_BRIEFDESCRIPTIONSERVICES));
  ASSERT_NE(description, nullptr);
  click(description->viewport());
  QTest::keyClicks(description->viewport(), "Trial, first day");
  settle();
  auto* trial = qobject_cast<QLineEdit*>(widget(*form, ic::HOU_TRIAL));
  ASSERT_NE(trial, nullptr);
  click(trial);
  trial->selectAll();
  QTest::keyClicks(trial, "2.5");
  settle();
  auto* bail = qobject_cast<QLineEdit*>(widget(*form, ic::HOU_BAILHEARINGS));
  click(bail);
  bail->selectAll();
  QTest::keyClicks(bail, "1.5");
  settle();
  click(widget(*form, ic::OK));
  ASSERT_EQ(platform::desktop().findByCaption("Record Will Be Added"), nullptr);

  // The totals row: each total under its column; the section block.
  EXPECT_EQ(shown(widget(*sheet, ws::G(2))), "1.5");
  EXPECT_EQ(shown(widget(*sheet, ws::G(4))), "2.5");
  EXPECT_EQ(shown(widget(*sheet, ws::G(0))), "");
  EXPECT_EQ(shown(widget(*sheet, ws::HOU_IN_TOTALHOURS)), "4.0");
  EXPECT_EQ(shown(widget(*sheet, ws::HOU_TOTALSECTION_INCOURT)), "$400.00");
  auto* rows = qobject_cast<platform::qt::ListWidget*>(widget(*sheet, ws::BROWSE_1));
  ASSERT_NE(rows, nullptr);
  EXPECT_EQ(rows->table()->model()->rowCount(), 1);
  // A total stands under its column's heading.
  QTableView* t = rows->table();
  const int trialColumn = 6;
  const int columnCentre =
      t->viewport()->mapTo(desk->clientWidget(*sheet), QPoint(t->columnViewportPosition(trialColumn) + t->columnWidth(trialColumn) / 2, 0)).x();
  const QRect total = widget(*sheet, ws::G(4))->geometry();
  EXPECT_GE(columnCentre, total.left());
  EXPECT_LE(columnCentre, total.right());

  closeBox(*sheet);
  ASSERT_EQ(platform::desktop().findByCaption("IN COURT WORKSHEET"), nullptr);
  click(widget(*list, BUTTON10));
  platform::Window* money = platform::desktop().findByCaption("TOTALS");
  ASSERT_NE(money, nullptr);
  EXPECT_EQ(shown(widget(*money, mo::HOU_GRANDTOTAL)), "$400.00");
  EXPECT_EQ(shown(widget(*money, mo::HOU_TOTALSECTION_INCOURT)), "$400.00");
  closeBox(*money);
}

}  // namespace
}  // namespace browsetest
