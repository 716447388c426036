// The dark skin restyles the window but leaves alone what the window itself
// sets: label colours, check box fonts and what is drawn in the picture boxes.

#include "app/platform/qt_platform.h"
#include "tests/window/window_fixture.h"

#include <QMouseEvent>
#include <QTest>

using namespace velmorant;

namespace {

// Whether some pixel of the widget as it shows on screen is near the colour.
bool Shows(QWidget* widget, QColor colour) {
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - colour.red()) + std::abs(p.green() - colour.green()) +
                    std::abs(p.blue() - colour.blue()) <
                60)
                return true;
        }
    return false;
}

} // namespace

class SkinTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { qApp->setStyleSheet(QString()); }

    void aMissingSkinLeavesTheDefaultLook() {
        QtPlatform platform;
        platform.AttachSkin(QStringLiteral("/nonexistent/black.she"));
        QCOMPARE(qApp->styleSheet(), QString());
    }

    void theSkinKeepsWhatTheWindowSets() {
        ShownWindow w;
        Form1& form = *w.form;
        QtPlatform().AttachSkin(QStringLiteral(VELMORANT_SKIN_FILE));
        QVERIFY(!qApp->styleSheet().isEmpty());
        QVERIFY(Shows(form.Frame3, QColor(0x26, 0x28, 0x2E))); // the skin's surface colour is on

        QVERIFY(Shows(form.Label7, Qt::red));
        QVERIFY(Shows(form.Label8, Qt::blue));
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), form.Label8->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(form.Label8, &move);
        QVERIFY(Shows(form.Label8, Qt::red));

        QCOMPARE(form.Check1->font().family(), QStringLiteral("黑体"));
        QVERIFY(form.Check1->font().bold());
        QVERIFY(form.Check4->font().strikeOut());

        const QImage strip = form.Picture2->grab(form.Picture2->rect().adjusted(1, 1, -1, -1)).toImage();
        QCOMPARE(strip.pixelColor(0, 5), QColor(0xFE, 0x01, 0xFE));
        QCOMPARE(strip.pixelColor(strip.width() - 1, 5), QColor(0x01, 0xFE, 0x01));
        const QImage preview = form.Picture1->grab().toImage();
        QCOMPARE(preview.pixelColor(10, 10), QColor(form.Picture1->Image().pixelColor(10, 10)));
    }
};

QTEST_MAIN(SkinTest)
#include "skin_test.moc"
