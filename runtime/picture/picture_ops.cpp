#include "runtime/picture/picture_ops.h"

#include "runtime/forms/object_table.h"
#include "runtime/forms/platform.h"
#include "runtime/picture/drawing.h"
#include "runtime/picture/image.h"

namespace rt {
namespace {

// Runs a drawing operation and lets the platform show the result, also when it failed part-way.
template <class Op>
void draw(ObjRef ref, std::source_location where, Op&& op) {
  Picture& picture = picture_of(ref, where);
  struct Notify {
    ObjRef ref;
    ~Notify() {
      if (Platform* p = platform())
        if (Control* c = live_control(ref)) p->picture_changed(*c);
    }
  } notify{ref};
  op(picture);
}

}  // namespace

void picture_clear(ObjRef ref, std::source_location where) {
  draw(ref, where, [](Picture& p) { p.clear(); });
}

void picture_set_colour(ObjRef ref, std::int64_t colour, std::source_location where) {
  picture_of(ref, where).set_drawing_colour(colour, where);
}

void picture_draw(ObjRef ref, const Drawing& drawing, std::source_location where) {
  draw(ref, where, [&](Picture& p) { p.draw(drawing); });
}

void picture_line(ObjRef ref, const LineCommand& command, std::source_location where) {
  draw(ref, where, [&](Picture& p) { p.line(command, where); });
}

void picture_polyline(ObjRef ref, const std::vector<PointF>& points, std::source_location where) {
  draw(ref, where, [&](Picture& p) { p.polyline(points, where); });
}

Colour picture_pixel(ObjRef ref, double x, double y, std::source_location where) {
  return picture_of(ref, where).pixel(x, y, where);
}

void picture_font_size(ObjRef ref, double size, std::source_location where) {
  picture_of(ref, where).set_font_size(size, where);
}

void picture_text_position(ObjRef ref, PointF p, std::source_location where) {
  picture_of(ref, where).set_text_position(p);
}

void picture_print_line(ObjRef ref, std::string_view text, std::source_location where) {
  draw(ref, where, [&](Picture& p) { p.print_line(text, where); });
}

InkBox picture_text_box(ObjRef ref, PointF at, std::string_view text, std::source_location where) {
  return picture_of(ref, where).text_box(at, text);
}

void image_size(ObjRef ref, double w, double h, std::source_location where) {
  image_of(ref, where).set_size(w, h, where);
}

void image_copy_picture(ObjRef image, ObjRef picture, double x, double y, double width,
                        double height, std::source_location where) {
  Image& target = image_of(image, where);
  target.copy_from(picture_of(picture, where).raster(), x, y, width, height, where);
}

void image_save(ObjRef ref, const std::string& path, std::source_location where) {
  image_of(ref, where).save_bmp(path, where);
}

}  // namespace rt
