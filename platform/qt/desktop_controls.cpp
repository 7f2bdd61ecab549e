// The desktop's controls as the model has them: text, colours, states,
// choices, selections and the focus, put on the widgets whenever the model
// changes them.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include "platform/qt/desktop_qt.h"
#include "platform/qt/desktop_views.h"
#include "platform/qt/images.h"
#include "platform/qt/widgets.h"
#include "platform/ui/window.h"

namespace platform::qt {

void QtDesktop::applyAll(WindowView& v, ControlView& cv) {
  for (Prop p : {Prop::Position, Prop::Font, Prop::Text, Prop::ReadOnly, Prop::Fill, Prop::Tip, Prop::Cursor,
                 Prop::Checked, Prop::Default, Prop::Choices, Prop::Selected, Prop::Thumb, Prop::Value,
                 Prop::StatusText, Prop::Icon})
    applyProp(v, cv, p);
  applyStates(v);
}

void QtDesktop::applyColors(ControlView& cv) {
  QWidget* w = cv.widget;
  if (!w) return;
  const Control& c = *cv.control;
  const QColor fill = toQColor(c.fill());
  const QColor ink = toQColor(c.fontColor());
  if (auto* label = qobject_cast<LabelWidget*>(w)) {
    label->setColors(fill, ink);
    return;
  }
  if (auto* box = qobject_cast<BoxWidget*>(w)) {
    box->setColors(fill, c.spec().boxed ? (ink.isValid() ? ink : QColor(Qt::black)) : QColor());
    return;
  }
  QPalette pal = w->parentWidget() ? w->parentWidget()->palette() : QApplication::palette();
  if (fill.isValid()) {
    pal.setColor(QPalette::Window, fill);
    pal.setColor(QPalette::Base, fill);
    pal.setColor(QPalette::Button, fill);
  }
  if (ink.isValid()) {
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
      pal.setColor(g, QPalette::WindowText, ink);
      pal.setColor(g, QPalette::Text, ink);
      pal.setColor(g, QPalette::ButtonText, ink);
    }
  }
  w->setPalette(pal);
  const bool opaqueKind = c.kind() == ControlKind::Check || c.kind() == ControlKind::Radio ||
                          c.kind() == ControlKind::Option || c.kind() == ControlKind::Region;
  w->setAutoFillBackground(fill.isValid() && opaqueKind && !c.spec().transparent);
}

