#pragma once
// Text on pictures through Qt's font engine. The same code serves the desktop and the
// headless mode (under the "offscreen" platform plugin), so both give the same pixels.
// A QGuiApplication must exist while text is drawn.

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "runtime/picture/text_renderer.h"

namespace platform_text {

// The installed family that stands in for a face the forms name; unknown faces get the
// proportional Japanese-capable default.
QString font_family_for(const std::string& face);

class QtTextRenderer : public rt::TextRenderer {
 public:
  // Without a QGuiApplication nothing is drawn and the line height is the pixel height.
  int draw_text(rt::Raster& raster, int x, int y, std::string_view utf8, const std::string& face,
                int pixel_height, rt::Colour colour) override;
  int line_height(const std::string& face, int pixel_height) override;
  rt::InkBox ink_box(std::string_view utf8, const std::string& face, int pixel_height) override;
  int text_width(std::string_view utf8, const std::string& face, int pixel_height) override;
  int text_ascent(const std::string& face, int pixel_height) override;

  // Whether Qt's font engine (and with it the system's font configuration) was ever asked.
  bool fonts_used() const { return fonts_used_; }

 private:
  struct CachedFont {
    std::string face;
    int pixel_height;
    QFont font;
    QFontMetrics metrics;
  };
  const CachedFont& font(const std::string& face, int pixel_height);

  // The pixels a text inks, relative to its text position. A graph prints the same few dozen
  // labels at every redraw; rendering each once makes a redraw's text nearly free.
  struct Ink {
    std::vector<std::pair<int, int>> pixels;  // (dx, dy)
    rt::InkBox box;
  };
  const Ink& ink_of(const std::string& face, int pixel_height, std::string_view utf8);

  std::optional<CachedFont> cached_;  // the graph uses one font for all its labels
  bool fonts_used_ = false;
  std::map<std::tuple<std::string, int, std::string>, Ink> inks_;
};

}  // namespace platform_text
