#include "app/graph/fit_view_window.h"

#include <algorithm>
#include <cctype>

#include "app/graph/fit_view.h"
#include "app/workspace/error_locations.h"
#include "runtime/dialogs/file_dialogs.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/replacing_save.h"
#include "runtime/forms/control_values.h"
#include "runtime/picture/figure_files.h"
#include "runtime/picture/picture_ops.h"

namespace app {
namespace {

constexpr const char* kForm = "FORM8";

void draw_into(rt::ObjRef form) {
  const FitView view = current_fit_view();
  rt::picture_draw(rt::find_control(form, "PICTURE1"), view.drawing);
  rt::set_text(rt::find_control(form, "STATE"), view.state);
}

bool ends_with(const std::string& path, const std::string& end) {
  if (path.size() < end.size()) return false;
  return std::equal(end.begin(), end.end(), path.end() - static_cast<std::ptrdiff_t>(end.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

}  // namespace

void update_fit_view_window() {
  if (rt::Form* form = rt::find_live_form(kForm)) draw_into(form->ref());
}

void show_fit_view_window() {
  rt::Form* form = rt::find_live_form(kForm);
  if (!form) {
    draw_into(rt::create_form(kForm, true));
    return;
  }
  rt::show_form(form->ref(), -1);
  draw_into(form->ref());
}

FigureFormat figure_format(const std::string& path) {
  if (ends_with(path, ".4x.png")) return FigureFormat::kPng4x;
  if (ends_with(path, ".png")) return FigureFormat::kPng2x;
  return FigureFormat::kSvg;
}

void save_fit_view_figure(const std::string& path) {
  const FitViewData data = current_fit_view_data();
  if (data.x.empty())
    rt::raise_error_with_detail(rt::kInvalidArgument,
                                "Save figure: no spectrum is loaded; open one first",
                                location(FitViewCheck::NoSpectrum));
  const FitView view = build_fit_view(data);
  const FigureFormat format = figure_format(path);
  rt::ReplacingSave save(path, rt::kCannotCreateFile);
  if (format == FigureFormat::kSvg) {
    const std::string svg = rt::svg_text(view.drawing);
    rt::write_figure_file(save.path(), svg.data(), svg.size());
  } else {
    const int scale = format == FigureFormat::kPng4x ? 4 : 2;
    const std::vector<std::uint8_t> png = rt::png_bytes(rt::rasterize(view.drawing, scale));
    rt::write_figure_file(save.path(), png.data(), png.size());
  }
  save.commit();
}

void export_fit_view_figure(rt::ObjRef owner) {
  if (current_fit_view_data().x.empty())
    rt::raise_error_with_detail(rt::kInvalidArgument,
                                "Save figure: no spectrum is loaded; open one first",
                                location(FitViewCheck::NoSpectrum));
  const std::string path = rt::save_file_dialog(
      owner, "Save figure", "*.svg",
      "SVG figure(*.svg);PNG figure, twice the size(*.png);PNG figure, four times the "
      "size(*.4x.png)",
      0);
  if (path == rt::kCancelMark) return;
  save_fit_view_figure(path);
}

}  // namespace app
