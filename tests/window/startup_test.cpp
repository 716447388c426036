// The window right after start-up: its controls where the table puts them,
// its values, its tab order and its access keys.

#include "app/fonts.h"
#include "app/form1.h"
#include "app/skin_path.h"
#include "tests/window/fake_platform.h"

#include <QApplication>
#include <QTest>

using namespace velmorant;

namespace {

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }

    void stateAfterLoad() {
        FakePlatform platform;
        Form1 form(platform, QStringLiteral("/opt/velmorant"));

        QCOMPARE(form.windowTitle(), QStringLiteral("Velmorant        增强版"));
        const QString sample = QStringLiteral("Zarimo软件-免费、精彩、共享！\r\n");
        QCOMPARE(form.Text1->Text(), sample);
        QCOMPARE(form.Text1->Text().size(), 20);
        QCOMPARE(form.Text2(0)->Text(), QStringLiteral("[color=#"));
        QCOMPARE(form.Text2(1)->Text(), QStringLiteral("]"));
        QCOMPARE(form.Text2(2)->Text(), QStringLiteral("[/color]"));
        QCOMPARE(form.Text3->Text(), QString());
        QCOMPARE(form.Text4->Text(), QStringLiteral("1"));
        QCOMPARE(form.Combo1->Text(), QStringLiteral("UBB(论坛)"));
        QCOMPARE(form.Combo2->Text(), QStringLiteral("1"));
        QCOMPARE(form.Combo3->Text(), QStringLiteral("宋体"));
        QCOMPARE(form.Combo3->ListIndex(), 0);
        for (CheckBox* box : {form.Check1, form.Check2, form.Check3, form.Check4})
            QCOMPARE(box->Value(), std::int16_t(0));
        QCOMPARE(form.Colours(), (ColourPair{{255, 0, 255}, {0, 255, 0}}));
        QCOMPARE(form.Label8->ForeColor(), 0x0000FF);
        QCOMPARE(form.Label7->ForeColor(), 0xFF0000);
        QCOMPARE(form.Label1(3)->ForeColor(), 0xFF00FF);
        QVERIFY(form.Timer1->isActive());
        QCOMPARE(form.Timer1->interval(), 1000);

        // The strip runs from magenta on the left to green on the right; each
        // pixel column shows the last of the lines that fall on it.
        const QImage strip = form.Picture2->Image();
        QCOMPARE(strip.width(), 199);
        QCOMPARE(Pixel(strip, 0, 5), QRgb(0xFE01FE));
        QCOMPARE(Pixel(strip, strip.width() - 1, 5), QRgb(0x01FE01));
        // The preview stays blank until a command draws it.
        const QImage preview = form.Picture1->Image();
        const QRgb background = Pixel(preview, 0, 0);
        for (int y = 0; y < preview.height(); y += 7)
            for (int x = 0; x < preview.width(); x += 7)
                QCOMPARE(Pixel(preview, x, y), background);

        QCOMPARE(platform.skinPaths, std::vector<QString>{QStringLiteral("/opt/velmorant/black.she")});
    }

    void skinPathIsAppendedUnchanged_data() {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << QStringLiteral("/usr/lib/velmorant")
                               << QStringLiteral("/usr/lib/velmorant/black.she");
        QTest::newRow("trailing separator")
            << QStringLiteral("/usr/lib/velmorant/") << QStringLiteral("/usr/lib/velmorant//black.she");
        QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("//black.she");
    }
    void skinPathIsAppendedUnchanged() {
        QFETCH(QString, directory);
        QFETCH(QString, path);
        QCOMPARE(SkinFilePath(directory), path);
        FakePlatform platform;
        Form1 form(platform, directory);
        QCOMPARE(platform.skinPaths, std::vector<QString>{path});
    }

    void windowIsFixed() {
        FakePlatform platform;
        Form1 form(platform, QString());
        QCOMPARE(form.size(), QSize(393, 512));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");
        struct Row {
            const char* name;
            const char* container;
            const char* caption;
            QRect twips;
        };
        const Row rows[] = {
            {"Frame7", "Form1", "", {120, 7080, 5625, 495}},
            {"Label5", "Frame7", "Velmorantv2.0", {240, 195, 1800, 180}},
            {"Label6", "Frame7", "By:", {4320, 195, 270, 180}},
            {"Label7", "Frame7", "Mirtova", {4680, 195, 735, 180}},
            {"Label8", "Frame7", "更多工具下载", {2760, 195, 1080, 180}},
            {"Frame4", "Form1", "效果代码", {120, 5160, 5625, 1935}},
            {"Command4", "Frame4", "访问Kestrune", {2550, 1500, 1305, 345}},
            {"Command2(1)", "Frame4", "复制上面代码", {420, 1500, 1755, 345}},
            {"Command3(1)", "Frame4", "退出", {4260, 1500, 915, 345}},
            {"Text3", "Frame4", "", {120, 210, 5385, 1215}},
            {"Frame3", "Form1", "效果选项", {120, 3180, 5625, 1875}},
            {"Combo1", "Frame3", "UBB(论坛)", {4080, 1440, 1455, 300}},
            {"Combo3", "Frame3", "宋体", {630, 1440, 1425, 300}},
            {"Frame6", "Frame3", "渐色预览:", {120, 240, 3315, 1095}},
            {"Command1(1)", "Frame6", "结束颜色(&E)", {1890, 690, 1245, 315}},
            {"Command1(0)", "Frame6", "起始颜色(&B)", {120, 690, 1245, 315}},
            {"Picture2", "Frame6", "", {120, 240, 3015, 375}},
            {"Combo2", "Frame3", "1", {2760, 1440, 615, 300}},
            {"Check4", "Frame3", " 删除线 ABC", {3780, 1050, 1425, 360}},
            {"Check1", "Frame3", " 粗体 B", {3780, 240, 1155, 360}},
            {"Check2", "Frame3", " 斜体 I", {3780, 510, 945, 360}},
            {"Check3", "Frame3", " 下划线 U", {3780, 780, 1245, 360}},
            {"Label4", "Frame3", "用途:", {3600, 1500, 450, 180}},
            {"Label2", "Frame3", "大小:", {2280, 1500, 450, 180}},
            {"Label3", "Frame3", "字体:", {150, 1500, 525, 255}},
            {"Frame2", "Form1", "输入待转换文本", {120, 1920, 5625, 1155}},
            {"Command2(0)", "Frame2", "★ 转换 ★", {3840, 690, 1575, 345}},
            {"Command2(2)", "Frame2", "从剪贴板粘贴", {3870, 240, 1575, 345}},
            {"Text1", "Frame2", "Zarimo软件-免费、精彩、共享！\r\n", {120, 240, 3615, 825}},
            {"Frame1", "Form1", "效果预览", {120, 120, 5625, 1695}},
            {"Picture1", "Frame1", "", {120, 240, 5385, 1275}},
            {"Text4", "Form1", "1", {9270, 2220, 375, 270}},
            {"Frame5", "Form1", "Frame5", {7710, 3510, 8295, 555}},
            {"Text2(0)", "Frame5", "[color=#", {960, 210, 1095, 270}},
            {"Text2(1)", "Frame5", "]", {2640, 210, 375, 270}},
            {"Text2(2)", "Frame5", "[/color]", {3480, 210, 855, 270}},
            {"Label1(1)", "Frame5", "格式:", {480, 210, 450, 180}},
            {"Label1(2)", "Frame5", "FF00FF", {2055, 255, 540, 180}},
            {"Label1(3)", "Frame5", "文字", {3015, 255, 390, 180}},
            {"Command3(0)", "Form1", "关于(&A)", {8940, 4410, 855, 255}},
            {"Label1(5)", "Form1", "字步长(间距)", {8130, 2280, 1080, 180}},
        };
        for (const Row& row : rows)
            QTest::newRow(row.name) << QString::fromUtf8(row.name) << QString::fromUtf8(row.container)
                                    << QString::fromUtf8(row.caption) << row.twips;
    }
    void geometry() {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        FakePlatform platform;
        Form1 form(platform, QString());
        QWidget* control = Control(form, name);
        QVERIFY(control);
        const QRect pixels(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
        QCOMPARE(control->geometry(), pixels);
        QWidget* expectedContainer = container == QStringLiteral("Form1") ? &form : Control(form, container);
        QCOMPARE(control->parentWidget(), expectedContainer);
        QCOMPARE(Caption(control), caption);
        QVERIFY(!control->isHidden());
    }

    void lineUnderTheLink() {
        FakePlatform platform;
        Form1 form(platform, QString());
        QCOMPARE(form.Line1->parentWidget(), form.Frame7);
        QCOMPARE(form.Line1->Line(), QLine(184, 27, 256, 27));
        QCOMPARE(form.Line1->BorderColor(), 0xFF0000);
    }

    void fontsOfTheTable() {
        FakePlatform platform;
        Form1 form(platform, QString());
        QVERIFY(form.Check1->font().bold());
        QVERIFY(form.Check2->font().italic());
        QVERIFY(form.Check3->font().underline());
        QVERIFY(form.Check4->font().strikeOut());
        for (CheckBox* box : {form.Check1, form.Check2, form.Check3, form.Check4}) {
            QCOMPARE(box->font().family(), QStringLiteral("黑体"));
            QCOMPARE(box->font().pointSize(), 9);
        }
        QVERIFY(form.Label7->font().bold());
        QVERIFY(form.Label1(3)->font().bold());
        QVERIFY(!form.Label8->font().bold());
        QVERIFY(form.Combo1->isEditable());
        QVERIFY(form.Combo2->isEditable());
        QVERIFY(!form.Combo3->isEditable());
        QCOMPARE(form.Combo3->count(), 9);
        QCOMPARE(form.Combo3->itemText(2), QStringLiteral("楷体_GB2312"));
        QCOMPARE(form.Combo1->itemText(0), QStringLiteral("Html(网页)"));
        QCOMPARE(form.Combo1->itemText(2), QStringLiteral("QQ空间"));
        QCOMPARE(form.Combo2->count(), 7);
    }

    void tabOrderWalksEveryFocusableControl() {
        FakePlatform platform;
        Form1 form(platform, QString());
        const std::vector<QWidget*> expected = {
            form.Picture1,    form.Text1,       form.Command3(0), form.Check3,      form.Check2,   form.Check1,
            form.Check4,      form.Command2(2), form.Combo2,      form.Text3,       form.Text2(2), form.Text2(1),
            form.Text2(0),    form.Picture2,    form.Command1(0), form.Command1(1), form.Combo3,   form.Command3(1),
            form.Command2(1), form.Command4,    form.Text4,       form.Command2(0), form.Combo1};
        QCOMPARE(form.TabOrder(), expected);

        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.Picture1->setFocus();
        for (std::size_t i = 1; i <= expected.size(); ++i) {
            QWidget* now = QApplication::focusWidget();
            QTest::keyClick(now, Qt::Key_Tab);
            QWidget* next = expected[i % expected.size()];
            QVERIFY2(next->hasFocus(), qPrintable(QStringLiteral("step %1").arg(i)));
        }
    }

    void theFirstTabStopHasTheFocusAtStart() {
        FakePlatform platform;
        Form1 form(platform, QString());
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Picture1));
    }

    void altAEndsTheProgramThroughTheHiddenButton() {
        FakePlatform platform;
        Form1 form(platform, QString());
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.Text1->setFocus();
        QTest::keyClick(form.Text1, Qt::Key_Tab);
        QVERIFY(form.Command3(0)->hasFocus());
        QCOMPARE(platform.endProgramCalls, 0);
        // Through the window, as the desktop delivers keys, so shortcuts apply.
        QTest::keyClick(form.windowHandle(), Qt::Key_A, Qt::AltModifier);
        // An access key clicks after the button's 100 ms press animation; room for a loaded machine.
        QTRY_COMPARE_WITH_TIMEOUT(platform.endProgramCalls, 1, 15000);
        form.Command3(1)->click();
        QCOMPARE(platform.endProgramCalls, 2);
    }

