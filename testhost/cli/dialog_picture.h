#pragma once
// Draws the dialog as the host would show it — title bar, menu bar, the grid with
// its columns, check marks, greyed fields — into an image file.
#include <string>

#include "dialog_view.h"

namespace cli {

// Whether this build can draw pictures (not every platform has the drawing library).
bool PicturesAvailable();

// Writes the dialog as a PNG image (`file` ending in .png) or a one-page PDF
// (ending in .pdf), either ending in any case. False with `error` set when the name
// has another ending, the dialog is not open, or the file cannot be written.
bool WriteDialogPicture(const DialogView& view, const std::string& file, std::string& error);

}  // namespace cli
