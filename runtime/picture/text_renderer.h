#pragma once
// Text on pictures needs a font engine, which only the platform layer has. The platform
// installs a renderer at start-up; the run-time calls it through this interface.

#include <string>
#include <string_view>

#include "runtime/picture/raster.h"

namespace rt {

// The smallest rectangle holding every pixel a text inks, relative to its text position,
// corners inclusive. Empty for a text that inks nothing.
struct InkBox {
  int left = 0, top = 0, right = -1, bottom = -1;
  bool empty() const { return right < left || bottom < top; }
};

struct TextRenderer {
  virtual ~TextRenderer() = default;
  // Draws `utf8` into `raster` with its top-left corner at (x, y), in `colour`, on a
  // transparent background (pixels between the strokes stay as they are), in `face` with a
  // character height of `pixel_height`. Returns the font's line height in pixels.
  virtual int draw_text(Raster& raster, int x, int y, std::string_view utf8,
                        const std::string& face, int pixel_height, Colour colour) = 0;
  // What draw_text returns, without drawing.
  virtual int line_height(const std::string& face, int pixel_height);
  // Where draw_text would ink, without drawing.
  virtual InkBox ink_box(std::string_view, const std::string&, int) { return {}; }
  // The advance width of `utf8` and the font's ascent (its baseline below the top), in
  // pixels. Without a font engine they are estimates: 0.6 and 0.88 of the height.
  virtual int text_width(std::string_view utf8, const std::string& face, int pixel_height);
  virtual int text_ascent(const std::string& face, int pixel_height);
};

// What a renderer without a font engine takes for the width and the ascent.
int estimated_text_width(std::string_view utf8, int pixel_height);
int estimated_text_ascent(int pixel_height);

// The renderer that text on pictures uses, the current program's (runtime/state); none (null)
// by default, and then text draws nothing. The caller keeps the renderer alive while it is
// installed.
void set_text_renderer(TextRenderer* renderer);
TextRenderer* text_renderer();

}  // namespace rt
