// The desktop's controls: the widget each kind of control is shown by,
// made when the model adds the control and gone when it is removed.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>

#include "platform/qt/desktop_qt.h"
#include "platform/qt/desktop_views.h"
#include "platform/qt/widgets.h"
#include "platform/ui/window.h"

namespace platform::qt {

namespace {

bool isBackdrop(ControlKind k) {
  return k == ControlKind::Panel || k == ControlKind::Box || k == ControlKind::Image || k == ControlKind::Sheet ||
         k == ControlKind::Option;
}

bool isSeparator(const std::string& text) { return text.empty() || text == "-"; }

}  // namespace

// --- controls ----------------------------------------------------------------

void QtDesktop::controlAdded(Window& w, Control& c) {
  WindowView* v = view(w);
  if (!v) return;
  Sync sync(*this);
  buildControl(*v, c);
  if (v->opened) {
    restack(*v);
    applyStates(*v);
  }
}

void QtDesktop::buildControl(WindowView& v, Control& c) {
  ControlView& cv = v.controls[c.number()];
  cv = ControlView{};
  cv.control = &c;
  v.order.push_back(c.number());
  const ControlSpec& s = c.spec();
  const int id = v.id;
  const int n = c.number();
  QWidget* host = hostOf(v);
  Control* parent = s.parent ? v.window->find(s.parent) : nullptr;
  const ControlKind parentKind = parent ? parent->kind() : ControlKind::Prompt;
  QWidget* widget = nullptr;
  const bool hosted = c.kind() != ControlKind::Menu && c.kind() != ControlKind::Item &&
                      c.kind() != ControlKind::Toolbar && c.kind() != ControlKind::Tab &&
                      parentKind != ControlKind::Toolbar;
  if (hosted && !host) return;  // the window's widgets are gone (its frame went first)
  auto click = [this, id, n] { user(id, n, [n](Window& win) { return input::click(win, n); }); };
  auto edit = [this, id, n](const QString& text) {
    if (syncing_) return;
    const std::string t = text.toStdString();
    user(id, n, [n, t](Window& win) { return input::edit(win, n, t); });
  };

  switch (c.kind()) {
    case ControlKind::Prompt:
    case ControlKind::String: {
      auto* label = new LabelWidget(host);
      label->setJustify(s.justify);
      label->setAngle(s.font.angle);
      widget = label;
      break;
    }
    case ControlKind::Entry: {
      auto* e = new QLineEdit(host);
      if (s.password) e->setEchoMode(QLineEdit::Password);
      e->setAlignment(alignmentOf(s.justify));
      e->setFocusPolicy(Qt::StrongFocus);
      QObject::connect(e, &QLineEdit::textEdited, this, edit);
      widget = e;
      break;
    }
    case ControlKind::Text: {
      auto* t = new QPlainTextEdit(host);
      t->setVerticalScrollBarPolicy(s.vscroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
      t->setTabChangesFocus(false);
      QObject::connect(t, &QPlainTextEdit::textChanged, this, [edit, t] { edit(t->toPlainText()); });
      bindWidget(t->viewport(), id, n);
      widget = t;
      break;
    }
    case ControlKind::Button: {
      if (parentKind == ControlKind::Toolbar) {
        ControlView* bar = controlView(v, s.parent);
        auto* toolbar = bar ? qobject_cast<QToolBar*>(bar->widget.data()) : nullptr;
        if (!toolbar) break;
        auto* b = new ToolbarButton(toolbar);  // the text left of the icon
        b->setFocusPolicy(Qt::NoFocus);
        if (s.rect.width > 0 && s.rect.height > 0) b->setFixedSize(v.du.toPixels(s.rect.width, s.rect.height));
        QObject::connect(b, &QToolButton::clicked, this, click);
        cv.action = toolbar->addWidget(b);
        bindWidget(b, id, n);
        cv.widget = b;
        applyAll(v, cv);
        return;
      }
      auto* b = new QPushButton(host);
      b->setAutoDefault(false);
      b->setFlat(s.flat || s.transparent);
      b->setFocusPolicy(Qt::TabFocus);  // a click moves the focus through the model
      QObject::connect(b, &QPushButton::clicked, this, click);
      widget = b;
      break;
    }
    case ControlKind::Check: {
      auto* b = new QCheckBox(host);
      b->setFocusPolicy(Qt::TabFocus);
      QObject::connect(b, &QCheckBox::clicked, this, click);
      widget = b;
      break;
    }
    case ControlKind::Option: {
      if (s.boxed) {
        auto* g = new QGroupBox(host);
        widget = g;
      } else {
        widget = new QWidget(host);
      }
      widget->setFocusPolicy(Qt::NoFocus);
      break;
    }
    case ControlKind::Radio: {
      QAbstractButton* b = nullptr;
      if (!s.icon.empty()) {
        // A radio with an icon is drawn as a push button that stays down.
        auto* p = new QPushButton(host);
        p->setCheckable(true);
        p->setAutoDefault(false);
        p->setFlat(s.transparent || s.flat);
        b = p;
      } else {
        b = new QRadioButton(host);
      }
      b->setAutoExclusive(false);
      b->setFocusPolicy(Qt::TabFocus);
      const int option = s.parent;
      QObject::connect(b, &QAbstractButton::clicked, this, [this, id, n, option, click] {
        // Shown chosen at once; the model's choice follows.
        if (WindowView* wv = view(id))
          for (auto& [k, other] : wv->controls)
            if (other.control->kind() == ControlKind::Radio && other.control->parent() == option)
              if (auto* rb = qobject_cast<QAbstractButton*>(other.widget.data())) {
                Sync guard(*this);
                rb->setChecked(k == n);
              }
        click();
      });
      widget = b;
      break;
    }
    case ControlKind::DropList:
    case ControlKind::Combo:
    case ControlKind::DropCombo: {
      auto* box = new QComboBox(host);
      box->setFocusPolicy(Qt::StrongFocus);
      if (s.dropLines > 0) box->setMaxVisibleItems(s.dropLines);
      if (c.kind() != ControlKind::DropList) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(box->lineEdit(), &QLineEdit::textEdited, this, edit);
        bindWidget(box->lineEdit(), id, n);
      }
      QObject::connect(box, &QComboBox::activated, this, [this, id, n](int index) {
        user(id, n, [n, index](Window& win) { return input::choose(win, n, index + 1); });
      });
      widget = box;
      break;
    }
    case ControlKind::Spin: {
      auto* spin = new SpinEntry(host);
      spin->setFocusPolicy(Qt::StrongFocus);
      spin->edit()->setAlignment(alignmentOf(s.justify));
      QObject::connect(spin->edit(), &QLineEdit::textEdited, this, edit);
      spin->onStep = [this, id, n](int steps) {
        if (syncing_) return;
        for (int i = 0, count = std::abs(steps); i < count; ++i)
          user(id, n, [this, n, steps](Window& win) {
            if (win.focus() != n) {
              input::Status s0 = input::focus(win, n);
              if (s0 != input::Status::Ok) return s0;
              runThreads();
              if (win.focus() != n) return input::Status::Ok;  // the focus was kept elsewhere
            }
            return input::key(win, KeyPress(steps > 0 ? Key::Up : Key::Down));
          });
      };
      bindWidget(spin->edit(), id, n);
      widget = spin;
      break;
    }
    case ControlKind::List: {
      auto* list = new ListWidget(&c, host);
      list->setFont(v.font);
      list->scrollBar()->setVisible(s.vscroll);
      list->applyColumns(s.columns, v.du);
      QObject::connect(list->scrollBar(), &QScrollBar::actionTriggered, this,
                       [this, id, n](int action) { listScrollBar(id, n, action); });
      QObject::connect(list->scrollBar(), &QScrollBar::sliderReleased, this, [this, id, n] {
        WindowView* wv = view(id);
        ControlView* lv = wv ? controlView(*wv, n) : nullptr;
        if (lv) applyProp(*wv, *lv, Prop::Thumb);
      });
      list->table()->viewport()->setProperty(ViewportKey, true);
      bindWidget(list->table()->viewport(), id, n);
      widget = list;
      break;
    }
    case ControlKind::Sheet: {
      auto* sheet = new SheetWidget(host);
      sheet->setFocusPolicy(Qt::TabFocus);
      QObject::connect(sheet->bar(), &QTabBar::currentChanged, this, [this, id, n](int index) {
        if (syncing_ || index < 0) return;
        user(id, n, [n, index](Window& win) { return input::selectTab(win, n, index + 1); });
      });
      widget = sheet;
      break;
    }
    case ControlKind::Tab: {
      ControlView* sheet = controlView(v, s.parent);
      if (auto* sw = sheet ? qobject_cast<SheetWidget*>(sheet->widget.data()) : nullptr) {
        sw->bar()->insertTab(std::max(0, c.position() - 1), qs(s.text));
        syncSheet(v, *sheet);
      }
      return;
    }
    case ControlKind::Image: {
      auto* image = new ImageWidget(host);
      widget = image;
      break;
    }
    case ControlKind::Box:
    case ControlKind::Panel: widget = new BoxWidget(c.kind() == ControlKind::Panel, host); break;
    case ControlKind::Region: {
      auto* region = new QWidget(host);
      region->setAttribute(Qt::WA_NoSystemBackground);
      region->setMouseTracking(true);
      widget = region;
      break;
    }
    case ControlKind::Progress: {
      auto* bar = new QProgressBar(host);
      bar->setRange(s.rangeLow, s.rangeHigh);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
    case ControlKind::Menu: {
      QMenu* menu = nullptr;
      if (parentKind == ControlKind::Menu) {
        ControlView* pm = controlView(v, s.parent);
        if (!pm || !pm->menu) return;
        menu = pm->menu->addMenu(qs(s.text));
      } else if (v.main) {
        menu = v.main->menuBar()->addMenu(qs(s.text));
      } else {
        return;  // menus belong to the frame
      }
      cv.menu = menu;
      cv.action = menu->menuAction();
      if (s.action == StdAction::WindowList) {
        QObject::connect(menu, &QMenu::aboutToShow, this, [this, id, n] {
          WindowView* wv = view(id);
          ControlView* mv = wv ? controlView(*wv, n) : nullptr;
          QMdiArea* mdi = mdiArea();
          if (!mv || !mv->menu || !mdi) return;
          for (const auto& a : mv->windowList) delete a.data();
          mv->windowList.clear();
          const auto subs = mdi->subWindowList();
          if (subs.isEmpty()) return;
          mv->windowList << mv->menu->addSeparator();
          int k = 0;
          for (QMdiSubWindow* s0 : subs) {
            if (!s0->isVisible()) continue;
            QAction* a = mv->menu->addAction(QStringLiteral("&%1 %2").arg(++k).arg(s0->windowTitle()));
            a->setCheckable(true);
            a->setChecked(s0 == mdi->activeSubWindow());
            QPointer<QMdiSubWindow> target(s0);
            QObject::connect(a, &QAction::triggered, mdi, [mdi, target] {
              if (target) mdi->setActiveSubWindow(target);
            });
            mv->windowList << a;
          }
        });
      }
      applyAll(v, cv);
      return;
    }
    case ControlKind::Item: {
      QAction* a = nullptr;
      if (parentKind == ControlKind::Menu) {
        ControlView* pm = controlView(v, s.parent);
        if (!pm || !pm->menu) return;
        a = isSeparator(s.text) ? pm->menu->addSeparator() : pm->menu->addAction(qs(s.text));
      } else if (v.main) {
        a = v.main->menuBar()->addAction(qs(s.text));
      } else {
        return;
      }
      QObject::connect(a, &QAction::triggered, this, click);
      cv.action = a;
      applyAll(v, cv);
      return;
    }
    case ControlKind::Toolbar: {
      if (!v.main) return;
      QToolBar* bar = v.main->addToolBar(qs(s.text.empty() ? std::string("Toolbar") : s.text));
      bar->setMovable(false);
      bar->setFloatable(false);
      v.toolbar = bar;
      cv.widget = bar;
      applyAll(v, cv);
      return;
    }
  }
  if (!widget) return;
  cv.widget = widget;
  bindWidget(widget, id, n);
  applyAll(v, cv);
}

void QtDesktop::controlRemoved(Window& w, Control& c) {
  WindowView* v = view(w);
  if (!v) return;
  Sync sync(*this);
  auto it = v->controls.find(c.number());
  if (it == v->controls.end()) return;
  ControlView& cv = it->second;
  if (c.kind() == ControlKind::Tab) {
    ControlView* sheet = controlView(*v, c.parent());
    if (auto* sw = sheet ? qobject_cast<SheetWidget*>(sheet->widget.data()) : nullptr)
      sw->bar()->removeTab(c.position() - 1);
  }
  if (auto* list = qobject_cast<ListWidget*>(cv.widget.data())) list->model()->detach();
  if (cv.menu) {
    cv.menu->menuAction()->setVisible(false);
    cv.menu->deleteLater();
  } else if (cv.action) {
    cv.action->setVisible(false);
    cv.action->deleteLater();
  }
  if (cv.widget && cv.widget != v->toolbar) {
    cv.widget->hide();
    cv.widget->deleteLater();
  } else if (cv.widget) {
    cv.widget->hide();
  }
  v->order.erase(std::remove(v->order.begin(), v->order.end(), c.number()), v->order.end());
  v->controls.erase(it);
}

void QtDesktop::restack(WindowView& v) {
  // Backdrops under everything, in the order added; then the controls;
  // link areas on top.
  for (int pass = 0; pass < 3; ++pass)
    for (int n : v.order) {
      ControlView* cv = controlView(v, n);
      QWidget* widget = cv ? cv->widget.data() : nullptr;
      if (!widget || widget->parentWidget() != hostOf(v)) continue;
      const ControlKind k = cv->control->kind();
      const int want = isBackdrop(k) ? 0 : k == ControlKind::Region ? 2 : 1;
      if (want == pass) widget->raise();
    }
}

}  // namespace platform::qt
