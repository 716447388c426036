#pragma once

namespace velmorant {

// Gives assistive technology what Qt's own interfaces leave out for these
// controls: a combo box named by its label, and a link label that offers a
// press action. Call once, after the application exists.
void InstallAccessibleFactory();

} // namespace velmorant
