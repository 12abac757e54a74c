#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <exception>

#include "platform/actions/session_recorder.h"
#include "platform/qt/manual_window.h"
#include "platform/qt/qt_mapping.h"
#include "platform/qt/qt_widgets.h"
#include "platform/qt/user_actions.h"
#include "runtime/errors/error_report.h"
#include "runtime/forms/events.h"
#include "runtime/forms/menu_checks.h"

namespace desktop {
namespace {

QString qtext(const std::string& text) { return QString::fromStdString(text); }

// A name with wildcards in the name box is a pattern, not a file to open or create; and the
// folder of the chosen name must exist.
class FileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

 protected:
  void accept() override {
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) {
      const QFileInfo chosen(files.first());
      const QString name = chosen.fileName();
      if (name.contains(u'*') || name.contains(u'?')) return;
      if (!name.isEmpty() && !chosen.absoluteDir().exists()) {
        QMessageBox::warning(
            this, windowTitle(),
            QDir::toNativeSeparators(chosen.absolutePath()) +
                QStringLiteral(
                    "\nパスが存在しません。\nパス名が正しいかどうかを確認してください。"));
        return;
      }
    }
    QFileDialog::accept();
  }
};

// A box whose caption and text are English gets English buttons: Qt's translation would give
// it Japanese ones, two languages in one box.
void english_buttons_for_english_text(QMessageBox& box, const rt::MessageBoxRequest& request) {
  for (const std::string* text : {&request.caption, &request.text})
    for (const char c : *text)
      if (static_cast<unsigned char>(c) >= 0x80) return;
  const std::pair<QMessageBox::StandardButton, const char*> names[] = {
      {QMessageBox::Ok, "OK"},         {QMessageBox::Cancel, "Cancel"},
      {QMessageBox::Yes, "Yes"},       {QMessageBox::No, "No"},
      {QMessageBox::Abort, "Abort"},   {QMessageBox::Retry, "Retry"},
      {QMessageBox::Ignore, "Ignore"},
  };
  for (const auto& [button, name] : names)
    if (QAbstractButton* b = box.button(button)) b->setText(QString::fromUtf8(name));
}

void record_answer(actions::ActionKind kind, std::string path = {}) {
  dialog_answered(actions::make_action(kind, {}, std::move(path)));
}

}  // namespace

QtPlatform* qt_platform() { return dynamic_cast<QtPlatform*>(rt::platform()); }

void schedule_dispatch() {
  if (QtPlatform* platform = qt_platform()) platform->schedule_dispatch();
}

QWidget* owner_window(rt::ObjRef owner) {
  const rt::ObjRef target = owner.id == 0 ? rt::main_form() : owner;
  for (rt::Form* form : rt::live_forms()) {
    if (form->ref() == target) return window_of(*form);
    for (const auto& control : form->controls())
      if (control->ref() == target) return window_of(*form);
  }
  return nullptr;
}

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform() = default;

// ---- Windows and controls ----

void QtPlatform::form_created(rt::Form& form) { create_form_window(form); }

void QtPlatform::form_shown(rt::Form& form, bool shown) {
  FormWindow* window = window_of(form);
  if (!window) return;
  window->setVisible(shown);
  // Showing a window that is open already brings it forward, over what covered it.
  if (shown) {
    window->raise();
    window->activateWindow();
  }
}

void QtPlatform::form_destroyed(rt::Form& form) {
  for (const auto& control : form.controls()) changed_.erase(control.get());
  dispose_form_window(form);
}

void QtPlatform::control_changed(rt::Control& control) {
  // A fit writes every trial into its field, far faster than anyone can read: while a procedure
  // runs, the widgets take the values at the next pump or when it returns.
  if (rt::procedure_running()) {
    changed_.insert(&control);
    return;
  }
  if (ControlView* view = view_of(control)) view->refresh();
}

void QtPlatform::menu_check_changed(const std::string& item, bool checked) {
  for (rt::Form* form : rt::live_forms()) {
    FormWindow* window = window_of(*form);
    if (!window || !window->menu_bar()) continue;
    for (QAction* action : window->menu_bar()->findChildren<QAction*>(qtext(item)))
      action->setChecked(checked);
  }
}

void QtPlatform::show_changed_controls() {
  const std::set<rt::Control*> changed = std::move(changed_);
  changed_.clear();
  for (rt::Control* control : changed)
    if (ControlView* view = view_of(*control)) view->refresh();
}

void QtPlatform::picture_changed(rt::Control& picture) {
  if (ControlView* view = view_of(picture)) view->picture_changed();
}

// ---- Dialogs ----

