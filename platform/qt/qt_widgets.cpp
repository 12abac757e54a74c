#include "platform/qt/qt_widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <cmath>
#include <functional>
#include <map>

#include "platform/qt/qt_mapping.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/shortcuts.h"
#include "platform/qt/user_actions.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/menu_checks.h"
#include "runtime/picture/picture.h"

namespace desktop {
namespace {

// ---- Binding to the run-time's objects ----

struct FormData : rt::PlatformData {
  QPointer<FormWindow> window;
  ~FormData() override {
    if (!window) return;
    window->detach();
    window->hide();
    // The window may be the one whose close button is being handled right now.
    if (QCoreApplication::instance()) window->deleteLater();
  }
};

struct ControlData : rt::PlatformData {
  ControlView* view = nullptr;
  QPointer<QWidget> widget;
  ~ControlData() override {
    if (widget) view->detach();
  }
};

QString qtext(const std::string& text) { return QString::fromStdString(text); }

// Queues the control's event; the platform runs it from its loop.
void post_user_event(const ControlView& view, rt::EventKind kind, rt::MouseData mouse = {}) {
  if (rt::Control* control = view.control())
    if (rt::post_event(control->ref(), kind, mouse)) schedule_dispatch();
}

std::string qualified(const rt::Control& control) {
  return actions::qualified_name(control.form().name(), control.name());
}

// A click on a button or check box, as a script's click line.
void user_click(const ControlView& view) {
  if (rt::Control* control = view.control())
    user_action(actions::make_action(actions::ActionKind::Click, qualified(*control)));
}

// The definition's colours: text on background.
void apply_colours(QWidget* widget, const rt::ElementDef& def, bool fill_background) {
  QPalette palette = widget->palette();
  const QColor text = to_qcolor(def.text_colour);
  const QColor back = to_qcolor(def.back_colour);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::Text, text);
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::Base, back);
  if (fill_background) {
    palette.setColor(QPalette::Window, back);
    widget->setBackgroundRole(QPalette::Window);  // a check box would fill with the button colour
    widget->setAutoFillBackground(true);
  }
  widget->setPalette(palette);
}

void place(QWidget* widget, const rt::Control& control) {
  const rt::ElementDef& def = control.def();
  widget->setGeometry(def.rect.left, def.rect.top, def.rect.width, def.rect.height);
  widget->setFont(element_font(def.font, def.kind != rt::ElementKind::Picture));
}

// ---- Controls ----

class ButtonView : public QPushButton, public ControlView {
 public:
  ButtonView(rt::Control& control, QWidget* parent) : QPushButton(parent), ControlView(control) {
    apply_colours(this, control.def(), false);
    setText(qtext(control.text()));
    connect(this, &QPushButton::clicked, this, [this] { user_click(*this); });
  }
  QWidget* widget() override { return this; }
  void refresh() override {
    if (control_) setText(qtext(control_->text()));
  }
};

class CheckView : public QCheckBox, public ControlView {
 public:
  CheckView(rt::Control& control, QWidget* parent) : QCheckBox(parent), ControlView(control) {
    apply_colours(this, control.def(), true);
    setTristate(true);  // the program's grey state shows as partially checked
    setText(qtext(control.text()));
    setCheckState(to_qt_check_state(control.check_state()));
  }
  QWidget* widget() override { return this; }
  void refresh() override {
    if (!control_) return;
    const QString caption = qtext(control_->text());
    if (caption != text()) setText(caption);
    setCheckState(to_qt_check_state(control_->check_state()));
  }

 protected:
  // The box toggles itself the program's way, not through Qt's three-state cycle.
  void nextCheckState() override {
    if (!control_) return;
    rt::Control* control = control_;
    user_click(*this);
    setCheckState(to_qt_check_state(control->check_state()));
  }
};

