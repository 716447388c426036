// The colour buttons: a confirmed colour becomes one end of the pair and
// repaints the strip; a cancel changes nothing.

#include "app/form1.h"
#include "preview/gradient_strip.h"
#include "tests/window/fake_platform.h"
#include "tests/window/picture_log.h"

#include <QTest>

using namespace velmorant;

Q_DECLARE_METATYPE(velmorant::ColourPair)

class ColourPickingTest : public QObject {
    Q_OBJECT
private slots:
    void confirmedColourGoesToOneEnd_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<ColourPair>("pair");
        QTest::newRow("start") << 0 << 0x123456 << ColourPair{{0x56, 0x34, 0x12}, {0, 255, 0}};
        QTest::newRow("end") << 1 << 0xAA0055 << ColourPair{{255, 0, 255}, {0x55, 0x00, 0xAA}};
        QTest::newRow("any other index is the end") << 2 << 0 << ColourPair{{255, 0, 255}, {0, 0, 0}};
        QTest::newRow("white start") << 0 << 0xFFFFFF << ColourPair{{255, 255, 255}, {0, 255, 0}};
    }
    void confirmedColourGoesToOneEnd() {
        QFETCH(int, index);
        QFETCH(int, chosen);
        QFETCH(ColourPair, pair);
        FakePlatform platform;
        Form1 form(platform, QString());
        PictureLog log;
        form.Picture2->SetRecorder(&log);
        platform.colourAnswers.push_back(chosen);
        form.Text3->SetText(QStringLiteral("earlier code"));

        if (index < 2)
            form.Command1(std::int16_t(index))->click();
        else
            form.Command1_Click(std::int16_t(index));

        QCOMPARE(platform.colourChooserOpenings, 1);
        QCOMPARE(platform.colourChooserOwners.front(), &form);
        QCOMPARE(form.Colours(), pair);
        QCOMPARE(log.clears, 1);
        const auto expected = GradientStripColours(pair);
        QCOMPARE(log.lineColours, std::vector<PackedRgb>(expected.begin(), expected.end()));
        QCOMPARE(log.lineEnds.front(), std::make_pair(QPointF(0, 0), QPointF(0, 10)));
        QCOMPARE(log.lineEnds.back(), std::make_pair(QPointF(255, 0), QPointF(255, 10)));
        QCOMPARE(form.Text3->Text(), QStringLiteral("earlier code")); // the code follows at the next convert
    }

    void cancelChangesNothing_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("start") << 0;
        QTest::newRow("end") << 1;
        QTest::newRow("other") << 2;
    }
    void cancelChangesNothing() {
        QFETCH(int, index);
        FakePlatform platform;
        Form1 form(platform, QString());
        PictureLog log;
        form.Picture2->SetRecorder(&log);
        const QImage strip = form.Picture2->Image();
        platform.colourAnswers.push_back(std::nullopt);
        form.Command1_Click(std::int16_t(index));
        QCOMPARE(platform.colourChooserOpenings, 1);
        QCOMPARE(form.Colours(), (ColourPair{{255, 0, 255}, {0, 255, 0}}));
        QCOMPARE(log.clears, 0);
        QCOMPARE(form.Picture2->Image(), strip);
    }

    void stripShowsTheNewEndAtOnce() {
        FakePlatform platform;
        Form1 form(platform, QString());
        platform.colourAnswers.push_back(0x0000FF); // red
        form.Command1(1)->click();
        const QImage strip = form.Picture2->Image();
        QCOMPARE(strip.pixel(0, 3) & 0xFFFFFF, QRgb(0xFF00FE));
        QCOMPARE(strip.pixel(strip.width() - 1, 3) & 0xFFFFFF, QRgb(0xFF0001));
    }
};

QTEST_MAIN(ColourPickingTest)
#include "colour_picking_test.moc"
