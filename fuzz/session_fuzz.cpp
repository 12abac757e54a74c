// Any bytes as a user's session: typed texts, clicks, menu commands with their dialog answers
// over a small set of good and damaged files, mouse drags, closing windows. The program starts
// afresh for every input and runs in-process on a platform without a screen. Beyond crashes,
// leaks and hangs, it checks that a refused load or a failed save reports an error and leaves
// the workspace, every control, the graph and the files exactly as they were.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/shell/session.h"
#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "forms/form_library.h"
#include "forms/named_controls.h"
#include "runtime/errors/error_report.h"
#include "runtime/files/failed_write_signals.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/menu_checks.h"
#include "runtime/forms/object_table.h"
#include "runtime/forms/objects.h"
#include "runtime/forms/platform.h"
#include "runtime/picture/picture.h"

namespace {

namespace fs = std::filesystem;

// The input, consumed from the front; 0 once it is used up.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return used_ >= size_; }
  std::uint8_t byte() { return used_ < size_ ? data_[used_++] : 0; }
  std::size_t pick(std::size_t n) { return n == 0 ? 0 : byte() % n; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t used_ = 0;
};

// The files a dialog can be answered with. Inputs are rewritten before every session; the
// outputs are removed.
struct FileSet {
  fs::path folder;
  std::map<std::string, std::string> inputs;  // name -> bytes
  std::vector<std::string> refused_loads;     // inputs (and paths) every load refuses
  std::vector<std::string> load_answers, save_answers, failing_saves;
};

FileSet& files() {
  static FileSet set;
  return set;
}

std::string spectrum(int points, double centre) {
  std::string s;
  for (int i = 0; i < points; ++i) {
    const double x = 280 + i * 0.25;
    const double d = (x - centre) / 1.5;
    s += std::to_string(x) + "," + std::to_string(60 + 1000 / (1 + d * d)) + ",50\r\n";
  }
  return s;
}

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) __builtin_trap();
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Answers dialogs and questions from the input, and lets the user type while a procedure
// pumps (a field changed during a fit).
struct SessionPlatform : rt::Platform {
  Input* input = nullptr;
  bool typing_during_pump = false;
  std::vector<rt::ObjRef> edits;
  std::vector<std::string> answers;  // the file answers of the current action, in order

  void form_created(rt::Form&) override {}
  void form_shown(rt::Form&, bool) override {}
  void form_destroyed(rt::Form&) override {}
  void control_changed(rt::Control&) override {}
  void picture_changed(rt::Control&) override {}
  bool set_clipboard_text(const std::string&) override { return true; }
  void show_error_report(const std::string&, const std::string&) override {}

  std::optional<std::string> file_dialog(const rt::FileDialogRequest& request) override {
    const auto& choices = request.save ? files().save_answers : files().load_answers;
    const std::size_t pick = input->pick(choices.size() + 1);
    if (pick == choices.size()) {
      answers.push_back("");
      return std::nullopt;
    }
    answers.push_back(choices[pick]);
    return (files().folder / choices[pick]).string();
  }
  int message_box(const rt::MessageBoxRequest&) override {
    return input->byte() & 1 ? rt::kYes : rt::kNo;
  }
  void process_pending() override;
};

SessionPlatform& platform() {
  static SessionPlatform p;
  return p;
}

const char* const kTexts[] = {
    "",      "0",       "1",      "2",        "-1",    "0.5",  "1.5",    "3",     "10",    "100",
    "256.2", "285",     "289",    "300",      "1000",  "1800", "65535",  "32767", "32768", "-32769",
    "1E+38", "3.4E+38", "-3E+38", "1E-45",    "1E-38", "&HFF", "&H7FFF", "1D2",   "abc",   "  12  ",
    "表",    "1,5",     "0.0001", "9.99E+37", ".",     "-",    "+",      "1E",    "NaN",   "-0",
};

std::string typed_text(Input& in) {
  const std::size_t pick = in.pick(std::size(kTexts) + 2);
  if (pick < std::size(kTexts)) return kTexts[pick];
  // A few printable bytes of the input.
  std::string s;
  for (std::size_t n = in.pick(9); n > 0; --n) s += static_cast<char>(0x20 + in.byte() % 0x5F);
  return s;
}

void type_into(rt::ObjRef edit, const std::string& text) {
  rt::Control* c = rt::live_control(edit);
  if (c) c->set_text(rt::limit_to_edit_box(*c, text));
}