class EditView : public QLineEdit, public ControlView {
 public:
  EditView(rt::Control& control, QWidget* parent) : QLineEdit(parent), ControlView(control) {
    apply_colours(this, control.def(), false);
    setFrame(true);
    const int limit = control.def().edit_limit;
    setMaxLength(limit > 0 ? limit : 32767);
    setText(qtext(control.text()));
    setCursorPosition(0);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& typed) { edited(typed); });
  }
  bool event(QEvent* event) override {
    // The program's shortcuts go to the program, not to the box's own key bindings.
    if (event->type() == QEvent::ShortcutOverride &&
        is_program_shortcut(*static_cast<QKeyEvent*>(event))) {
      event->ignore();
      return true;
    }
    return QLineEdit::event(event);
  }
  void focusOutEvent(QFocusEvent* event) override {
    if (control_) field_left(qualified(*control_));
    QLineEdit::focusOutEvent(event);
  }
  QWidget* widget() override { return this; }
  void refresh() override {
    if (!control_) return;
    const QString shown = qtext(control_->text());
    if (shown == text()) return;
    setText(shown);
    // Like a freshly set edit box, show the start of the text unless the user is typing in it.
    if (!hasFocus()) setCursorPosition(0);
  }

 private:
  void edited(const QString& typed) {
    if (!control_) return;
    const std::string text = typed.toStdString();
    std::string kept = rt::typed_into_edit_box(*control_, control_->text(), text);
    if (kept != text) setText(qtext(kept));
    user_action(
        actions::make_action(actions::ActionKind::Set, qualified(*control_), std::move(kept)));
    post_user_event(*this, rt::EventKind::Change);
  }
};

class LabelView : public QLabel, public ControlView {
 public:
  LabelView(rt::Control& control, QWidget* parent) : QLabel(parent), ControlView(control) {
    apply_colours(this, control.def(), true);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setText(qtext(control.text()));
  }
  QWidget* widget() override { return this; }
  void refresh() override {
    if (control_) setText(qtext(control_->text()));
  }
};

// The rows the program set; a user's choice types its number into the target edit box, so
// that the choice is recorded and replayed as that typing.
class ListView : public QListWidget, public ControlView {
 public:
  ListView(rt::Control& control, QWidget* parent) : QListWidget(parent), ControlView(control) {
    apply_colours(this, control.def(), false);
    refresh();
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { chosen(item); });
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { chosen(item); });
  }
  QWidget* widget() override { return this; }
  void refresh() override {
    if (!control_) return;
    const QStringList rows = qtext(control_->text()).split('\n', Qt::SkipEmptyParts);
    QStringList shown;
    for (int i = 0; i < count(); ++i) shown << item(i)->text();
    if (rows != shown) {
      clear();
      addItems(rows);
    }
  }

 private:
  void chosen(QListWidgetItem* item) {
    if (!control_ || !item) return;
    const std::string& target = control_->def().list_target;
    rt::Control* edit = control_->form().control(target);
    if (!edit) return;
    const std::string field = qualified(*edit);
    user_action(actions::make_action(actions::ActionKind::Set, field,
                                     QString::number(row(item) + 1).toStdString()));
    field_left(field);
    // The run-time holds the user's text; the box shows it.
    if (ControlView* view = view_of(*edit)) view->refresh();
  }
};

