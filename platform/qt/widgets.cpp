#include "platform/qt/widgets.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <algorithm>

namespace platform::qt {

Qt::Alignment alignmentOf(Justify j) {
  switch (j) {
    case Justify::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case Justify::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case Justify::Left: break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// --- client area ------------------------------------------------------------

ClientArea::ClientArea(QWidget* parent) : QWidget(parent) {}

void ClientArea::setBackground(const QColor& color, const QPixmap& picture, bool tiled) {
  color_ = color;
  picture_ = picture;
  tiled_ = tiled;
  update();
}

void ClientArea::setDesignSize(QSize size) {
  design_ = size;
  updateGeometry();
}

void ClientArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), color_.isValid() ? color_ : palette().color(QPalette::Window));
  if (picture_.isNull()) return;
  if (tiled_)
    p.drawTiledPixmap(rect(), picture_);
  else
    p.drawPixmap(0, 0, picture_);
}

// --- label ------------------------------------------------------------------

LabelWidget::LabelWidget(QWidget* parent) : QWidget(parent) {}

void LabelWidget::setText(const QString& text) {
  if (text_ == text) return;
  text_ = text;
  update();
}

void LabelWidget::setMnemonic(bool on) {
  if (mnemonic_ == on) return;
  mnemonic_ = on;
  update();
}

void LabelWidget::setJustify(Justify j) {
  justify_ = j;
  update();
}

void LabelWidget::setAngle(int tenths) {
  angle_ = tenths;
  update();
}

void LabelWidget::setColors(const QColor& fill, const QColor& text) {
  fill_ = fill;
  ink_ = text;
  update();
}

void LabelWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (fill_.isValid()) p.fillRect(rect(), fill_);
  p.setPen(ink_.isValid() ? ink_ : palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                                   QPalette::WindowText));
  p.setFont(font());
  Qt::Alignment align = alignmentOf(justify_);
  const bool lines = text_.contains(u'\n');
  if (lines) align = (align & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
  int marks = 0;
  if (mnemonic_)
    marks = style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this) ? Qt::TextShowMnemonic
                                                                              : Qt::TextHideMnemonic;
  if (angle_ == 0) {
    p.drawText(rect(), static_cast<int>(align) | Qt::TextWordWrap | marks, text_);
    return;
  }
  // Turned text: the painter is turned about the centre and the text laid
  // out in the turned box.
  QRectF box(0, 0, width(), height());
  const double degrees = -angle_ / 10.0;
  p.translate(box.center());
  p.rotate(degrees);
  const bool upright = (angle_ / 900) % 2 != 0;
  QRectF turned = upright ? QRectF(-box.height() / 2, -box.width() / 2, box.height(), box.width())
                          : QRectF(-box.width() / 2, -box.height() / 2, box.width(), box.height());
  p.drawText(turned, static_cast<int>((align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter) | marks, text_);
}

// --- image ------------------------------------------------------------------

ImageWidget::ImageWidget(QWidget* parent) : QWidget(parent) {}

void ImageWidget::setPixmap(const QPixmap& p) {
  pixmap_ = p;
  scaled_ = QPixmap();
  update();
}

void ImageWidget::setTiled(bool on) {
  tiled_ = on;
  update();
}

