#include "app/files/image_export.h"

#include <string>

#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/replacing_save.h"
#include "runtime/picture/picture_ops.h"

namespace app {

GraphImage::GraphImage() : image_(rt::new_image()) {
  const Workspace& w = workspace();
  try {
    rt::image_size(image_, w.PICWIDTH, w.PICHEIGHT);
    rt::image_copy_picture(image_, PICTURE(1), 0, 0, w.PICWIDTH, w.PICHEIGHT);
  } catch (const rt::RuntimeError&) {
    rt::free_image(image_);
    throw;
  }
}

GraphImage::~GraphImage() {
  // Freeing a live image does not fail; a destructor must not throw if it ever did.
  try {
    rt::free_image(image_);
  } catch (const rt::RuntimeError&) {
  }
}

void GraphImage::save(const std::string& path) const {
  rt::ReplacingSave save(path, rt::kCannotCreateFile);
  try {
    rt::image_save(image_, save.path());
  } catch (rt::RuntimeError& error) {
    save.abandon(error);
    throw;
  }
  save.commit();
}

}  // namespace app
