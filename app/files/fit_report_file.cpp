#include "app/files/fit_report_file.h"

#include "app/files/replacing_text_save.h"
#include "app/model/fit_report.h"
#include "app/workspace/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace app {
namespace {

constexpr const char* kNoFit = "No fit to report yet: press FITTING or choose Refine first.";

}  // namespace

void save_fit_report(const std::string& path) {
  const FitRecord* record = last_fit();
  if (!record)
    rt::raise_error_with_detail(rt::kInvalidArgument, kNoFit,
                                location(FitReportCheck::NoFitToSave));
  save_text_lines(path, fit_report_lines(make_fit_report(*record)));
}

void refuse_without_fit() {
  if (!last_fit())
    rt::raise_error_with_detail(rt::kInvalidArgument, kNoFit,
                                location(FitReportCheck::NoFitForDialog));
}

}  // namespace app
