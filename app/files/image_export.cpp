#include "app/files/image_export.h"

#include <string>

#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/dialogs/file_dialogs.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/replacing_save.h"
#include "runtime/picture/picture_ops.h"

namespace app {

void export_graph_image(rt::ObjRef owner) {
  const Workspace& w = workspace();
  const rt::ObjRef image = rt::new_image();
  try {
    rt::image_size(image, w.PICWIDTH, w.PICHEIGHT);
    // The copy is taken before the dialog opens, from the picture's stored drawing.
    rt::image_copy_picture(image, PICTURE(1), 0, 0, w.PICWIDTH, w.PICHEIGHT);
    const std::string path =
        rt::save_file_dialog(owner, "ファイルの保存", "*.bmp", "bitmap(*.bmp)", 0);
    if (path != rt::kCancelMark) {
      rt::ReplacingSave save(path, rt::kCannotCreateFile);
      try {
        rt::image_save(image, save.path());
      } catch (rt::RuntimeError& error) {
        save.abandon(error);
        throw;
      }
      save.commit();
    }
  } catch (const rt::RuntimeError&) {
    rt::free_image(image);
    throw;
  }
  rt::free_image(image);
}

}  // namespace app