void SessionPlatform::process_pending() {
  if (!typing_during_pump || edits.empty() || input->empty()) return;
  // Most pumps pass without the user doing anything.
  if (input->byte() % 8 != 0) return;
  type_into(edits[input->pick(edits.size())], typed_text(*input));
}

struct Controls {
  std::vector<rt::ObjRef> edits, buttons, checks;
  rt::ObjRef picture;
};

Controls gather_controls() {
  Controls c;
  for (rt::Form* form : rt::live_forms())
    for (const auto& control : form->controls()) {
      switch (control->kind()) {
        case rt::ElementKind::Edit:
          c.edits.push_back(control->ref());
          break;
        case rt::ElementKind::Button:
          c.buttons.push_back(control->ref());
          break;
        case rt::ElementKind::CheckBox:
          c.checks.push_back(control->ref());
          break;
        case rt::ElementKind::Picture:
          if (control->name() == "PICTURE1") c.picture = control->ref();
          break;
        default:
          break;
      }
    }
  return c;
}

// Everything a refused load or a failed save must leave alone.
struct State {
  std::vector<float> arrays;
  std::vector<double> scalars;
  std::string filepath;
  std::vector<std::string> texts;
  std::vector<int> checks;
  std::vector<bool> shown;
  std::vector<std::string> pictures;  // each picture's pixels
  std::map<std::string, std::string> folder;
  bool operator==(const State&) const = default;
};

template <class Array>
void append(std::vector<float>& out, const Array& a) {
  out.insert(out.end(), a.data(), a.data() + Array::kUpper + 1);
}

State state_now() {
  State s;
  const app::Workspace& w = app::workspace();
  append(s.arrays, w.XDATA);
  append(s.arrays, w.YDATA);
  append(s.arrays, w.PEAKCURVE1);
  append(s.arrays, w.PEAKCURVE2);
  append(s.arrays, w.PEAKCURVE3);
  append(s.arrays, w.PEAKCURVE4);
  append(s.arrays, w.PEAKCURVE5);
  append(s.arrays, w.PEAKCURVE6);
  append(s.arrays, w.SUMCURVE);
  s.scalars = {static_cast<double>(w.LASTPOINT),
               w.MIXRATIO,
               w.PICWIDTH,
               w.PICHEIGHT,
               w.PLOTLEFT,
               w.PLOTWIDTH,
               w.PLOTHEIGHT,
               static_cast<double>(w.PLOTTOP),
               w.XMIN,
               w.XMAX,
               w.YMIN,
               w.YMAX,
               w.DATAXMIN,
               w.DATAXMAX,
               w.DATAYMIN,
               w.DATAYMAX,
               w.MOUSEMODE,
               w.DOWNX,
               w.DOWNY};
  s.filepath = w.FILEPATH;
  for (rt::Form* form : rt::live_forms()) {
    s.shown.push_back(form->shown());
    for (const auto& c : form->controls()) {
      s.texts.push_back(c->text());
      s.checks.push_back(c->check_state());
      if (const rt::Picture* p = c->picture()) {
        const rt::Raster& r = p->raster();
        std::string& pixels = s.pictures.emplace_back();
        if (r.height() > 0)
          pixels.assign(reinterpret_cast<const char*>(r.row(0)),
                        static_cast<std::size_t>(r.width()) * static_cast<std::size_t>(r.height()) *
                            sizeof(rt::Colour));
      }
    }
  }
  for (const auto& entry : fs::directory_iterator(files().folder))
    s.folder[entry.path().filename().string()] =
        entry.is_regular_file() ? read_file(entry.path()) : std::string("<folder>");
  return s;
}

// For whoever reads a crash: which part of the state a command changed.
void say_what_changed(const State& before, const State& after) {
  std::fprintf(stderr, "changed:%s%s%s%s%s%s%s\n", after.arrays != before.arrays ? " arrays" : "",
               after.scalars != before.scalars ? " scalars" : "",
               after.filepath != before.filepath ? " FILEPATH" : "",
               after.texts != before.texts ? " texts" : "",
               after.checks != before.checks ? " checks" : "",
               after.shown != before.shown ? " windows" : "",
               after.pictures != before.pictures ? " pictures" : "");
  for (std::size_t i = 0; i < after.texts.size() && i < before.texts.size(); ++i)
    if (after.texts[i] != before.texts[i])
      std::fprintf(stderr, "control %zu: \"%s\" -> \"%s\"\n", i, before.texts[i].c_str(),
                   after.texts[i].c_str());
  for (const auto& [name, bytes] : after.folder)
    if (before.folder.count(name) == 0 || before.folder.at(name) != bytes)
      std::fprintf(stderr, "file %s written\n", name.c_str());
  for (const auto& entry : before.folder)
    if (after.folder.count(entry.first) == 0)
      std::fprintf(stderr, "file %s removed\n", entry.first.c_str());
}

