#include "runtime/forms/objects.h"

#include <algorithm>

#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/errors/statement_place.h"
#include "runtime/forms/events.h"
#include "runtime/forms/menu_checks.h"
#include "runtime/forms/object_table.h"
#include "runtime/forms/platform.h"
#include "runtime/picture/image.h"
#include "runtime/picture/picture.h"
#include "runtime/state/runtime_state.h"

namespace rt {
namespace {

ObjectTable& table() { return state().objects; }

ObjRef add_entry(ObjectKind kind, void* object) {
  auto& t = table();
  t.entries.push_back(ObjectEntry{kind, object, true});
  return ObjRef{static_cast<std::int32_t>(t.entries.size() - 1)};
}

const ObjectEntry* live_entry(ObjRef ref) {
  auto& t = table();
  if (ref.id <= 0 || static_cast<std::size_t>(ref.id) >= t.entries.size()) return nullptr;
  const ObjectEntry& e = t.entries[ref.id];
  return e.alive ? &e : nullptr;
}

// Names are compared without regard to the case of their ASCII letters, whatever the process
// locale takes a letter's capital to be; a form of hundreds of controls is searched often.
char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upper_name(std::string name) {
  for (char& c : name) c = ascii_upper(c);
  return name;
}

bool equal_names(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return x == y || ascii_upper(x) == ascii_upper(y);
         });
}

}  // namespace

ObjectTable::ObjectTable() : entries{ObjectEntry{ObjectKind::Form, nullptr, false}} {}
ObjectTable::~ObjectTable() = default;
ObjectTable::ObjectTable(ObjectTable&&) noexcept = default;
ObjectTable& ObjectTable::operator=(ObjectTable&&) noexcept = default;

// ---- Control and Form ----

Control::Control(const ElementDef& def, Form& form, ObjRef ref)
    : def_(&def), form_(&form), ref_(ref), text_(def.caption) {
  if (def.kind == ElementKind::Picture) {
    picture_ = std::make_unique<Picture>(def.rect.width, def.rect.height);
    picture_->set_font_face(def.font.face);
    if (def.font.size > 0) picture_->set_font_size(def.font.size);
  }
}

Control::~Control() = default;

void Control::set_text(std::string text) {
  text_ = std::move(text);
  if (Platform* p = platform()) p->control_changed(*this);
}

void Control::set_check_state(int state) {
  check_state_ = state;
  if (Platform* p = platform()) p->control_changed(*this);
}

void set_user_text_observer(std::function<void(ObjRef)> observer) {
  table().user_text_observer = std::move(observer);
}

void Control::user_set_text(std::string text) {
  text_ = std::move(text);
  ++table().user_changes;
  if (table().user_text_observer) table().user_text_observer(ref_);
}
void Control::user_set_check_state(int state) {
  check_state_ = state;
  ++table().user_changes;
}

std::uint64_t user_change_count() { return table().user_changes; }

Form::Form(const FormDef& def, ObjRef ref) : def_(&def), ref_(ref) {}
Form::~Form() = default;

void Form::add_control(std::unique_ptr<Control> control) {
  by_name_.emplace(upper_name(control->name()), control.get());
  controls_.push_back(std::move(control));
}

Control* Form::control(const std::string& name) const {
  const auto found = by_name_.find(upper_name(name));
  return found == by_name_.end() ? nullptr : found->second;
}

// ---- Forms ----

ObjRef create_form(const std::string& name, bool shown, std::source_location where) {
  note_statement(where);
  const FormDef* def = find_form_definition(name);
  if (!def) raise_error(kBadFormDefinition, location(FormsCheck::NoDefinition), where);
  auto& t = table();
  ObjRef ref = add_entry(ObjectKind::Form, nullptr);
  auto form = std::make_unique<Form>(*def, ref);
  t.entries[ref.id].object = form.get();
  for (const ElementDef& c : def->controls) {
    ObjRef cref = add_entry(ObjectKind::Control, nullptr);
    auto control = std::make_unique<Control>(c, *form, cref);
    t.entries[cref.id].object = control.get();
    form->add_control(std::move(control));
  }
  Form& f = *form;
  t.forms.push_back(std::move(form));
  if (t.main.id == 0) t.main = ref;
  if (Platform* p = platform()) p->form_created(f);
  if (shown) {
    f.set_shown(true);
    if (Platform* p = platform()) p->form_shown(f, true);
  }
  post_event(ref, EventKind::Start);
  return ref;
}

ObjRef find_control(ObjRef form_ref, const std::string& name, std::source_location where) {
  note_statement(where);
  if (name.empty() || name.size() > 21)
    raise_error(kInvalidArgument, location(FormsCheck::BadControlName), where);
  Form& form = form_of(form_ref, where);
  Control* c = form.control(name);
  if (!c) raise_error(kNoSuchControl, location(FormsCheck::NoSuchControl), where);
  return c->ref();
}

