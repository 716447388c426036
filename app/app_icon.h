#pragma once

#include <QIcon>
#include <QImage>

namespace velmorant {

// A gradient "V", drawn from the one SVG that the install also ships as the
// desktop's icon, at the sizes the desktop is given.
QIcon AppIcon();

// The picture at size x size pixels.
QImage AppIconImage(int size);

} // namespace velmorant
