#include "app/platform/qt_platform.h"

#include "app/controls/colour_value.h"
#include "app/platform/skin_source.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace velmorant {

std::optional<ChooserColour> QtPlatform::ChooseColour(QWidget* owner) {
    // Nothing is remembered from one opening to the next.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, Qt::black);
    QColorDialog dialog(Qt::black, owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor chosen = dialog.selectedColor();
    return chosen.red() + 256 * chosen.green() + 65536 * chosen.blue();
}

void QtPlatform::ShowMessage(QWidget* owner, const QString& prompt, MessageStyle style) {
    QMessageBox box(style == MessageStyle::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QStringLiteral("Velmorant"), prompt, QMessageBox::Ok, owner);
    box.exec();
}

void QtPlatform::OpenWebAddress(const QString& address) {
    if (!QDesktopServices::openUrl(QUrl(address)))
        throw PlatformError(QStringLiteral("无法在浏览器中打开网页 %1").arg(address).toStdString());
}

void QtPlatform::ShowHandCursor(QWidget* control) { control->setCursor(Qt::PointingHandCursor); }

void QtPlatform::AttachSkin(const QString& path) {
    qApp->setStyleSheet(QString::fromUtf8(ReadSkin(path, QCoreApplication::applicationDirPath()).text));
}

void QtPlatform::EndProgram() { QCoreApplication::exit(0); }

} // namespace velmorant
