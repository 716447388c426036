#include "app/web_addresses.h"

namespace velmorant {

QString ForumHomePage() { return QStringLiteral(VELMORANT_FORUM_URL); }
QString AuthorPage() { return QStringLiteral(VELMORANT_AUTHOR_URL); }

} // namespace velmorant
