#pragma once

#include "runtime/forms/objects.h"

namespace app {

// Copies the graph as it was last drawn into an off-screen image, asks for the file in a save
// dialog owned by `owner` and writes the image there as a BMP file. The image is destroyed at
// the end, also after a cancel or a failure.
void export_graph_image(rt::ObjRef owner);

}  // namespace app
