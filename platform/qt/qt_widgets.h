#pragma once
// The widgets that show the run-time's forms and controls. They hold no values of their own
// beyond what Qt needs to draw: every user action goes straight into the run-time (a typed
// text, a toggled check box) or becomes a queued event.

#include <QWidget>

#include <vector>

#include "runtime/forms/objects.h"

class QMenuBar;

namespace desktop {

// One control's widget, bound to its run-time control until the control goes away.
class ControlView {
 public:
  explicit ControlView(rt::Control& control) : control_(&control) {}
  virtual ~ControlView() = default;

  virtual QWidget* widget() = 0;
  // Shows the value the program has just set.
  virtual void refresh() {}
  // Repaints from the run-time's drawing (pictures only).
  virtual void picture_changed() {}

  rt::Control* control() const { return control_; }
  void detach() { control_ = nullptr; }

 protected:
  rt::Control* control_;
};

// A top-level window: an optional menu bar over a client area that holds the controls at
// their client coordinates.
class FormWindow : public QWidget {
 public:
  explicit FormWindow(rt::Form& form);

  QWidget* client() const { return client_; }
  QMenuBar* menu_bar() const { return menu_bar_; }
  rt::Form* form() const { return form_; }
  // The form is gone: from now on the window and its controls ignore the user.
  void detach();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void build_menu(const std::string& menu_name);

  rt::Form* form_;
  QWidget* client_ = nullptr;
  QMenuBar* menu_bar_ = nullptr;
  std::vector<ControlView*> views_;
};

// Creates the form's window (hidden) and its controls' widgets, and binds them to the
// run-time objects through their platform data.
FormWindow* create_form_window(rt::Form& form);
// Unbinds and disposes of the window of a form that is being destroyed.
void dispose_form_window(rt::Form& form);

FormWindow* window_of(const rt::Form& form);  // nullptr when it has none
// The window that owns this form's window (the main window's for a window without a close
// button), or nullptr for a window of its own.
FormWindow* owner_of(const rt::Form& form);
ControlView* view_of(const rt::Control& control);
QWidget* widget_of(const rt::Control& control);

}  // namespace desktop
