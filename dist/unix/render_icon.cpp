// Writes the window's icon as PNG files for the desktop's hicolor theme, from
// the same drawing the window uses: render_icon SIZE FILE [SIZE FILE]...

#include "app/app_icon.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: render_icon SIZE FILE [SIZE FILE]...\n");
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || !velmorant::AppIconImage(size).save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "render_icon: cannot write %s at %s pixels\n", argv[i + 1], argv[i]);
            return 1;
        }
    }
    return 0;
}