std::optional<std::string> QtPlatform::file_dialog(const rt::FileDialogRequest& request) {
  show_changed_controls();  // the window behind the box shows what the procedure has set
  FileDialog dialog(owner_window(request.owner), qtext(request.title));
  // Qt's own dialog: it honours the name box, the filters and the options the same everywhere.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(!request.save && request.must_exist ? QFileDialog::ExistingFile
                                                         : QFileDialog::AnyFile);
  if (request.save) dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirm_replace);
  if (!request.folder.empty()) dialog.setDirectory(qtext(request.folder));
  const QStringList filters = name_filters(request.filters);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
  }
  if (request.save && !request.filters.empty()) {
    // A name typed without an extension gets that of the chosen filter.
    dialog.setDefaultSuffix(default_suffix(request.filters.front()));
    // The dialog names the chosen filter by the text it shows: the program's description.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request] {
      const QString chosen = dialog.selectedNameFilter();
      for (const rt::FileFilter& filter : request.filters)
        if (chosen == qtext(filter.description) || chosen == name_filter(filter))
          return dialog.setDefaultSuffix(default_suffix(filter));
    });
  }
  if (!request.initial_name.empty()) dialog.selectFile(qtext(request.initial_name));
  const QStringList chosen =
      dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
  if (chosen.isEmpty()) {
    record_answer(actions::ActionKind::AnswerCancel);
    return std::nullopt;
  }
  record_answer(actions::ActionKind::AnswerFile, chosen.first().toStdString());
  return chosen.first().toStdString();
}

int QtPlatform::message_box(const rt::MessageBoxRequest& request) {
  show_changed_controls();  // the window behind the box shows what the procedure has set
  QWidget* owner = owner_window(request.owner);
  QMessageBox box(message_box_icon(request.icon), qtext(request.caption),
                  display_text(request.text), message_box_buttons(request.buttons), owner);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(message_box_default_button(request.buttons));
  english_buttons_for_english_text(box, request);
  // Modal to its owner: the other windows still take clicks, which wait in the queue.
  if (owner) box.setWindowModality(Qt::WindowModal);
  const int pressed = box.exec();
  const rt::MessageBoxResult result =
      message_box_result(static_cast<QMessageBox::StandardButton>(pressed), request.buttons);
  // A box with the one OK button needs no answer in a script; the others a yes (OK, Retry,
  // Yes) or a no.
  if (request.buttons != rt::kButtonsOk) {
    const bool yes = result == rt::kOk || result == rt::kRetry || result == rt::kYes;
    record_answer(yes ? actions::ActionKind::AnswerYes : actions::ActionKind::AnswerNo);
  }
  return result;
}

bool QtPlatform::set_clipboard_text(const std::string& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->setText(qtext(text), QClipboard::Clipboard);
  return true;
}

void QtPlatform::show_error_report(const std::string& caption, const std::string& text) {
  show_changed_controls();  // the window behind the box shows what the procedure has set
  QMessageBox box(QMessageBox::Warning, qtext(caption), display_text(text), QMessageBox::Ok,
                  owner_window(rt::kNullRef));
  box.setTextFormat(Qt::PlainText);
  QPushButton* help = box.addButton(QStringLiteral("ヘルプ"), QMessageBox::HelpRole);
  // Help opens the manual (readable once the report is closed) and leaves the report open.
  QObject::disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
  QObject::connect(help, &QAbstractButton::clicked, &box, [] { show_manual_window(); });
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
}

void QtPlatform::show_manual() { show_manual_window(); }

// ---- Event loop ----

void QtPlatform::process_pending() {
  // The run-time calls this every few statements; looking at the window system that often
  // would slow a fit down for nothing.
  if (pump_clock_.isValid() && pump_clock_.elapsed() < kPumpIntervalMs) return;
  show_changed_controls();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  pump_clock_.start();
}

void QtPlatform::schedule_dispatch() {
  if (dispatch_scheduled_) return;
  dispatch_scheduled_ = true;
  QTimer::singleShot(0, &context_, [this] { dispatch(); });
}

void QtPlatform::dispatch() {
  dispatch_scheduled_ = false;
  // Inside a running procedure's pump: the loop below runs the new events once it returns.
  if (dispatching_) return;
  if (rt::procedure_running()) {
    // A procedure that was not started from here (the start-up): look again later.
    QTimer::singleShot(kPumpIntervalMs, &context_, [this] { schedule_dispatch(); });
    return;
  }
  dispatching_ = true;
  try {
    rt::run_pending_events();
  } catch (const rt::QuitRequested&) {
    // The user closed the main window while a procedure ran.
  } catch (const std::exception& error) {
    show_error_report(rt::error_report_caption(), error.what());
    rt::request_quit();
  } catch (...) {
    rt::request_quit();
  }
  dispatching_ = false;
  if (actions::SessionRecorder* recorder = session_recorder()) recorder->release_finished();
  show_changed_controls();
  end_if_quit();
}

void QtPlatform::end_if_quit() {
  if (rt::quit_requested()) QCoreApplication::exit(0);
}

}  // namespace desktop
