#include "app/app_icon.h"
#include "app/controls/accessible.h"
#include "app/fonts.h"
#include "app/form1.h"
#include "app/platform/qt_platform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmorant"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORANT_VERSION));
    QApplication::setOrganizationDomain(QStringLiteral(VELMORANT_ORG_DOMAIN));
    // Desktops match the window to its menu entry and icon by this name.
    QApplication::setDesktopFileName(QStringLiteral(VELMORANT_APP_ID));
    QApplication::setWindowIcon(velmorant::AppIcon());
    velmorant::InstallFontSubstitutes();
    velmorant::InstallAccessibleFactory();
    // The captions are Chinese whatever the locale, so Qt's own dialogs, menus
    // and buttons are too. Without the translation they stay English.
    QTranslator qtStrings;
    if (qtStrings.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtStrings);

    velmorant::QtPlatform platform;
    velmorant::Form1 form(platform, QApplication::applicationDirPath());
    const QRect screen = form.screen()->availableGeometry();
    form.move(screen.center() - form.rect().center());
    form.show();
    return app.exec();
}
