#pragma once

#include <QImage>
#include <QPagedPaintDevice>

#include "platform/services.h"

namespace vantrel {

// Draws a page laid out in centimetres from the top left of the device's printable area;
// false when the device could not be painted on.
bool paintPage(const Page& page, QPaintDevice& device);

// A picture of a window at its size on screen, shrunk to the printable area when larger.
bool paintPicture(const QImage& picture, QPagedPaintDevice& device);

}  // namespace vantrel
