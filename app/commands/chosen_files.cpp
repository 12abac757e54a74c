#include "app/commands/chosen_files.h"

#include <string>

#include "app/files/fit_report_file.h"
#include "app/files/image_export.h"
#include "app/files/result_export.h"
#include "app/files/settings_file.h"
#include "app/files/spectrum_load.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/dialogs/file_dialogs.h"

namespace app {

void load_chosen_spectrum() {
  const std::string path =
      rt::open_file_dialog(rt::kNullRef, "ファイルのオープン", "*.bgd",
                           "BG subtracted data(*.bgd);rawファイル(*.txt,*.csv);そのほか(*.*)", 0);
  if (path == rt::kCancelMark)
    workspace().FILEPATH = path;
  else
    load_spectrum(path);
}

void load_settings_from_chosen_file() {
  const std::string path = rt::open_file_dialog(controls().form2, "設定の読込", "*.cfg",
                                                "Config file(*.cfg);そのほか(*.*)", 0);
  if (path != rt::kCancelMark) load_settings(path);
}

void save_settings_as() {
  const std::string path = rt::save_file_dialog(controls().form2, "設定の保存", "*.cfg",
                                                "Config file(*.cfg);そのほか(*.*)", 0);
  if (path != rt::kCancelMark) save_settings(path);
}

void export_result_text(rt::ObjRef owner) {
  const std::string path =
      rt::save_file_dialog(owner, "結果の保存", "*.csv", "CSV file(*.csv);そのほか(*.*)", 0);
  if (path != rt::kCancelMark) save_result_text(path);
}

void export_graph_image(rt::ObjRef owner) {
  const GraphImage image;
  const std::string path =
      rt::save_file_dialog(owner, "ファイルの保存", "*.bmp", "bitmap(*.bmp)", 0);
  if (path != rt::kCancelMark) image.save(path);
}

void export_fit_report(rt::ObjRef owner) {
  refuse_without_fit();
  const std::string path = rt::save_file_dialog(owner, "フィットレポートの保存", "*.csv",
                                                "CSV file(*.csv);そのほか(*.*)", 0);
  if (path != rt::kCancelMark) save_fit_report(path);
}

}  // namespace app
