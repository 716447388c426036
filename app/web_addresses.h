#pragma once

#include <QString>

namespace velmorant {

// Set at configure time: VELMORANT_FORUM_URL and VELMORANT_AUTHOR_URL.
QString ForumHomePage();
QString AuthorPage();

} // namespace velmorant