// A bordered drawing surface. The drawing's pixel (0, 0) sits at the top-left corner inside
// the border, and mouse positions are reported in the same pixels.
class PictureView : public QFrame, public ControlView {
 public:
  PictureView(rt::Control& control, QWidget* parent) : QFrame(parent), ControlView(control) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::black);  // the border
    setPalette(palette);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  QWidget* widget() override { return this; }
  void picture_changed() override {
    stale_ = true;
    update();  // Qt merges the repaints of many changes into one
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.fillRect(inside, Qt::white);
    if (control_ && control_->picture()) {
      const rt::Picture& picture = *control_->picture();
      if (stale_ || picture.revision() != revision_) {
        image_ = raster_image(picture.raster());
        revision_ = picture.revision();
        stale_ = false;
      }
    }
    painter.setClipRect(inside);
    painter.drawImage(inside.topLeft(), image_);
    painter.setClipping(false);
    drawFrame(&painter);
  }
  void mousePressEvent(QMouseEvent* event) override { post_mouse(rt::EventKind::MouseDown, event); }
  void mouseMoveEvent(QMouseEvent* event) override { post_mouse(rt::EventKind::MouseMove, event); }
  void mouseReleaseEvent(QMouseEvent* event) override { post_mouse(rt::EventKind::MouseUp, event); }

 private:
  void post_mouse(rt::EventKind kind, QMouseEvent* event) {
    const QPointF at = event->position() - QPointF(contentsRect().topLeft());
    rt::MouseData mouse;
    mouse.x = static_cast<float>(std::floor(at.x()));
    mouse.y = static_cast<float>(std::floor(at.y()));
    mouse.buttons = mouse_flags(event->buttons(), event->modifiers());
    if (control_) {
      const actions::ActionKind action =
          kind == rt::EventKind::MouseDown   ? actions::ActionKind::MouseDown
          : kind == rt::EventKind::MouseMove ? actions::ActionKind::MouseMove
                                             : actions::ActionKind::MouseUp;
      user_action(actions::make_point_action(action, mouse.x, mouse.y, qualified(*control_)),
                  mouse.buttons);
    }
    event->accept();
  }

  QImage image_;
  std::uint64_t revision_ = 0;
  bool stale_ = true;
};

ControlView* create_view(rt::Control& control, QWidget* parent) {
  ControlView* view = nullptr;
  switch (control.kind()) {
    case rt::ElementKind::Button:
      view = new ButtonView(control, parent);
      break;
    case rt::ElementKind::CheckBox:
      view = new CheckView(control, parent);
      break;
    case rt::ElementKind::Edit:
      view = new EditView(control, parent);
      break;
    case rt::ElementKind::Picture:
      view = new PictureView(control, parent);
      break;
    case rt::ElementKind::List:
      view = new ListView(control, parent);
      break;
    default:
      view = new LabelView(control, parent);
      break;
  }
  place(view->widget(), control);
  auto data = std::make_unique<ControlData>();
  data->view = view;
  data->widget = view->widget();
  control.platform_data = std::move(data);
  return view;
}

// Menu items: pop-ups hold their items, commands raise their events. The command items'
// actions are noted by name.
template <class Menu>
void add_menu_items(Menu* into, const std::vector<rt::MenuItemDef>& items,
                    const std::function<void(const std::string&)>& command,
                    std::map<std::string, QAction*>& actions) {
  for (const rt::MenuItemDef& item : items) {
    if (!item.items.empty()) {
      add_menu_items(into->addMenu(qtext(item.caption)), item.items, command, actions);
      continue;
    }
    QAction* action = into->addAction(qtext(item.caption));
    action->setObjectName(qtext(item.name));
    if (item.check_item) {
      action->setCheckable(true);
      action->setChecked(rt::menu_checked(item.name));
    }
    actions[item.name] = action;
    QObject::connect(action, &QAction::triggered, action,
                     [command, name = item.name] { command(name); });
  }
}

}  // namespace

// ---- Windows ----

FormWindow* owner_of(const rt::Form& form) {
  // The tool windows belong to the main window: they stay above it, so a click on the graph
  // cannot bury them.
  const rt::FrameStyle& frame = form.def().window.frame;
  if ((frame.system_menu && !frame.tool_window) || form.ref() == rt::main_form()) return nullptr;
  if (!rt::form_exists(rt::main_form())) return nullptr;
  return window_of(rt::form_of(rt::main_form()));
}

