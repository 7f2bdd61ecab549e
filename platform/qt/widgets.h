#pragma once
// The widgets that draw the controls Qt has no widget for, and the client
// area of a window. Each only draws; input goes through the desktop's
// event filter (desktop_qt.h).

#include <QAbstractSpinBox>
#include <QAbstractTableModel>
#include <QFrame>
#include <QLineEdit>
#include <QPixmap>
#include <QScrollBar>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QWidget>
#include <functional>

#include "platform/qt/look.h"
#include "platform/ui/control.h"

namespace platform::qt {

// Where a window's controls stand, at their designed positions. Paints the
// window's background colour or its tiled picture.
class ClientArea : public QWidget {
  Q_OBJECT

 public:
  explicit ClientArea(QWidget* parent = nullptr);
  void setBackground(const QColor& color, const QPixmap& picture, bool tiled);
  // The designed client size, which is also the size hint.
  void setDesignSize(QSize size);
  QSize sizeHint() const override { return design_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QColor color_;
  QPixmap picture_;
  bool tiled_ = false;
  QSize design_;
};

// A prompt or a display string: justified, optionally turned (an angle of
// 900 writes upwards), on its fill colour when it has one.
class LabelWidget : public QWidget {
  Q_OBJECT

 public:
  explicit LabelWidget(QWidget* parent = nullptr);
  void setText(const QString& text);
  QString text() const { return text_; }
  // The text marks its key with '&' ("&&" an ampersand): the character is
  // underlined as on the buttons, and the marks are not shown.
  void setMnemonic(bool on);
  bool mnemonic() const { return mnemonic_; }
  void setJustify(Justify j);
  void setAngle(int tenths);
  void setColors(const QColor& fill, const QColor& text);
  QColor fill() const { return fill_; }
  QColor ink() const { return ink_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QString text_;
  Justify justify_ = Justify::Left;
  int angle_ = 0;
  bool mnemonic_ = false;
  QColor fill_, ink_;
};

// A picture, tiled over its rectangle, or whole: as large as the rectangle
// allows in the picture's own proportions, centred, and scaled smoothly (a
// picture of the rectangle's size is drawn as it is).
class ImageWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ImageWidget(QWidget* parent = nullptr);
  void setPixmap(const QPixmap& p);
  const QPixmap& pixmap() const { return pixmap_; }
  void setTiled(bool on);
  bool tiled() const { return tiled_; }
  // Where a whole picture is drawn.
  QRect pictureRect() const;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QPixmap pixmap_;
  QPixmap scaled_;  // the picture at the size it was last drawn
  bool tiled_ = false;
};

// A box or a panel: its fill colour, with a border when boxed.
class BoxWidget : public QFrame {
  Q_OBJECT

 public:
  explicit BoxWidget(bool panel, QWidget* parent = nullptr);
  void setColors(const QColor& fill, const QColor& border);
  QColor fill() const { return fill_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QColor fill_, border_;
};

// A tab sheet: the tabs along the top, a frame under them. The controls on
// the tabs are the window's and stand over the frame.
class SheetWidget : public QWidget {
  Q_OBJECT

 public:
  explicit SheetWidget(QWidget* parent = nullptr);
  QTabBar* bar() const { return bar_; }

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  QTabBar* bar_;
  QFrame* frame_;
};

// A button of the frame's toolbar: its text with its icon right of it, the
// two together in the middle of the button, so that each icon stands by its
// own text however wide the button is.
class ToolbarButton : public QToolButton {
  Q_OBJECT

 public:
  explicit ToolbarButton(QWidget* parent = nullptr);
  // Where the text and the icon are drawn (an empty icon rectangle when the
  // button has no icon).
  QRect textRect() const;
  QRect iconRect() const;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void layout(QRect* text, QRect* icon) const;
};

// An entry with up and down arrows; its text is whatever the control's
// picture shows (a date as well as a number), so the steps are the model's.
class SpinEntry : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit SpinEntry(QWidget* parent = nullptr);
  QLineEdit* edit() const { return lineEdit(); }
  std::function<void(int)> onStep;
  void stepBy(int steps) override;

 protected:
  StepEnabled stepEnabled() const override;
};

// The rows a list holds now (a page), read from the control.
class ListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ListModel(Control* list, QObject* parent = nullptr);
  // The control is about to go.
  void detach();
  void reload();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  Control* list_;
};

// A list: the table of the loaded rows and, when the control has one, its
// own vertical scroll bar. The table never scrolls by itself: the list
// object loads the page to show.
class ListWidget : public QWidget {
  Q_OBJECT

 public:
  ListWidget(Control* list, QWidget* parent = nullptr);
  QTableView* table() const { return table_; }
  QScrollBar* scrollBar() const { return bar_; }
  ListModel* model() const { return model_; }
  // Rows that fit in the table's viewport, whole rows only (at least 1).
  int visibleRows() const;
  void applyColumns(const std::vector<ListColumn>& columns, const DialogUnits& units);

 private:
  QTableView* table_;
  QScrollBar* bar_;
  ListModel* model_;
};

Qt::Alignment alignmentOf(Justify j);

}  // namespace platform::qt
