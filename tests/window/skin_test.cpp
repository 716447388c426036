// The dark skin restyles the window but leaves alone what the window itself
// sets: label colours, check box fonts and what is drawn in the picture boxes.

#include "app/platform/qt_platform.h"
#include "app/platform/skin_source.h"
#include "tests/window/window_fixture.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
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

    // The test binary has no skin under ../share/, so the built-in one steps in.
    void aMissingSkinFileGivesTheBuiltInSkin() {
        QtPlatform platform;
        platform.AttachSkin(QStringLiteral("/nonexistent/black.she"));
        QFile builtIn(QStringLiteral(":/velmorant/black.she"));
        QVERIFY(builtIn.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(qApp->styleSheet(), QString::fromUtf8(builtIn.readAll()));
    }

    // An installed program keeps its skin under share/, not beside it in bin/.
    void theSkinComesFromBesideTheProgramThenShareThenTheProgramItself_data() {
        QTest::addColumn<bool>("beside");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("beside and installed") << true << true << QStringLiteral("bin/black.she");
        QTest::newRow("beside only") << true << false << QStringLiteral("bin/black.she");
        QTest::newRow("installed only") << false << true << QStringLiteral("bin/../share/velmorant/black.she");
        QTest::newRow("neither") << false << false << QStringLiteral(":/velmorant/black.she");
    }
    void theSkinComesFromBesideTheProgramThenShareThenTheProgramItself() {
        QFETCH(bool, beside);
        QFETCH(bool, installed);
        QFETCH(QString, expected);
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/velmorant")));
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        if (beside)
            QVERIFY(QFile(bin + QStringLiteral("/black.she")).open(QIODevice::WriteOnly));
        if (installed)
            QVERIFY(QFile(prefix.filePath(QStringLiteral("share/velmorant/black.she"))).open(QIODevice::WriteOnly));
        const QString source = SkinSource(bin + QStringLiteral("/black.she"), bin);
        QCOMPARE(source, expected.startsWith(QLatin1Char(':')) ? expected : prefix.filePath(expected));
    }

    void theBuiltInSkinIsTheShippedOne() {
        QFile builtIn(QStringLiteral(":/velmorant/black.she"));
        QFile shipped(QStringLiteral(VELMORANT_SKIN_FILE));
        QVERIFY(builtIn.open(QIODevice::ReadOnly));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QCOMPARE(builtIn.readAll(), shipped.readAll());
    }

    // Something stands at the path but cannot be read as a file: no fallback.
    void anUnreadableSkinLeavesTheDefaultLook() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("black.she")));
        QtPlatform().AttachSkin(dir.filePath(QStringLiteral("black.she")));
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