void QtDesktop::applyProp(WindowView& v, ControlView& cv, Prop p) {
  Control& c = *cv.control;
  const ControlSpec& s = c.spec();
  QWidget* w = cv.widget;
  const QString text = qs(c.text());
  switch (p) {
    case Prop::Position:
      if (w && w->parentWidget() == hostOf(v)) w->setGeometry(v.du.toPixels(c.rect()));
      if (c.kind() == ControlKind::List) reportPageRows(cv);
      break;
    case Prop::Font:
      if (w) w->setFont(toQFont(c.font(), v.font));
      if (c.kind() == ControlKind::List)
        if (auto* list = qobject_cast<ListWidget*>(w)) list->applyColumns(s.columns, v.du);
      break;
    case Prop::Text:
      switch (c.kind()) {
        case ControlKind::Prompt:
          if (auto* l = qobject_cast<LabelWidget*>(w)) {
            l->setMnemonic(true);
            l->setText(text);
          }
          break;
        case ControlKind::String:
          if (auto* l = qobject_cast<LabelWidget*>(w)) l->setText(text);
          break;
        case ControlKind::Entry:
          if (auto* e = qobject_cast<QLineEdit*>(w); e && e->text() != text) e->setText(text);
          break;
        case ControlKind::Text:
          if (auto* t = qobject_cast<QPlainTextEdit*>(w); t && t->toPlainText() != text) t->setPlainText(text);
          break;
        case ControlKind::Spin:
          if (auto* sp = qobject_cast<SpinEntry*>(w); sp && sp->edit()->text() != text) sp->edit()->setText(text);
          break;
        case ControlKind::Combo:
        case ControlKind::DropCombo:
          if (auto* b = qobject_cast<QComboBox*>(w); b && b->lineEdit() && b->lineEdit()->text() != text)
            b->lineEdit()->setText(text);
          break;
        case ControlKind::Button:
        case ControlKind::Check:
        case ControlKind::Radio:
          if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text);
          break;
        case ControlKind::Option:
          if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text);
          break;
        case ControlKind::Tab:
          if (ControlView* sheet = controlView(v, c.parent()))
            if (auto* sw = qobject_cast<SheetWidget*>(sheet->widget.data()))
              sw->bar()->setTabText(c.position() - 1, text);
          break;
        case ControlKind::Image:
          if (auto* im = qobject_cast<ImageWidget*>(w)) {
            const std::string& name = c.text();
            if (name == "information" || name == "exclamation" || name == "question" || name == "stop") {
              const QSize size = im->size().isEmpty() ? QSize(32, 32) : im->size();
              im->setPixmap(loadIcon(name).pixmap(size));
            } else {
              im->setPixmap(loadPixmap(name));
            }
            im->setTiled(s.tiled);
          }
          break;
        case ControlKind::Menu:
          if (cv.menu) cv.menu->setTitle(text);
          break;
        case ControlKind::Item:
          if (cv.action && !cv.action->isSeparator()) cv.action->setText(text);
          break;
        default: break;
      }
      break;
    case Prop::ReadOnly:
      if (auto* e = qobject_cast<QLineEdit*>(w)) e->setReadOnly(c.readOnly());
      if (auto* t = qobject_cast<QPlainTextEdit*>(w)) t->setReadOnly(c.readOnly());
      if (auto* sp = qobject_cast<SpinEntry*>(w)) sp->setReadOnly(c.readOnly());
      if (auto* b = qobject_cast<QComboBox*>(w); b && b->lineEdit()) b->lineEdit()->setReadOnly(c.readOnly());
      break;
    case Prop::Fill:
    case Prop::FontColor: applyColors(cv); break;
    case Prop::Tip:
      if (w) w->setToolTip(qs(c.tip()));
      if (cv.action && !w) cv.action->setToolTip(qs(c.tip()));
      break;
    case Prop::Cursor:
      if (w) {
        if (c.cursor() == CursorShape::Default)
          w->unsetCursor();
        else
          w->setCursor(cursorFor(c.cursor()));
      }
      break;
    case Prop::Checked:
      if (c.kind() == ControlKind::Check) {
        if (auto* b = qobject_cast<QCheckBox*>(w)) b->setChecked(c.checked());
      } else if (c.kind() == ControlKind::Item && cv.action) {
        if (c.checked()) cv.action->setCheckable(true);
        cv.action->setChecked(c.checked());
      }
      break;
    case Prop::Default:
      if (auto* b = qobject_cast<QPushButton*>(w); b && c.kind() == ControlKind::Button) b->setDefault(c.isDefault());
      break;
    case Prop::Choices:
      if (auto* b = qobject_cast<QComboBox*>(w)) {
        b->clear();
        for (const std::string& choice : c.choices()) b->addItem(qs(choice));
        if (c.kind() == ControlKind::DropList)
          b->setCurrentIndex(c.selected() - 1);
        else if (b->lineEdit())
          b->lineEdit()->setText(text);
      }
      break;
    case Prop::Selected:
      switch (c.kind()) {
        case ControlKind::List: syncListSelection(cv); break;
        case ControlKind::Sheet:
          syncSheet(v, cv);
          applyStates(v);
          break;
        case ControlKind::Option: syncRadios(v, c); break;
        case ControlKind::DropList:
          if (auto* b = qobject_cast<QComboBox*>(w)) b->setCurrentIndex(c.selected() - 1);
          break;
        default: break;
      }
      break;
    case Prop::Thumb:
      if (auto* list = qobject_cast<ListWidget*>(w)) list->scrollBar()->setValue(c.thumb());
      break;
    case Prop::Value:
      if (auto* bar = qobject_cast<QProgressBar*>(w)) bar->setValue(c.value());
      break;
    case Prop::StatusText:
      if (cv.action) cv.action->setStatusTip(qs(c.statusText()));
      break;
    case Prop::Icon:
      if (auto* b = qobject_cast<QAbstractButton*>(w); b && !c.icon().empty()) {
        // An icon that draws nothing (a blank one) takes no room beside the
        // text either, which stays in the middle of the button.
        const QIcon icon = loadIcon(c.icon());
        b->setIcon(drawsNothing(icon) ? QIcon() : icon);
      }
      break;
    case Prop::Hidden:
    case Prop::Disabled: applyStates(v); break;
    default: break;
  }
}

