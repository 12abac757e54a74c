#include "runtime/picture/figure_files.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <csetjmp>
#include <new>

#include "runtime/convert/integer_text.h"
#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/picture/text_renderer.h"

namespace rt {
namespace {

// Two decimals are finer than any renderer places a stroke; trailing zeros go.
void append_number(std::string& out, double v) {
  char buffer[48];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 2);
  if (ec != std::errc()) {
    out += '0';
    return;
  }
  std::string_view s(buffer, static_cast<std::size_t>(end - buffer));
  while (!s.empty() && s.back() == '0') s.remove_suffix(1);
  if (!s.empty() && s.back() == '.') s.remove_suffix(1);
  if (s == "-0") s = "0";
  out += s;
}

std::string hex_colour(Colour c) {
  static const char digits[] = "0123456789abcdef";
  // 0x00BBGGRR to #rrggbb.
  const unsigned rgb[3] = {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF};
  std::string s = "#";
  for (unsigned v : rgb) {
    s += digits[v >> 4];
    s += digits[v & 0xF];
  }
  return s;
}

void append_escaped(std::string& out, const std::string& text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // XML takes no control characters but TAB, LF and CR.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
          out += ' ';
        else
          out += c;
    }
  }
}

bool finite(PointF p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// One clip path per distinct rectangle; the steps that share it refer to it by its id.
struct ClipPaths {
  std::string defs;
  std::vector<std::pair<ClipRect, std::string>> ids;

  std::string attribute(const ClipRect& r) {
    for (const auto& known : ids)
      if (known.first.left == r.left && known.first.top == r.top && known.first.right == r.right &&
          known.first.bottom == r.bottom)
        return " clip-path=\"url(#" + known.second + ")\"";
    const std::string id = "clip" + rt::decimal_text(static_cast<std::int64_t>(ids.size()));
    ids.emplace_back(r, id);
    // The raster keeps whole pixels from left to right inclusive: one pixel more than the
    // span, its edges half a pixel out from the pixel centres the strokes run along.
    defs += "<clipPath id=\"" + id + "\"><rect x=\"";
    append_number(defs, r.left - 0.5);
    defs += "\" y=\"";
    append_number(defs, r.top - 0.5);
    defs += "\" width=\"";
    append_number(defs, r.right - r.left + 1);
    defs += "\" height=\"";
    append_number(defs, r.bottom - r.top + 1);
    defs += "\"/></clipPath>\n";
    return " clip-path=\"url(#" + id + ")\"";
  }
};

// A polyline stops at a point that is not a number and starts again after it.
void append_polylines(std::string& out, const DrawStep& step, const std::string& clip) {
  std::size_t i = 0;
  while (i < step.points.size()) {
    while (i < step.points.size() && !finite(step.points[i])) ++i;
    std::string points;
    std::size_t n = 0;
    for (; i < step.points.size() && finite(step.points[i]); ++i, ++n) {
      if (n > 0) points += ' ';
      append_number(points, step.points[i].x);
      points += ',';
      append_number(points, step.points[i].y);
    }
    if (n < 2) continue;
    out += "<polyline fill=\"none\" stroke=\"";
    out += hex_colour(step.colour);
    out += "\" stroke-width=\"1\" stroke-linejoin=\"round\" points=\"";
    out += points;
    out += '"';
    out += clip;
    out += "/>\n";
  }
}

void append_points(std::string& out, const DrawStep& step) {
  out += "<g fill=\"" + hex_colour(step.colour) + "\">\n";
  const double side = 2 * step.marker_radius + 1;
  for (const PointF& p : step.points) {
    if (!finite(p) || (step.clip && !step.clip->contains(p))) continue;
    out += "<rect x=\"";
    append_number(out, std::round(p.x) - step.marker_radius - 0.5);
    out += "\" y=\"";
    append_number(out, std::round(p.y) - step.marker_radius - 0.5);
    out += "\" width=\"";
    append_number(out, side);
    out += "\" height=\"";
    append_number(out, side);
    out += "\"/>\n";
  }
  out += "</g>\n";
}

void append_rectangle(std::string& out, const DrawStep& step) {
  if (step.points.size() < 2) return;
  const PointF a = step.points[0], b = step.points[1];
  out += "<rect fill=\"none\" stroke=\"" + hex_colour(step.colour) + "\" stroke-width=\"1\" x=\"";
  append_number(out, std::min(a.x, b.x));
  out += "\" y=\"";
  append_number(out, std::min(a.y, b.y));
  out += "\" width=\"";
  append_number(out, std::fabs(b.x - a.x));
  out += "\" height=\"";
  append_number(out, std::fabs(b.y - a.y));
  out += "\"/>\n";
}

void append_text(std::string& out, const DrawStep& step) {
  if (step.points.empty() || step.text.empty() || !finite(step.points[0])) return;
  static constexpr const char* kAnchors[] = {"start", "middle", "end"};
  TextRenderer* renderer = text_renderer();
  const int ascent = renderer ? renderer->text_ascent(kDrawingFontFace, step.text_height)
                              : estimated_text_ascent(step.text_height);
  out += "<text x=\"";
  append_number(out, step.points[0].x - 0.5);
  out += "\" y=\"";
  append_number(out, step.points[0].y - 0.5 + ascent);
  out += "\" font-size=\"" + rt::decimal_text(step.text_height) + "\" fill=\"" +
         hex_colour(step.colour) + "\" text-anchor=\"" + kAnchors[static_cast<int>(step.anchor)] +
         "\">";
  append_escaped(out, step.text);
  out += "</text>\n";
}

}  // namespace

