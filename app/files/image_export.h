#pragma once
// The graph image as a BMP file.

#include <string>

#include "runtime/forms/objects.h"

namespace app {

// An off-screen copy of the graph as it was last drawn, taken at construction (before a dialog
// can let anything redraw it) and destroyed with this object, also after a failure.
class GraphImage {
 public:
  GraphImage();
  ~GraphImage();
  GraphImage(const GraphImage&) = delete;
  GraphImage& operator=(const GraphImage&) = delete;

  // Writes the copy to `path` as a BMP file like every other save (a temporary file, then a
  // rename).
  void save(const std::string& path) const;

 private:
  rt::ObjRef image_;
};

}  // namespace app