bool form_exists(ObjRef ref) {
  if (ref.id == 0) ref = table().main;
  const ObjectEntry* e = live_entry(ref);
  return e && e->kind == ObjectKind::Form;
}

void show_form(ObjRef ref, int shown, std::source_location where) {
  note_statement(where);
  if (shown != -1 && shown != 0)
    raise_error(kInvalidArgument, location(FormsCheck::BadShowState), where);
  Form& form = form_of(ref, where);
  form.set_shown(shown == -1);
  if (Platform* p = platform()) p->form_shown(form, shown == -1);
}

void destroy_form(ObjRef ref) {
  if (ref.id == 0) ref = table().main;
  const ObjectEntry* e = live_entry(ref);
  if (!e || e->kind != ObjectKind::Form) return;
  auto& t = table();
  auto it =
      std::find_if(t.forms.begin(), t.forms.end(), [&](const auto& f) { return f->ref() == ref; });
  if (it == t.forms.end()) return;
  if (Platform* p = platform()) p->form_destroyed(**it);
  t.entries[ref.id].alive = false;
  for (const auto& c : (*it)->controls()) t.entries[c->ref().id].alive = false;
  t.destroyed_forms.push_back(std::move(*it));
  t.forms.erase(it);
}

ObjRef main_form() { return table().main; }

std::vector<Form*> live_forms() {
  std::vector<Form*> out;
  for (const auto& f : table().forms) out.push_back(f.get());
  return out;
}

Form* find_live_form(const std::string& name) {
  for (const auto& f : table().forms)
    if (equal_names(f->name(), name)) return f.get();
  return nullptr;
}

// ---- Reference checks ----

Form& form_of(ObjRef ref, std::source_location where) {
  note_statement(where);
  if (ref.id == 0) ref = table().main;
  const ObjectEntry* e = live_entry(ref);
  if (!e) raise_error(kNoSuchObject, location(FormsCheck::NoSuchForm), where);
  if (e->kind != ObjectKind::Form)
    raise_error(kWrongObjectKind, location(FormsCheck::NotAForm), where);
  return *static_cast<Form*>(e->object);
}

Control& control_of(ObjRef ref, std::source_location where) {
  note_statement(where);
  const ObjectEntry* e = live_entry(ref);
  if (!e) raise_error(kNoSuchObject, location(FormsCheck::NoSuchControlObject), where);
  if (e->kind != ObjectKind::Control)
    raise_error(kWrongObjectKind, location(FormsCheck::NotAControl), where);
  return *static_cast<Control*>(e->object);
}

Picture& picture_of(ObjRef ref, std::source_location where) {
  note_statement(where);
  const ObjectEntry* e = live_entry(ref);
  if (!e) raise_error(kNoSuchObject, location(FormsCheck::NoSuchPicture), where);
  if (e->kind != ObjectKind::Control)
    raise_error(kWrongObjectKind, location(FormsCheck::PictureNotAControl), where);
  Picture* picture = static_cast<Control*>(e->object)->picture();
  if (!picture) raise_error(kWrongObjectKind, location(FormsCheck::NotAPicture), where);
  return *picture;
}

Control* live_control(ObjRef ref) {
  const ObjectEntry* e = live_entry(ref);
  if (!e || e->kind != ObjectKind::Control) return nullptr;
  return static_cast<Control*>(e->object);
}

// ---- Images ----

ObjRef new_image(std::source_location) {
  auto& t = table();
  auto image = std::make_unique<Image>();
  ObjRef ref = add_entry(ObjectKind::Image, image.get());
  t.images.push_back(std::move(image));
  return ref;
}

Image& image_of(ObjRef ref, std::source_location where) {
  note_statement(where);
  const ObjectEntry* e = live_entry(ref);
  if (!e) raise_error(kNoSuchObject, location(FormsCheck::NoSuchImage), where);
  if (e->kind != ObjectKind::Image)
    raise_error(kWrongObjectKind, location(FormsCheck::NotAnImage), where);
  return *static_cast<Image*>(e->object);
}

void free_image(ObjRef ref, std::source_location where) {
  note_statement(where);
  Image& image = image_of(ref, where);
  auto& t = table();
  t.entries[ref.id].alive = false;
  auto it = std::find_if(t.images.begin(), t.images.end(),
                         [&](const auto& i) { return i.get() == &image; });
  if (it != t.images.end()) {
    t.destroyed_images.push_back(std::move(*it));
    t.images.erase(it);
  }
}

void collect_destroyed_objects() {
  auto& t = table();
  t.destroyed_forms.clear();
  t.destroyed_images.clear();
}

void reset_objects() {
  auto& t = table();
  while (!t.forms.empty()) destroy_form(t.forms.back()->ref());
  t = ObjectTable{};
  reset_menu_checks();
}

}  // namespace rt
