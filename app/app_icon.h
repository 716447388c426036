#pragma once

#include <QIcon>

namespace velmorant {

// A gradient "V" drawn at start-up, at 48 x 48 and at larger sizes.
QIcon AppIcon();

} // namespace velmorant
