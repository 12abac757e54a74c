#pragma once
// The run-time's objects: forms, their controls and off-screen images, reached through
// references that check that their object still exists and suits the operation.

#include <cstdint>
#include <functional>
#include <memory>
#include <source_location>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/forms/form_definition.h"

namespace rt {

class Picture;
class Image;
class Form;

// A handle into the object table. The null reference (0) stands for the main window.
struct ObjRef {
  std::int32_t id = 0;
  bool operator==(const ObjRef&) const = default;
};
inline constexpr ObjRef kNullRef{};

// Platform-side state of a form or control (its widgets); the run-time never looks inside.
struct PlatformData {
  virtual ~PlatformData() = default;
};

class Control {
 public:
  Control(const ElementDef& def, Form& form, ObjRef ref);
  ~Control();

  const ElementDef& def() const { return *def_; }
  ElementKind kind() const { return def_->kind; }
  const std::string& name() const { return def_->name; }
  Form& form() const { return *form_; }
  ObjRef ref() const { return ref_; }

  // Edit text, or the caption of a label, button or check box.
  const std::string& text() const { return text_; }
  int check_state() const { return check_state_; }
  Picture* picture() const { return picture_.get(); }

  // Changes made by the program; the platform is told so that it shows them.
  void set_text(std::string text);
  void set_check_state(int state);
  // Changes made by the user on the platform (already shown there): no notification back.
  void user_set_text(std::string text);
  void user_set_check_state(int state);

  std::unique_ptr<PlatformData> platform_data;

 private:
  const ElementDef* def_;
  Form* form_;
  ObjRef ref_;
  std::string text_;
  int check_state_ = 0;
  std::unique_ptr<Picture> picture_;
};

class Form {
 public:
  Form(const FormDef& def, ObjRef ref);
  ~Form();

  const FormDef& def() const { return *def_; }
  const std::string& name() const { return def_->window.name; }
  ObjRef ref() const { return ref_; }
  bool shown() const { return shown_; }
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
  Control* control(const std::string& name) const;  // nullptr when there is none

  void set_shown(bool shown) { shown_ = shown; }
  void add_control(std::unique_ptr<Control> control);

  std::unique_ptr<PlatformData> platform_data;

 private:
  const FormDef* def_;
  ObjRef ref_;
  bool shown_ = false;
  std::vector<std::unique_ptr<Control>> controls_;
  // Each control by its name in capitals (the first of a name, should two share it): a window
  // holds hundreds, and the start-up finds each by name.
  std::unordered_map<std::string, Control*> by_name_;
};

// ---- Forms ----

// Creates the form from its definition, shown or hidden, and queues its "_START" event.
// Error 1014 when there is no definition of that name.
ObjRef create_form(const std::string& name, bool shown,
                   std::source_location where = std::source_location::current());
// The control of that name: error 5 for an empty name or one longer than 21 characters,
// error 1013 when the form has none. The null reference stands for the main window.
ObjRef find_control(ObjRef form, const std::string& name,
                    std::source_location where = std::source_location::current());
bool form_exists(ObjRef form);
// shown is -1 (show) or 0 (hide); anything else is error 5.
void show_form(ObjRef form, int shown,
               std::source_location where = std::source_location::current());
// Destroys the form and its controls; references to them then raise error 1000.
void destroy_form(ObjRef form);

// The main window: the first form created.
ObjRef main_form();
// Live forms, in creation order (the platform and the script driver look them up by name).
std::vector<Form*> live_forms();
Form* find_live_form(const std::string& name);

// ---- Reference checks ----

// Error 1000 when the object does not exist (any more); error 1002 for the wrong kind.
Form& form_of(ObjRef ref, std::source_location where = std::source_location::current());
Control& control_of(ObjRef ref, std::source_location where = std::source_location::current());
Picture& picture_of(ObjRef ref, std::source_location where = std::source_location::current());

// ---- Images ----
ObjRef new_image(std::source_location where = std::source_location::current());
Image& image_of(ObjRef ref, std::source_location where = std::source_location::current());
void free_image(ObjRef ref, std::source_location where = std::source_location::current());

// Counts the changes users made to control values (typing, clicking a box); a long procedure
// compares it across a pump to learn whether any field changed under it.
std::uint64_t user_change_count();

// Runs after every text a user typed into a control, so that the program can forget what it
// knew about the text that was there. Cleared by reset_objects().
void set_user_text_observer(std::function<void(ObjRef)> observer);

// Empties the whole object table (start of a run, and between tests).
void reset_objects();

}  // namespace rt
