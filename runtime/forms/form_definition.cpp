#include "runtime/forms/form_definition.h"

#include <array>

#include "runtime/state/runtime_state.h"

namespace rt {
namespace {

constexpr std::array<const char*, 21> kSuffixes = {
    "_INITMENU", "_ON",    "_CHANGE",   "_START",      "_END",        "_SETFOCUS",  "_KILLFOCUS",
    "_RESIZE",   "_CLICK", "_DBLCLICK", "_MOUSEDOWN",  "_MOUSEUP",    "_MOUSEMOVE", "_UPDATED",
    "_DONE",     "_TIMER", "_ABORTDOC", "_QUERYCLOSE", "_NOTIFYICON", "_DROPFILES", "_MOUSEWHEEL",
};

}  // namespace

const char* event_suffix(EventKind kind) {
  auto index = static_cast<std::size_t>(kind);
  return index < kSuffixes.size() ? kSuffixes[index] : "";
}

void install_form_definitions(std::vector<const FormDef*> forms,
                              std::vector<const MenuDef*> menus) {
  state().form_definitions = std::move(forms);
  state().menu_definitions = std::move(menus);
}

const FormDef* find_form_definition(const std::string& name) {
  for (const FormDef* form : state().form_definitions)
    if (form->window.name == name) return form;
  return nullptr;
}

const MenuDef* find_menu_definition(const std::string& name) {
  for (const MenuDef* menu : state().menu_definitions)
    if (menu->name == name) return menu;
  return nullptr;
}

}  // namespace rt
