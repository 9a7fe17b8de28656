#pragma once
// The player's default pictures, drawn in code: the five transport images of
// the plain tool bar and the playlist's tool buttons.
#include "ui/gdi.h"
#include "ui/image_list.h"

namespace lumorix {

// Previous, play, pause, stop, next; 45 x 39 each.
void AddTransportImages(ui::ImageList& images);
// Add, delete, repeat, random; 24 x 24 each.
void AddPlayListImages(ui::ImageList& images);

}  // namespace lumorix
