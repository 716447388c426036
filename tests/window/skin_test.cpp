// The dark skin restyles the window but leaves alone what the window itself
// sets: label colours, check box fonts and what is drawn in the picture boxes.

#include "app/platform/qt_platform.h"
#include "app/platform/skin_source.h"
#include "tests/window/window_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

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

double Luminance(QColor c) {
    auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

double Contrast(QColor a, QColor b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of a text as the screen shows it: the commonest pixel of the
// area is what stands behind the text, and the pixel that differs most from
// it is the text at full strength (glyph edges are blends of the two).
double ShownContrast(const QImage& image, QRect area) {
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    const QColor behind = QColor::fromRgb(
        std::max_element(counts.begin(), counts.end(), [](auto a, auto b) { return a.second < b.second; })->first);
    double best = 1;
    for (const auto& [rgb, n] : counts)
        best = std::max(best, Contrast(QColor::fromRgb(rgb), behind));
    return best;
}

// Puts a thing of the kind at the path: "none", a skin "file", an "empty"
// file, a style sheet of "1 MiB" or "1 MiB + 1" bytes, a "fifo", a
// "directory", or a symbolic link to "/dev/zero".
bool Place(const QString& kind, const QString& path) {
    if (kind == QLatin1String("none"))
        return true;
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == QLatin1String("directory"))
        return QDir().mkdir(path);
    if (kind == QLatin1String("/dev/zero"))
        return QFile::link(kind, path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text;
    if (kind == QLatin1String("file"))
        text = "QWidget { color: white; }\n";
    else if (kind.startsWith(QLatin1String("1 MiB"))) {
        // A rule padded out with a comment: still a style sheet Qt can read.
        const qint64 size = MaxSkinBytes + (kind.endsWith(QLatin1String("+ 1")) ? 1 : 0);
        text = "QWidget { color: white; } /*";
        text += QByteArray(size - text.size() - 3, 'x') + "*/\n";
    }
    return file.write(text) == text.size();
}

} // namespace

class SkinTest : public QObject {
    Q_OBJECT
private slots:
    // No skin of the user's or the machine's may reach these tests.
    void init() {
        qputenv("XDG_DATA_HOME", QFile::encodeName(noData.filePath(QStringLiteral("home"))));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(noData.filePath(QStringLiteral("system"))));
    }
    void cleanup() { qApp->setStyleSheet(QString()); }

    // The test binary has no skin under ../share/, so whatever stands beside
    // it that is no skin file, the built-in skin steps in, not the bare look.
    void aSkinThatIsNoFileGivesTheBuiltInSkin_data() {
        QTest::addColumn<QString>("beside");
        QTest::newRow("nothing") << QStringLiteral("none");
        QTest::newRow("a FIFO") << QStringLiteral("fifo");
        QTest::newRow("a link to /dev/zero") << QStringLiteral("/dev/zero");
        QTest::newRow("a directory") << QStringLiteral("directory");
    }
    void aSkinThatIsNoFileGivesTheBuiltInSkin() {
        QFETCH(QString, beside);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("black.she"));
        QVERIFY(Place(beside, path));
        QtPlatform platform;
        platform.AttachSkin(path);
        QFile builtIn(QStringLiteral(":/velmorant/black.she"));
        QVERIFY(builtIn.open(QIODevice::ReadOnly));
        QCOMPARE(qApp->styleSheet(), QString::fromUtf8(builtIn.readAll()));
    }

    // An installed program keeps its skin under share/, not beside it in bin/;
    // a user puts one in their data folder, a system in its own. Only a
    // regular file of at most 1 MiB is read; anything else gives way at once
    // (a FIFO or /dev/zero would hold up start-up for good).
    void theSkinComesFromBesideTheProgramThenTheDataFoldersThenTheProgramItself_data() {
        QTest::addColumn<QStringList>("kinds"); // beside, user's, installed, system's
        QTest::addColumn<QString>("expected");
        const QString bin = QStringLiteral("bin/black.she"), user = QStringLiteral("home/velmorant/black.she"),
                      share = QStringLiteral("bin/../share/velmorant/black.she"),
                      system = QStringLiteral("system/velmorant/black.she"),
                      builtIn = QStringLiteral(":/velmorant/black.she");
        auto row = [](const char* name, const QString& kinds, const QString& expected) {
            QTest::newRow(name) << kinds.split(QLatin1Char(',')) << expected;
        };
        row("every place", QStringLiteral("file,file,file,file"), bin);
        row("beside only", QStringLiteral("file,none,none,none"), bin);
        row("the user's, installed and the system's", QStringLiteral("none,file,file,file"), user);
        row("installed and the system's", QStringLiteral("none,none,file,file"), share);
        row("the system's only", QStringLiteral("none,none,none,file"), system);
        row("nowhere", QStringLiteral("none,none,none,none"), builtIn);
        row("an empty file beside", QStringLiteral("empty,none,file,none"), bin);
        row("exactly 1 MiB beside", QStringLiteral("1 MiB,none,file,none"), bin);
        row("1 MiB and a byte beside", QStringLiteral("1 MiB + 1,none,file,none"), share);
        row("a FIFO beside", QStringLiteral("fifo,none,file,none"), share);
        row("a link to /dev/zero beside", QStringLiteral("/dev/zero,none,file,none"), share);
        row("a directory beside", QStringLiteral("directory,none,file,none"), share);
        row("a FIFO beside, nothing else", QStringLiteral("fifo,none,none,none"), builtIn);
        row("a FIFO in the user's", QStringLiteral("none,fifo,file,none"), share);
        row("a FIFO installed", QStringLiteral("none,none,fifo,file"), system);
        row("a link to /dev/zero installed", QStringLiteral("none,none,/dev/zero,none"), builtIn);
        row("1 MiB and a byte in the system's", QStringLiteral("none,none,none,1 MiB + 1"), builtIn);
    }
    void theSkinComesFromBesideTheProgramThenTheDataFoldersThenTheProgramItself() {
        QFETCH(QStringList, kinds);
        QFETCH(QString, expected);
        QTemporaryDir prefix;
        const QStringList places = {QStringLiteral("bin/black.she"), QStringLiteral("home/velmorant/black.she"),
                                    QStringLiteral("share/velmorant/black.she"),
                                    QStringLiteral("system/velmorant/black.she")};
        for (qsizetype i = 0; i < places.size(); ++i) {
            QVERIFY(QDir(prefix.path()).mkpath(QFileInfo(places[i]).path()));
            QVERIFY2(Place(kinds[i], prefix.filePath(places[i])), qPrintable(places[i]));
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(prefix.filePath(QStringLiteral("home"))));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(prefix.filePath(QStringLiteral("system"))));
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        const SkinFile skin = ReadSkin(bin + QStringLiteral("/black.she"), bin);
        QCOMPARE(skin.source, expected.startsWith(QLatin1Char(':')) ? expected : prefix.filePath(expected));
        QFile chosen(skin.source);
        QVERIFY(chosen.open(QIODevice::ReadOnly));
        QCOMPARE(skin.text, chosen.readAll());
    }

    void theBuiltInSkinIsTheShippedOne() {
        QFile builtIn(QStringLiteral(":/velmorant/black.she"));
        QFile shipped(QStringLiteral(VELMORANT_SKIN_FILE));
        QVERIFY(builtIn.open(QIODevice::ReadOnly));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QCOMPARE(builtIn.readAll(), shipped.readAll());
    }

    // WCAG 2: 4.5:1 for text, 3:1 for the large bold name; measured on a grab
    // of the window, so what the skin lays behind a text counts.
    void textsReadUnderTheSkin() {
        ShownWindow w;
        Form1& form = *w.form;
        QtPlatform().AttachSkin(QStringLiteral(VELMORANT_SKIN_FILE));
        auto pointerOverLink = [&form] {
            QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), form.Label8->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(form.Label8, &move);
        };
        auto titleOf = [](QWidget* frame) { return QRect(8, 0, frame->width() - 16, 12); };
        auto whole = [](QWidget* control) { return control->rect(); };
        const struct {
            const char* name;
            std::function<void()> before;
            QWidget* control;
            std::function<QRect(QWidget*)> area;
            double least;
        } rows[] = {
            {"Label8, the blue link", [] {}, form.Label8, whole, 4.5},
            {"Label8, red under the pointer", pointerOverLink, form.Label8, whole, 4.5},
            {"Label7, the red name", [] {}, form.Label7, whole, 3.0},
            {"Label5, the footer text", [] {}, form.Label5, whole, 4.5},
            {"Label2, a caption", [] {}, form.Label2, whole, 4.5},
            {"Frame3's title", [] {}, form.Frame3, titleOf, 4.5},
            {"a command button", [] {}, form.Command2(0), whole, 4.5},
            {"a check box", [] {}, form.Check1, whole, 4.5},
            {"a combo box", [] {}, form.Combo3, whole, 4.5},
        };
        for (const auto& row : rows) {
            row.before();
            const QImage shown = form.grab().toImage();
            const QRect area = row.area(row.control).translated(row.control->mapTo(&form, QPoint(0, 0)));
            const double contrast = ShownContrast(shown, area);
            QVERIFY2(contrast >= row.least, qPrintable(QStringLiteral("%1: %2:1, wanted %3:1")
                                                           .arg(QString::fromUtf8(row.name))
                                                           .arg(contrast, 0, 'f', 2)
                                                           .arg(row.least)));
        }
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

private:
    QTemporaryDir noData;
};

QTEST_MAIN(SkinTest)
#include "skin_test.moc"