FormWindow::FormWindow(rt::Form& form)
    : QWidget(owner_of(form), window_flags(form.def().window.frame, owner_of(form) != nullptr)),
      form_(&form) {
  const rt::ElementDef& def = form.def().window;
  setWindowTitle(qtext(def.caption));
  if (!def.menu.empty()) build_menu(def.menu);

  client_ = new QWidget(this);
  QPalette palette = client_->palette();
  const int back = def.back_index >= 0 && def.back_index < 16 ? def.back_index : 15;
  palette.setColor(QPalette::Window, to_qcolor(rt::kPalette[static_cast<std::size_t>(back)]));
  client_->setPalette(palette);
  client_->setAutoFillBackground(true);
  client_->setFont(element_font(def.font, false));

  for (const auto& control : form.controls()) views_.push_back(create_view(*control, client_));

  const QSize client = client_size(def.rect, menu_bar_ != nullptr);
  const int bar = menu_bar_ ? menu_bar_->sizeHint().height() : 0;
  resize(client.width(), client.height() + bar);
  if (!def.frame.sizing_border) setFixedSize(size());
  // On a screen too small for the defined place, the window moves just far enough to be seen.
  const QRect outer(def.rect.left, def.rect.top, def.rect.width, def.rect.height);
  QScreen* screen = QGuiApplication::screenAt(outer.topLeft());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) {
    move(outer.topLeft());
    return;
  }
  const QRect available = screen->availableGeometry();
  QPoint place = on_screen_place(outer, available);
  // A screen narrower than the windows' layout (the peak table ends 1822 pixels from the left)
  // gets the graph at its left edge, so that the peak table, pushed left onto the screen,
  // covers as little of the graph as it can.
  if (form.ref() == rt::main_form() && available.width() < kLaidOutWidth) place.setX(available.x());
  move(place);
}

void FormWindow::build_menu(const std::string& menu_name) {
  const rt::MenuDef* menu = rt::find_menu_definition(menu_name);
  if (!menu) return;
  menu_bar_ = new QMenuBar(this);
  std::map<std::string, QAction*> items;
  add_menu_items(
      menu_bar_, menu->bar,
      [this](const std::string& name) {
        if (form_) user_action(actions::make_action(actions::ActionKind::Menu, name));
      },
      items);
  install_shortcuts(*this, items);
}

void FormWindow::detach() {
  form_ = nullptr;
  for (ControlView* view : views_) view->detach();
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The run-time decides: the main window ends the program, another window is destroyed.
  event->ignore();
  if (!form_) return;
  // A window without a system menu has no way to be closed by the user; a tool window hides.
  const rt::FrameStyle& frame = form_->def().window.frame;
  if (!frame.system_menu && !frame.tool_window) return;
  user_action(actions::make_action(actions::ActionKind::Close, form_->name()));
  schedule_dispatch();
}

void FormWindow::resizeEvent(QResizeEvent*) {
  int top = 0;
  if (menu_bar_) {
    top = menu_bar_->sizeHint().height();
    menu_bar_->setGeometry(0, 0, width(), top);
  }
  client_->setGeometry(0, top, width(), height() - top);
}

FormWindow* create_form_window(rt::Form& form) {
  auto* window = new FormWindow(form);
  auto data = std::make_unique<FormData>();
  data->window = window;
  form.platform_data = std::move(data);
  return window;
}

void dispose_form_window(rt::Form& form) {
  for (const auto& control : form.controls()) control->platform_data.reset();
  form.platform_data.reset();
}

FormWindow* window_of(const rt::Form& form) {
  auto* data = dynamic_cast<FormData*>(form.platform_data.get());
  return data ? data->window.data() : nullptr;
}

ControlView* view_of(const rt::Control& control) {
  auto* data = dynamic_cast<ControlData*>(control.platform_data.get());
  return data && data->widget ? data->view : nullptr;
}

QWidget* widget_of(const rt::Control& control) {
  ControlView* view = view_of(control);
  return view ? view->widget() : nullptr;
}

}  // namespace desktop
