#pragma once
// The drawing operations as the program calls them: on a picture box or an image reached by
// its reference (error 1000 when it no longer exists, 1002 for the wrong kind). Every change
// of a picture is shown by the platform.

#include <source_location>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/forms/objects.h"
#include "runtime/picture/picture.h"

namespace rt {

void picture_clear(ObjRef picture, std::source_location where = std::source_location::current());
void picture_set_colour(ObjRef picture, std::int64_t colour,
                        std::source_location where = std::source_location::current());
// Clears the picture and draws the steps into it (a description of the whole picture).
void picture_draw(ObjRef picture, const Drawing& drawing,
                  std::source_location where = std::source_location::current());
void picture_line(ObjRef picture, const LineCommand& command,
                  std::source_location where = std::source_location::current());
// Joins the points in order in the drawing colour, as one line statement per segment would,
// looking the picture up once: a curve of a thousand points is one statement. A segment that
// fails raises its error with the segments before it drawn.
void picture_polyline(ObjRef picture, const std::vector<PointF>& points,
                      std::source_location where = std::source_location::current());
// The colour as six upper-case hexadecimal digits is what the graph's hit test compares.
Colour picture_pixel(ObjRef picture, double x, double y,
                     std::source_location where = std::source_location::current());
void picture_font_size(ObjRef picture, double size,
                       std::source_location where = std::source_location::current());
void picture_text_position(ObjRef picture, PointF p,
                           std::source_location where = std::source_location::current());
void picture_print_line(ObjRef picture, std::string_view text,
                        std::source_location where = std::source_location::current());
// Where printing the text at `at` would ink (see Picture::text_box); draws nothing.
InkBox picture_text_box(ObjRef picture, PointF at, std::string_view text,
                        std::source_location where = std::source_location::current());

void image_size(ObjRef image, double w, double h,
                std::source_location where = std::source_location::current());
// Copies width x height pixels from the top-left of the picture's stored drawing to (x, y).
void image_copy_picture(ObjRef image, ObjRef picture, double x, double y, double width,
                        double height,
                        std::source_location where = std::source_location::current());
void image_save(ObjRef image, const std::string& path,
                std::source_location where = std::source_location::current());

}  // namespace rt
