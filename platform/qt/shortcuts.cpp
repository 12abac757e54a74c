#include "platform/qt/shortcuts.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

#include "platform/actions/user_action.h"
#include "platform/qt/user_actions.h"

namespace desktop {

const std::map<std::string, Shortcut>& shortcuts() {
  static const std::map<std::string, Shortcut> table = [] {
    const Shortcut list[] = {
        {"Ctrl+O", "openfile", nullptr},       {"Ctrl+S", nullptr, "FORM2.BUTTON22"},
        {"F5", nullptr, "FORM2.BUTTON1"},      {"Ctrl+R", "refine", nullptr},
        {"Ctrl+E", nullptr, "FORM2.BUTTON28"}, {"Ctrl+Z", "undo", nullptr},
        {"Ctrl+Y", "redo", nullptr},           {"Ctrl+Q", "exit", nullptr},
        {"F2", "showpeaks", nullptr},          {"F3", "showgraphsetting", nullptr},
    };
    std::map<std::string, Shortcut> by_keys;
    for (const Shortcut& s : list) by_keys.emplace(s.keys, s);
    return by_keys;
  }();
  return table;
}

bool is_program_shortcut(const QKeyEvent& key) {
  const QKeySequence pressed(key.keyCombination());
  for (const auto& [keys, shortcut] : shortcuts())
    if (pressed == QKeySequence(QString::fromUtf8(keys.c_str()))) return true;
  return false;
}

void install_shortcuts(QWidget& main_window, const std::map<std::string, QAction*>& menu_items) {
  for (const auto& [keys, shortcut] : shortcuts()) {
    QAction* action = nullptr;
    if (shortcut.menu) {
      const auto item = menu_items.find(shortcut.menu);
      if (item == menu_items.end()) continue;
      action = item->second;
    } else {
      action = new QAction(&main_window);
      main_window.addAction(action);
      QObject::connect(action, &QAction::triggered, action, [target = shortcut.button] {
        user_action(actions::make_action(actions::ActionKind::Click, target));
      });
    }
    action->setShortcut(QKeySequence(QString::fromUtf8(keys.c_str())));
    action->setShortcutContext(Qt::ApplicationShortcut);
  }
}

}  // namespace desktop
