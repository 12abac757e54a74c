#include "app/files/fit_report_file.h"

#include "app/files/replacing_text_save.h"
#include "app/model/fit_report.h"
#include "runtime/dialogs/file_dialogs.h"
#include "runtime/errors/runtime_error.h"

namespace app {
namespace {

constexpr std::uint32_t kReportLocation = 0x1600;

}  // namespace

void save_fit_report(const std::string& path) {
  const FitRecord* record = last_fit();
  if (!record)
    rt::raise_error_because(rt::kInvalidArgument, "No fit to report yet: press FITTING or choose Refine first.",
                            kReportLocation | 1);
  save_text_lines(path, fit_report_lines(make_fit_report(*record)));
}

void export_fit_report(rt::ObjRef owner) {
  if (!last_fit())
    rt::raise_error_because(rt::kInvalidArgument, "No fit to report yet: press FITTING or choose Refine first.",
                            kReportLocation | 2);
  const std::string path =
      rt::save_file_dialog(owner, "フィットレポートの保存", "*.csv", "CSV file(*.csv);そのほか(*.*)", 0);
  if (path == rt::kCancelMark) return;
  save_fit_report(path);
}

}  // namespace app
