#pragma once
// A picture box's drawing surface: the stored drawing and the drawing state. The platform
// shows raster() and repaints from it; nothing of the drawing lives anywhere else. Pixels are
// drawn when something reads them (runtime/picture/lazy_raster.h); every check and every
// change of the drawing state happens at once.

#include <cstdint>
#include <optional>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/picture/colour.h"
#include "runtime/picture/lazy_raster.h"
#include "runtime/picture/point.h"
#include "runtime/picture/raster.h"
#include "runtime/picture/text_renderer.h"

namespace rt {

struct Drawing;

enum class LineMode { kLine, kRectangle, kFilledRectangle };

struct LineCommand {
  std::optional<PointF> first;  // absent: the current position (the relative flag is then moot)
  bool first_relative = false;  // adds the current position to `first`
  PointF second;
  bool second_relative = false;              // adds the first point to `second`
  std::optional<std::int32_t> colour_index;  // palette 0..15; absent: the drawing colour
  LineMode mode = LineMode::kLine;
  std::optional<std::int32_t> fill_index;  // palette 0..15, filled rectangles only
  bool in_background = false;  // draw in the background colour instead of the line colour
};

inline constexpr const char* kDefaultFontFace = "ＭＳ Ｐゴシック";
inline constexpr std::int32_t kDefaultFontSize = 12;
inline constexpr std::int32_t kMaxFontSize = 2048;

// What a picture keeps besides its pixels: the settings the next drawing operation uses.
struct PictureSettings {
  Colour drawing_colour = kBlack;
  Colour background_colour = kWhite;
  PointF current;
  std::string font_face = kDefaultFontFace;
  std::int32_t font_size = kDefaultFontSize;
  PointF text_position;
  bool operator==(const PictureSettings&) const = default;
};

class Picture {
 public:
  // A white width x height surface; errors as for Raster.
  Picture(std::int32_t width, std::int32_t height,
          std::source_location where = std::source_location::current());

  const Raster& raster() const { return raster_.pixels(); }
  std::int32_t width() const { return raster_.width(); }
  std::int32_t height() const { return raster_.height(); }
  // Moves on with every change of the drawing; the platform repaints when it has moved.
  std::uint64_t revision() const { return revision_; }

  // Fills the whole drawing with the background colour; positions and colours stay.
  void clear();

  Colour drawing_colour() const { return drawing_colour_; }
  // 0 .. 0xFFFFFF, else error 6.
  void set_drawing_colour(std::int64_t colour,
                          std::source_location where = std::source_location::current());
  Colour background_colour() const { return background_colour_; }
  void set_background_colour(std::int64_t colour,
                             std::source_location where = std::source_location::current());

  // Draws a line or a rectangle, then makes the second point the current position. Ends
  // beyond the 32-bit pixels draw what lies within the raster. A palette index outside 0..15 is
  // error 5, a point beyond the single range error 6; after an error nothing is drawn and the
  // current position stays.
  void line(const LineCommand& command,
            std::source_location where = std::source_location::current());
  // line() for each segment of the points in turn, both ends given, in the drawing colour: a
  // failed segment raises its error with the segments before it drawn.
  void polyline(const std::vector<PointF>& points,
                std::source_location where = std::source_location::current());
  PointF current_position() const { return current_; }
  void set_current_position(PointF p) { current_ = p; }

  // The colour of the pixel at (x, y), or kNoPixel outside the picture. A coordinate beyond
  // the single range: error 6.
  Colour pixel(double x, double y,
               std::source_location where = std::source_location::current()) const;

  const std::string& font_face() const { return font_face_; }
  void set_font_face(std::string face) { font_face_ = std::move(face); }
  std::int32_t font_size() const { return font_size_; }
  // Character height in pixels, 1 .. kMaxFontSize after rounding, else error 5; the face stays.
  void set_font_size(double size, std::source_location where = std::source_location::current());

  PointF text_position() const { return text_position_; }
  void set_text_position(PointF p) { text_position_ = p; }
  // Draws the text in black with its top-left corner at the text position (through the
  // installed text renderer, if any), then moves the text position to the left edge of the
  // next line. A text position beyond the single range: error 6.
  void print_line(std::string_view utf8,
                  std::source_location where = std::source_location::current());

  // The pixels print_line would ink with the text position at `at`, in picture pixels (corners
  // inclusive); empty when it would ink none, or when no renderer is installed.
  InkBox text_box(PointF at, std::string_view utf8) const;

  PictureSettings settings() const;
  // Puts back a drawing and its settings as an earlier settings() and raster() gave them (an
  // undone step); the platform repaints since the revision moves on.
  void restore(Raster raster, const PictureSettings& settings);

  // Clears the drawing and draws the steps at scale 1 (a drawing of another size is drawn
  // from the top-left corner, what falls outside cut off).
  void draw(const Drawing& drawing);

  // New size; what fits of the old drawing stays, the rest is background.
  void resize(std::int32_t width, std::int32_t height,
              std::source_location where = std::source_location::current());

 private:
  LazyRaster raster_;
  std::uint64_t revision_ = 0;
  Colour drawing_colour_ = kBlack;
  Colour background_colour_ = kWhite;
  PointF current_;
  std::string font_face_ = kDefaultFontFace;
  std::int32_t font_size_ = kDefaultFontSize;
  PointF text_position_;
};

}  // namespace rt