private:
    static QWidget* Control(Form1& form, const QString& name) {
        const auto index = [&](int open) { return std::int16_t(name.mid(open + 1, name.size() - open - 2).toInt()); };
        if (const int open = int(name.indexOf(u'(')); open > 0) {
            const QString array = name.left(open);
            if (array == QStringLiteral("Label1"))
                return form.Label1(index(open));
            if (array == QStringLiteral("Text2"))
                return form.Text2(index(open));
            if (array == QStringLiteral("Command1"))
                return form.Command1(index(open));
            if (array == QStringLiteral("Command2"))
                return form.Command2(index(open));
            if (array == QStringLiteral("Command3"))
                return form.Command3(index(open));
            return nullptr;
        }
        const std::pair<const char*, QWidget*> named[] = {
            {"Frame1", form.Frame1},     {"Frame2", form.Frame2},     {"Frame3", form.Frame3},
            {"Frame4", form.Frame4},     {"Frame5", form.Frame5},     {"Frame6", form.Frame6},
            {"Frame7", form.Frame7},     {"Label2", form.Label2},     {"Label3", form.Label3},
            {"Label4", form.Label4},     {"Label5", form.Label5},     {"Label6", form.Label6},
            {"Label7", form.Label7},     {"Label8", form.Label8},     {"Text1", form.Text1},
            {"Text3", form.Text3},       {"Text4", form.Text4},       {"Combo1", form.Combo1},
            {"Combo2", form.Combo2},     {"Combo3", form.Combo3},     {"Check1", form.Check1},
            {"Check2", form.Check2},     {"Check3", form.Check3},     {"Check4", form.Check4},
            {"Command4", form.Command4}, {"Picture1", form.Picture1}, {"Picture2", form.Picture2}};
        for (const auto& [n, w] : named)
            if (name == QString::fromUtf8(n))
                return w;
        return nullptr;
    }

    static QString Caption(QWidget* control) {
        if (auto* frame = qobject_cast<QGroupBox*>(control))
            return frame->title();
        if (auto* label = qobject_cast<QLabel*>(control))
            return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            return button->text();
        if (auto* combo = qobject_cast<ComboBox*>(control))
            return combo->Text();
        if (auto* box = dynamic_cast<TextControl*>(control))
            return box->Text();
        return QString();
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