bool contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

void prepare_files() {
  FileSet& f = files();
  const char* shm = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
  f.folder = fs::path(shm ? shm : "/tmp") / ("tessaly-session-" + std::to_string(::getpid()));
  fs::remove_all(f.folder);
  fs::create_directories(f.folder / "folder");
  std::string over;
  for (int i = 0; i < 1002; ++i) over += std::to_string(i) + ",10,1\r\n";
  f.inputs = {
      {"good.bgd", spectrum(80, 290)},
      {"small.bgd", "1,2,1\r\n2,5,1\r\n3,3,1\r\n"},
      {"flat.bgd", "5,7,1\r\n"},
      {"header.bgd", "Wavelength,Intensity,Background\r\n1,2,1\r\n"},
      {"cut.bgd", "1,2,1\r\n3,4\r\n"},
      {"lf.bgd", "1,2,1\n4,5,1\n"},
      {"over.bgd", over},
      {"huge.bgd", "1E+39,2,1\r\n"},
      {"short.cfg", "1\r\n2\r\n3\r\n"},
      // An instrument's own export, for the raw window's "Open...".
      {"raw.txt", "Binding Energy\tCounts\n" + spectrum(80, 290)},
  };
  f.refused_loads = {"header.bgd", "cut.bgd",     "lf.bgd", "over.bgd",
                     "huge.bgd",   "missing.bgd", "folder"};
  f.load_answers = {"good.bgd", "small.bgd", "flat.bgd", "header.bgd", "cut.bgd",
                    "lf.bgd",   "over.bgd",  "huge.bgd", "short.cfg",  "missing.bgd",
                    "folder",   "out.cfg",   "out.csv",  "out.bmp",    "raw.txt"};
  f.failing_saves = {"folder", "nofolder/out.csv"};
  f.save_answers = {"out.cfg", "out.csv", "out.bmp", "folder", "nofolder/out.csv"};
  // Error reports are logged, beside the session folder (whose files must not change).
  const std::string config = f.folder.string() + "-config";
  fs::remove_all(config);
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

void restore_files() {
  const FileSet& f = files();
  for (const auto& [name, bytes] : f.inputs) write_file(f.folder / name, bytes);
  std::error_code ec;
  for (const char* name : {"out.cfg", "out.csv", "out.bmp"}) fs::remove(f.folder / name, ec);
}

enum class Kind { Other, Load, Save };

std::string menu_procedure(const std::string& item) {
  std::string name = item;
  for (char& ch : name) ch = static_cast<char>(ch - 'a' + 'A');
  return name + "_ON";
}

// What an event procedure does with its dialog's answer: the record loads and the saves whose
// refusals must change nothing (a raw load reads more than these files' refusals say).
Kind kind_of(const std::string& procedure) {
  const std::string loads[] = {menu_procedure(forms::kOpenFileItem),
                               rt::event_name(forms::kOpenButton.control, rt::EventKind::On),
                               rt::event_name(forms::kLoadButton.control, rt::EventKind::On)};
  const std::string saves[] = {menu_procedure(forms::kSaveGraphicsItem),
                               menu_procedure(forms::kSaveTextItem),
                               rt::event_name(forms::kSaveButton.control, rt::EventKind::On),
                               rt::event_name(forms::kExportImageButton.control, rt::EventKind::On),
                               rt::event_name(forms::kExportTextButton.control, rt::EventKind::On)};
  for (const std::string& name : loads)
    if (procedure == name) return Kind::Load;
  for (const std::string& name : saves)
    if (procedure == name) return Kind::Save;
  return Kind::Other;
}

// Every command of the main window's menu, from its definition, so that commands added later
// (Refine, raw loading, the report and the view) are chosen too; but not Exit, which would
// only end the session early.
const std::vector<const rt::MenuItemDef*>& menu_commands() {
  static const std::vector<const rt::MenuItemDef*> names = [] {
    std::vector<const rt::MenuItemDef*> out;
    struct Walk {
      static void items(const std::vector<rt::MenuItemDef>& list,
                        std::vector<const rt::MenuItemDef*>& out) {
        for (const rt::MenuItemDef& i : list) {
          if (!i.items.empty())
            items(i.items, out);
          else if (i.name != forms::kExitItem)
            out.push_back(&i);
        }
      }
    };
    Walk::items(forms::FORMMENU().bar, out);
    return out;
  }();
  return names;
}

// Runs the queued event; for a load or save whose answer must fail, checks that it did and
// that it changed nothing.
void run_checked(Kind kind) {
  SessionPlatform& p = platform();
  p.answers.clear();
  if (kind == Kind::Other) {
    p.typing_during_pump = true;
    rt::run_pending_events();
    p.typing_during_pump = false;
    return;
  }
  // The "Components" window shows the peak table's rows again and catches up with typing at
  // the start of each command: that catching up is no change the load or save made.
  app::sync_component_rows();
  const State before = state_now();
  const int errors = rt::reported_error_count();
  rt::run_pending_events();
  if (p.answers.size() != 1) return;
  const std::string& answer = p.answers[0];
  const bool must_fail = kind == Kind::Load ? contains(files().refused_loads, answer)
                                            : contains(files().failing_saves, answer);
  if (!must_fail) return;
  if (rt::reported_error_count() != errors + 1) __builtin_trap();
  const State after = state_now();
  if (!(after == before)) {
    say_what_changed(before, after);
    __builtin_trap();
  }
}

std::string procedure_name(rt::ObjRef control, rt::EventKind kind) {
  rt::Control* c = rt::live_control(control);
  return c ? rt::event_name(c->name(), kind) : std::string();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  rt::ignore_failed_write_signals();
  prepare_files();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  SessionPlatform& p = platform();
  p.input = &in;
  restore_files();
  // The program as it is after start-up, with nothing left of an earlier session.
  app::Session session(&p);
  session.start();
  rt::run_pending_events();
  Controls c = gather_controls();
  p.edits = c.edits;
  int mouse_buttons = 0;

  for (int actions = 0; actions < 48 && !in.empty() && !rt::quit_requested(); ++actions) {
    switch (in.pick(8)) {
      case 0:
      case 1:
        type_into(c.edits[in.pick(c.edits.size())], typed_text(in));
        break;
      case 2: {
        const rt::ObjRef button = c.buttons[in.pick(c.buttons.size())];
        rt::post_event(button, rt::EventKind::On);
        run_checked(kind_of(procedure_name(button, rt::EventKind::On)));
        break;
      }
      case 3: {
        const rt::ObjRef check = c.checks[in.pick(c.checks.size())];
        if (rt::Control* box = rt::live_control(check)) {
          box->set_check_state(box->check_state() == 1 ? 0 : 1);
          rt::post_event(check, rt::EventKind::On);
          run_checked(Kind::Other);
        }
        break;
      }
      case 4: {
        const rt::MenuItemDef& chosen = *menu_commands()[in.pick(menu_commands().size())];
        const std::string& item = chosen.name;
        // A check item toggles its mark before its procedure runs, as a user's choice does.
        if (chosen.check_item) rt::set_menu_checked(item, !rt::menu_checked(item));
        rt::post_menu_event(item);
        run_checked(kind_of(menu_procedure(item)));
        // A command may open a window (the raw spectrum's, the report's): its controls join.
        c = gather_controls();
        p.edits = c.edits;
        break;
      }
      case 5:
      case 6: {
        // Down, a few moves, up: a drag on the graph, possibly far outside it.
        const int moves = static_cast<int>(in.pick(4));
        for (int step = 0; step < moves + 2; ++step) {
          const rt::EventKind kind = step == 0           ? rt::EventKind::MouseDown
                                     : step == moves + 1 ? rt::EventKind::MouseUp
                                                         : rt::EventKind::MouseMove;
          const float scale = in.byte() == 255 ? 1000.f : 3.f;
          rt::MouseData mouse{(in.byte() - 16) * scale, (in.byte() - 16) * scale, 0, 0};
          if (kind == rt::EventKind::MouseDown) mouse_buttons = 1;
          mouse.buttons = mouse_buttons;
          if (kind == rt::EventKind::MouseUp) mouse_buttons = 0;
          rt::post_event(c.picture, kind, mouse);
          run_checked(Kind::Other);
        }
        break;
      }
      case 7: {
        const char* const form = in.pick(16) == 0 ? "MAINFORM" : "FORM4";
        if (rt::Form* f = rt::find_live_form(form)) rt::close_form_by_user(f->ref());
        run_checked(Kind::Other);
        break;
      }
    }
    if (!rt::open_file_numbers().empty()) __builtin_trap();
  }
  p.input = nullptr;
  return 0;
}
