// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPagedPaintDevice>

#include "platform/services.h"

namespace vantrel {

// Draws a page laid out in centimetres from the top left of the device's printable area;
// false when the device could not be painted on.
bool paintPage(const Page& page, QPagedPaintDevice& device);

// One A4 PDF page with no margins, drawn by `paint`; empty when it could not be drawn.
QByteArray pdfPage(const std::function<bool(QPagedPaintDevice&)>& paint);

// Arial, or a font with Arial's metrics where Arial is not installed.
QFont printFont(const PrintFont& font);

}  // namespace vantrel