void QtDesktop::applyStates(WindowView& v) {
  for (int n : v.order) {
    ControlView* cv = controlView(v, n);
    if (!cv) continue;
    Control& c = *cv->control;
    switch (c.kind()) {
      case ControlKind::Tab:
        if (ControlView* sheet = controlView(v, c.parent()))
          if (auto* sw = qobject_cast<SheetWidget*>(sheet->widget.data())) {
            const int index = c.position() - 1;
            sw->bar()->setTabVisible(index, !c.hidden());
            sw->bar()->setTabEnabled(index, c.enabled());
          }
        break;
      case ControlKind::Menu:
      case ControlKind::Item:
        if (cv->action) {
          cv->action->setVisible(!c.hidden());
          cv->action->setEnabled(!c.disabled());
        }
        break;
      default:
        if (QWidget* widget = cv->widget) {
          if (QAction* action = cv->action) {  // a toolbar button
            action->setVisible(!c.hidden());
          } else {
            widget->setVisible(c.visible());
          }
          widget->setEnabled(c.enabled());
        }
        break;
    }
  }
  if (v.main) applyInput(v);
}

void QtDesktop::syncRadios(WindowView& v, Control& option) {
  for (auto& [n, cv] : v.controls)
    if (cv.control->kind() == ControlKind::Radio && cv.control->parent() == option.number())
      if (auto* b = qobject_cast<QAbstractButton*>(cv.widget.data()))
        b->setChecked(cv.control->position() == option.selected());
}

void QtDesktop::syncListSelection(ControlView& cv) {
  auto* list = qobject_cast<ListWidget*>(cv.widget.data());
  if (!list) return;
  QItemSelectionModel* sel = list->table()->selectionModel();
  const int row = cv.control->selected();
  if (row < 1 || row > list->model()->rowCount()) {
    sel->clearSelection();
    return;
  }
  QModelIndex index = list->model()->index(row - 1, 0);
  sel->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void QtDesktop::syncSheet(WindowView&, ControlView& sheet) {
  auto* sw = qobject_cast<SheetWidget*>(sheet.widget.data());
  if (!sw) return;
  Sync sync(*this);
  const int index = sheet.control->selected() - 1;
  if (index >= 0 && index < sw->bar()->count() && sw->bar()->currentIndex() != index) sw->bar()->setCurrentIndex(index);
}

void QtDesktop::reportPageRows(ControlView& cv) {
  auto* list = qobject_cast<ListWidget*>(cv.widget.data());
  if (!list) return;
  const int rows = list->visibleRows();
  if (rows != cv.control->pageRows()) cv.control->setPageRows(rows);
}

void QtDesktop::rowsChanged(Window& w, Control& c) {
  WindowView* v = view(w);
  ControlView* cv = v ? controlView(*v, c.number()) : nullptr;
  auto* list = cv ? qobject_cast<ListWidget*>(cv->widget.data()) : nullptr;
  if (!list) return;
  Sync sync(*this);
  list->model()->reload();
  syncListSelection(*cv);
}

void QtDesktop::propertyChanged(Window& w, Control& c, Prop p) {
  WindowView* v = view(w);
  ControlView* cv = v ? controlView(*v, c.number()) : nullptr;
  if (!cv) return;
  Sync sync(*this);
  applyProp(*v, *cv, p);
}

void QtDesktop::focusChanged(Window& w, int control) {
  WindowView* v = view(w);
  if (!v) return;
  Sync sync(*this);
  if (control)
    if (ControlView* cv = controlView(*v, control); cv && cv->widget) {
      QWidget* target = cv->widget;
      if (!target->hasFocus())
        giveFocus(target);
      else if (target != clicked_)
        selectText(target);  // Qt gave it the focus first (a window that opened on it)
    }
  showStatus(*v, control);
}

void selectText(QWidget* target) {
  QLineEdit* line = qobject_cast<QLineEdit*>(target);
  if (auto* spin = qobject_cast<SpinEntry*>(target)) line = spin->edit();
  if (auto* box = qobject_cast<QComboBox*>(target)) line = box->lineEdit();
  if (line) line->selectAll();
}

void giveFocus(QWidget* target) {
  target->setFocus(Qt::OtherFocusReason);
  selectText(target);
}

void QtDesktop::showStatus(WindowView& v, int control) {
  WindowView* f = frameView();
  if (!f || !f->main || v.window->kind() == WindowKind::Own || v.window->kind() == WindowKind::Message) return;
  Control* c = control ? v.window->find(control) : nullptr;
  const QString text = c ? qs(c->statusText()) : QString();
  if (!f->zones.empty() && f->zones[0]) {
    // The first zone holds it, so that it is back as soon as a highlighted
    // menu item's text (a passing message over that zone) goes.
    f->zones[0]->setText(text.isEmpty() ? qs(f->window->statusText(1)) : text);
  } else if (!text.isEmpty()) {
    f->main->statusBar()->showMessage(text);
  } else {
    f->main->statusBar()->clearMessage();
  }
}

}  // namespace platform::qt
