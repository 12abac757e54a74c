#include "forms/form_elements.h"

namespace forms {

using rt::ElementDef;
using rt::ElementKind;
using rt::EventKind;

namespace {

ElementDef control(ElementKind kind, const std::string& name, const std::string& caption,
                   rt::Rect rect, int points) {
  ElementDef d;
  d.kind = kind;
  d.name = name;
  d.caption = caption;
  d.rect = rect;
  d.font = rt::FontDef{kControlFace, points};
  d.text_colour = 0x000000;
  d.back_colour = 0xFFFFFF;
  return d;
}

}  // namespace

ElementDef window(const std::string& name, const std::string& caption, rt::Rect outer,
                  rt::FrameStyle frame, int window_option, const std::string& menu) {
  ElementDef d;
  d.kind = ElementKind::Window;
  d.name = name;
  d.caption = caption;
  d.rect = outer;
  d.font = rt::FontDef{kWindowFace, kWindowFontPixels};
  d.text_index = 0;
  d.draw_index = 0;
  d.back_index = 15;
  d.coordinate_mode = 1;
  d.persistent = true;
  d.frame = frame;
  d.window_option = window_option;
  d.menu = menu;
  d.events = {EventKind::Start, EventKind::End, EventKind::Resize, EventKind::QueryClose};
  return d;
}

ElementDef button(const std::string& name, const std::string& caption, rt::Rect rect) {
  ElementDef d = control(ElementKind::Button, name, caption, rect, kControlPoints);
  d.events = {EventKind::On};
  return d;
}

ElementDef check_box(const std::string& name, const std::string& caption, rt::Rect rect) {
  ElementDef d = control(ElementKind::CheckBox, name, caption, rect, kControlPoints);
  d.events = {EventKind::On};
  return d;
}

ElementDef edit_box(const std::string& name, rt::Rect rect, const std::string& text, int points) {
  ElementDef d = control(ElementKind::Edit, name, text, rect, points);
  d.edit_limit = kEditLimit;
  d.events = {EventKind::Change};
  return d;
}

ElementDef label(const std::string& name, const std::string& caption, rt::Rect rect, int points) {
  return control(ElementKind::Label, name, caption, rect, points);
}

ElementDef list_box(const std::string& name, rt::Rect rect, const std::string& target) {
  ElementDef d = control(ElementKind::List, name, "", rect, kControlPoints);
  d.list_target = target;
  return d;
}

ElementDef picture_box(const std::string& name, rt::Rect rect, int font_pixels) {
  ElementDef d = control(ElementKind::Picture, name, "", rect, font_pixels);
  d.text_index = 0;
  d.draw_index = 0;
  d.back_index = 15;
  d.coordinate_mode = 1;
  d.persistent = true;
  d.events = {EventKind::MouseDown, EventKind::MouseUp, EventKind::MouseMove, EventKind::Click};
  return d;
}

}  // namespace forms
