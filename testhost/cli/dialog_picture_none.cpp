// Builds without the drawing library (the Windows test host, built by mingw-w64):
// the dialog can be shown as text only.
#include "dialog_picture.h"

namespace cli {

bool PicturesAvailable() { return false; }

bool WriteDialogPicture(const DialogView&, const std::string&, std::string& error) {
  error = "pictures are not available in this build";
  return false;
}

}  // namespace cli
