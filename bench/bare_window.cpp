// The floor for start-up: a Qt window of the program's size and caption, built
// the same way, holding nothing.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Velmorant        增强版"));
    window.setFixedSize(393, 512);
    window.show();
    return app.exec();
}
