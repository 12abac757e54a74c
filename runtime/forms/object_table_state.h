#pragma once
// The object table's contents, kept in the program's run-time state (runtime/state).

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "runtime/forms/objects.h"

namespace rt {

enum class ObjectKind { Form, Control, Image };

struct ObjectEntry {
  ObjectKind kind;
  void* object;
  bool alive;
};

struct ObjectTable {
  ObjectTable();
  ~ObjectTable();
  ObjectTable(ObjectTable&&) noexcept;
  ObjectTable& operator=(ObjectTable&&) noexcept;

  std::vector<ObjectEntry> entries;  // id 0: the null reference
  std::vector<std::unique_ptr<Form>> forms;
  std::vector<std::unique_ptr<Image>> images;
  // Destroyed objects are kept until no procedure can still be using them.
  std::vector<std::unique_ptr<Form>> destroyed_forms;
  std::vector<std::unique_ptr<Image>> destroyed_images;
  ObjRef main;
  std::uint64_t user_changes = 0;
  std::function<void(ObjRef)> user_text_observer;
};

}  // namespace rt
