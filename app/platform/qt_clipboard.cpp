// The system clipboard through Qt. A paste must tell a clipboard that holds no
// text from a read that failed, so the text is fetched through QMimeData,
// which keeps that difference, rather than QClipboard::text(), which does not.

#include "app/platform/qt_platform.h"

#ifdef VELMORANT_X11_CLIPBOARD
#include "app/platform/x11_clipboard_owner.h"
#endif

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace velmorant {

namespace {

// The plain-text format among those offered, or an empty string.
QString PlainTextFormat(const QStringList& formats) {
    for (const QString& format : {QStringLiteral("text/plain"), QStringLiteral("text/plain;charset=utf-8")})
        if (formats.contains(format, Qt::CaseInsensitive))
            return format;
    return QString();
}

// Whether someone holds the clipboard; without a way to ask, nobody does.
bool OwnerPresent() {
#ifdef VELMORANT_X11_CLIPBOARD
    return AskClipboardOwner(std::chrono::milliseconds(0)) == ClipboardOwner::Present;
#else
    return false;
#endif
}

} // namespace

void QtPlatform::ClearClipboard() { QApplication::clipboard()->clear(QClipboard::Clipboard); }

void QtPlatform::SetClipboardText(const QString& text) {
    QApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

ClipboardRead QtPlatform::ClipboardText() {
    using Outcome = ClipboardRead::Outcome;
    QClipboard* clipboard = QApplication::clipboard();
    // Qt would wait 5 s for each of up to three questions to an owner that
    // never answers; one question of our own finds it out sooner. Our own
    // clipboard could answer only from the event loop that waits here.
#ifdef VELMORANT_X11_CLIPBOARD
    if (!clipboard->ownsClipboard()) {
        const ClipboardOwner owner = AskClipboardOwner(std::chrono::seconds(2));
        if (owner == ClipboardOwner::Nobody)
            return {Outcome::NoText, {}};
        if (owner == ClipboardOwner::Silent)
            return {Outcome::Failed, {}};
    }
#endif
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    if (!data)
        return {Outcome::NoText, {}};
    // Past this point each question that goes unanswered costs Qt's 5 s: ask
    // once for the formats and once for the text, no more.
    const QStringList formats = data->formats();
    if (formats.isEmpty()) // no owner, or one that stopped answering since
        return {OwnerPresent() ? Outcome::Failed : Outcome::NoText, {}};
    const QString format = PlainTextFormat(formats);
    if (format.isEmpty())
        return {Outcome::NoText, {}};
    // A transfer that fails (owner gone, timed out, an incremental transfer cut
    // off) comes back null, never truncated; an empty text comes back empty.
    const QByteArray bytes = data->data(format);
    if (bytes.isNull())
        return {Outcome::Failed, {}};
    return {Outcome::Text, QString::fromUtf8(bytes)};
}

} // namespace velmorant