QRect ImageWidget::pictureRect() const {
  if (pixmap_.isNull()) return {};
  const QSize size = pixmap_.size().scaled(this->size(), Qt::KeepAspectRatio);
  return {QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

void ImageWidget::paintEvent(QPaintEvent*) {
  if (pixmap_.isNull()) return;
  QPainter p(this);
  if (tiled_) {
    p.drawTiledPixmap(rect(), pixmap_);
    return;
  }
  const QRect target = pictureRect();
  if (target.isEmpty()) return;
  if (target.size() == pixmap_.size()) {
    p.drawPixmap(target.topLeft(), pixmap_);
    return;
  }
  if (scaled_.size() != target.size())
    scaled_ = pixmap_.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  p.drawPixmap(target.topLeft(), scaled_);
}

// --- box and panel ----------------------------------------------------------

BoxWidget::BoxWidget(bool panel, QWidget* parent) : QFrame(parent) {
  if (panel) setFrameStyle(QFrame::Panel | QFrame::Raised);
}

void BoxWidget::setColors(const QColor& fill, const QColor& border) {
  fill_ = fill;
  border_ = border;
  update();
}

void BoxWidget::paintEvent(QPaintEvent* e) {
  {
    QPainter p(this);
    if (fill_.isValid()) p.fillRect(rect(), fill_);
    if (border_.isValid()) {
      p.setPen(border_);
      p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
  }
  QFrame::paintEvent(e);
}

// --- sheet ------------------------------------------------------------------

SheetWidget::SheetWidget(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)), frame_(new QFrame(this)) {
  bar_->setFocusPolicy(Qt::NoFocus);
  bar_->setDrawBase(false);
  bar_->setExpanding(false);
  frame_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  frame_->lower();
}

void SheetWidget::resizeEvent(QResizeEvent*) {
  const int h = bar_->sizeHint().height();
  bar_->setGeometry(0, 0, width(), h);
  frame_->setGeometry(0, h - 1, width(), std::max(0, height() - h + 1));
}

// --- toolbar button ---------------------------------------------------------

ToolbarButton::ToolbarButton(QWidget* parent) : QToolButton(parent) {
  setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

void ToolbarButton::layout(QRect* text, QRect* icon) const {
  const QRect content = rect().adjusted(4, 2, -4, -2);
  // The icon size the button's toolbar gives its buttons.
  QStyleOptionToolButton opt;
  initStyleOption(&opt);
  const QSize iconSize = this->icon().isNull() ? QSize() : opt.iconSize;
  const int gap = iconSize.isEmpty() || QToolButton::text().isEmpty() ? 0 : 4;
  const int textWidth = fontMetrics().size(Qt::TextShowMnemonic, QToolButton::text()).width();
  const int room = std::max(0, content.width() - gap - iconSize.width());
  const int shownText = std::min(textWidth, room);
  const int left = content.x() + std::max(0, (content.width() - shownText - gap - iconSize.width()) / 2);
  *text = QRect(left, content.y(), shownText, content.height());
  *icon = iconSize.isEmpty() ? QRect()
                             : QRect(left + shownText + gap, content.y() + (content.height() - iconSize.height()) / 2,
                                     iconSize.width(), iconSize.height());
}

QRect ToolbarButton::textRect() const {
  QRect text, icon;
  layout(&text, &icon);
  return text;
}

QRect ToolbarButton::iconRect() const {
  QRect text, icon;
  layout(&text, &icon);
  return icon;
}

void ToolbarButton::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionToolButton opt;
  initStyleOption(&opt);
  // The style draws the button's face only; the label is laid out here.
  opt.text.clear();
  opt.icon = QIcon();
  p.drawComplexControl(QStyle::CC_ToolButton, opt);
  QRect text, icon;
  layout(&text, &icon);
  if (!icon.isEmpty()) {
    const QIcon::Mode mode = !isEnabled() ? QIcon::Disabled : underMouse() ? QIcon::Active : QIcon::Normal;
    this->icon().paint(&p, icon, Qt::AlignCenter, mode, isChecked() ? QIcon::On : QIcon::Off);
  }
  const QString shown =
      fontMetrics().elidedText(QToolButton::text(), Qt::ElideRight, text.width(), Qt::TextShowMnemonic);
  p.drawItemText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(), isEnabled(), shown,
                 QPalette::ButtonText);
}

// --- spin box ---------------------------------------------------------------

SpinEntry::SpinEntry(QWidget* parent) : QAbstractSpinBox(parent) {
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  setKeyboardTracking(true);
}

void SpinEntry::stepBy(int steps) {
  if (onStep) onStep(steps);
}

QAbstractSpinBox::StepEnabled SpinEntry::stepEnabled() const {
  if (isReadOnly()) return StepNone;
  return StepUpEnabled | StepDownEnabled;
}

// --- list -------------------------------------------------------------------

ListModel::ListModel(Control* list, QObject* parent) : QAbstractTableModel(parent), list_(list) {}

void ListModel::detach() {
  beginResetModel();
  list_ = nullptr;
  endResetModel();
}

void ListModel::reload() {
  beginResetModel();
  endResetModel();
}

int ListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !list_) return 0;
  return list_->rowCount();
}

int ListModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid() || !list_) return 0;
  return std::max<int>(1, static_cast<int>(list_->columns().size()));
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!list_ || !index.isValid() || index.row() >= list_->rowCount()) return {};
  const auto& columns = list_->columns();
  const std::size_t col = static_cast<std::size_t>(index.column());
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(list_->cell(index.row() + 1, index.column() + 1));
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(col < columns.size() ? alignmentOf(columns[col].justify)
                                                      : alignmentOf(Justify::Left));
    default:
      return {};
  }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (!list_ || orientation != Qt::Horizontal) return {};
  const auto& columns = list_->columns();
  const std::size_t col = static_cast<std::size_t>(section);
  if (col >= columns.size()) return {};
  if (role == Qt::DisplayRole) return QString::fromStdString(columns[col].heading);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(alignmentOf(columns[col].headingJustify));
  return {};
}

ListWidget::ListWidget(Control* list, QWidget* parent)
    : QWidget(parent), table_(new QTableView(this)), bar_(new QScrollBar(Qt::Vertical, this)),
      model_(new ListModel(list, this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(table_, 1);
  layout->addWidget(bar_);
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setAutoScroll(false);  // a selected row out of sight does not move the rows
  table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  table_->verticalHeader()->hide();
  table_->setShowGrid(false);
  table_->setWordWrap(false);
  table_->setTabKeyNavigation(false);
  table_->setFocusPolicy(Qt::NoFocus);
  table_->horizontalHeader()->setHighlightSections(false);
  table_->horizontalHeader()->setSectionsClickable(false);
  table_->horizontalHeader()->setStretchLastSection(true);
  bar_->setRange(0, 100);
  bar_->setPageStep(10);
  bar_->setFocusPolicy(Qt::NoFocus);
  setFocusPolicy(Qt::TabFocus);
}

int ListWidget::visibleRows() const {
  const int rowHeight = std::max(1, table_->verticalHeader()->defaultSectionSize());
  int height = table_->viewport()->height();
  if (!table_->isVisible()) {
    // Not laid out yet: the widget's height less the heading and the frame.
    height = this->height() - 2 * table_->frameWidth() -
             (table_->horizontalHeader()->isHidden() ? 0 : table_->horizontalHeader()->sizeHint().height());
  }
  return std::max(1, height / rowHeight);
}

void ListWidget::applyColumns(const std::vector<ListColumn>& columns, const DialogUnits& units) {
  bool heading = false;
  for (const ListColumn& c : columns) heading = heading || !c.heading.empty();
  table_->horizontalHeader()->setVisible(heading);
  model_->reload();
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (columns[i].width > 0) table_->setColumnWidth(static_cast<int>(i), units.toX(columns[i].width));
  const int rowHeight = fontMetrics().height() + 4;
  table_->verticalHeader()->setMinimumSectionSize(1);
  table_->verticalHeader()->setDefaultSectionSize(rowHeight);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

}  // namespace platform::qt
