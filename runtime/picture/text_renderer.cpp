#include "runtime/picture/text_renderer.h"

#include <cmath>

#include "runtime/state/runtime_state.h"

namespace rt {

int estimated_text_width(std::string_view utf8, int pixel_height) {
  std::size_t characters = 0;
  for (const char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  return static_cast<int>(std::lround(0.6 * pixel_height * static_cast<double>(characters)));
}

int estimated_text_ascent(int pixel_height) {
  return static_cast<int>(std::lround(0.88 * pixel_height));
}

int TextRenderer::text_width(std::string_view utf8, const std::string&, int pixel_height) {
  return estimated_text_width(utf8, pixel_height);
}

int TextRenderer::text_ascent(const std::string&, int pixel_height) {
  return estimated_text_ascent(pixel_height);
}

int TextRenderer::line_height(const std::string& face, int pixel_height) {
  Raster none;
  return draw_text(none, 0, 0, {}, face, pixel_height, kBlack);
}

void set_text_renderer(TextRenderer* renderer) {
  RuntimeState& s = state();
  // Text queued for the old renderer is drawn while it is surely still alive.
  if (renderer != s.text_renderer) s.queued_text.apply_all();
  s.text_renderer = renderer;
}
TextRenderer* text_renderer() { return state().text_renderer; }

}  // namespace rt
