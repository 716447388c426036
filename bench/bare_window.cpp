// The floors for start-up: a Qt window of the program's size and caption,
// built the same way, holding nothing; or, with the argument "label", holding
// one Chinese label in the window's font, so Qt sets up the CJK fonts as the
// program must.
//
//   bare_window [label]

#include "app/fonts.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Velmorant        增强版"));
    window.setFixedSize(393, 512);
    if (argc > 1 && std::strcmp(argv[1], "label") == 0) {
        velmorant::InstallFontSubstitutes();
        QFont font(QStringLiteral("宋体"));
        font.setPointSize(9);
        window.setFont(font);
        auto* label = new QLabel(QStringLiteral("输入待转换文本"), &window);
        label->move(16, 16);
    }
    window.show();
    return app.exec();
}