std::string svg_text(const Drawing& drawing) {
  std::string body;
  ClipPaths clips;
  for (const DrawStep& step : drawing.steps) {
    switch (step.kind) {
      case DrawStep::Kind::kPolyline:
        append_polylines(body, step, step.clip ? clips.attribute(*step.clip) : std::string());
        break;
      case DrawStep::Kind::kPoints:
        append_points(body, step);
        break;
      case DrawStep::Kind::kRectangle:
        append_rectangle(body, step);
        break;
      case DrawStep::Kind::kText:
        append_text(body, step);
        break;
    }
  }
  const std::string w = rt::decimal_text(drawing.width), h = rt::decimal_text(drawing.height);
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + w + "\" height=\"" +
         h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
  out += "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n";
  if (!clips.defs.empty()) out += "<defs>\n" + clips.defs + "</defs>\n";
  // The shift puts a stroke along pixel i's centre, i + 0.5, as the raster draws it.
  out +=
      "<g transform=\"translate(0.5,0.5)\" font-family=\"IPAPGothic, 'IPA PGothic', 'DejaVu "
      "Sans', sans-serif\">\n";
  out += body;
  out += "</g>\n</svg>\n";
  return out;
}

namespace {

struct PngSink {
  std::vector<std::uint8_t>* bytes;
};

void png_append(png_structp png, png_bytep data, png_size_t size) {
  auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
  try {
    sink->bytes->insert(sink->bytes->end(), data, data + size);
  } catch (const std::bad_alloc&) {
    png_error(png, "no memory");  // a long jump: no exception may cross the library
  }
}

void png_flush(png_structp) {}

// libpng reports a failure by a long jump back to the setjmp below, so this function holds
// nothing that needs destroying and changes no local after it.
bool write_png(png_structp png, png_infop info, const Raster& raster, std::uint8_t* row,
               PngSink* sink) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_set_write_fn(png, sink, &png_append, &png_flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(raster.width()),
               static_cast<png_uint_32>(raster.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (std::int32_t y = 0; y < raster.height(); ++y) {
    const Colour* pixels = raster.row(y);
    for (std::int32_t x = 0; x < raster.width(); ++x) {
      const Colour c = pixels[x];
      std::uint8_t* out = row + static_cast<std::size_t>(x) * 3;
      out[0] = static_cast<std::uint8_t>(c & 0xFF);
      out[1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
      out[2] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
    }
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::vector<std::uint8_t> png_bytes(const Raster& raster, std::source_location where) {
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint8_t> row;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = png != nullptr && info != nullptr;
  if (ok) {
    try {
      row.resize(static_cast<std::size_t>(raster.width()) * 3 + 1);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  PngSink sink{&bytes};
  if (ok) ok = write_png(png, info, raster, row.data(), &sink);
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  if (!ok) raise_error(kOutOfMemory, location(ImageSaveCheck::NoMemory), where);
  return bytes;
}

void write_figure_file(const std::string& path, const void* bytes, std::size_t size,
                       std::source_location where) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    record_api_error(errno);
    raise_error(kCannotCreateFile, location(ImageSaveCheck::CannotCreate), where);
  }
  const auto* data = static_cast<const std::uint8_t*>(bytes);
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int os_error = n == 0 ? ENOSPC : errno;
      ::close(fd);
      record_api_error(os_error);
      raise_error(kDiskFull, location(ImageSaveCheck::WriteRows), where);
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) {
    record_api_error(errno);
    raise_error(kDiskFull, location(ImageSaveCheck::Close), where);
  }
}

}  // namespace rt
