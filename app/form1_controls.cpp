// The window as data: every control with its container, caption, position and
// size in twips, tab index and the properties it sets, in creation order.

#include "app/form1.h"

#include "app/controls/colour_value.h"
#include "app/qstring_convert.h"
#include "app/twips.h"
#include "core/conversion/choices.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>
#include <utility>

namespace velmorant {

namespace {

QFont TableFont(const QString& family, bool bold = false) {
    QFont font(family);
    font.setPointSize(9);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

// System colours of the control table, taken from the desktop's palette.
PackedRgb SystemColour(QPalette::ColorRole role) {
    return ToPackedRgb(QApplication::palette().color(QPalette::Active, role));
}
const auto WindowBackground = QPalette::Base;             // system colour 5
const auto WindowText = QPalette::Text;                   // system colour 8
const auto ActiveCaptionText = QPalette::HighlightedText; // system colour 9

constexpr PackedRgb Red = 0xFF0000;
constexpr PackedRgb Blue = 0x0000FF;

} // namespace

void Form1::CreateControls() {
    std::vector<std::pair<int, QWidget*>> tabs;
    auto place = [&tabs](auto* control, int left, int top, int width, int height, int tab) {
        control->setGeometry(TwipsRect(left, top, width, height));
        tabs.emplace_back(tab, control);
        return control;
    };
    auto frame = [](QWidget* container, const QString& caption) {
        auto* f = new Frame(container);
        f->setTitle(caption);
        return f;
    };
    auto label = [](QWidget* container, const QString& caption) {
        auto* l = new Label(container);
        l->setText(caption);
        return l;
    };
    auto button = [](QWidget* container, const QString& caption) {
        auto* b = new CommandButton(container);
        b->setText(caption);
        return b;
    };
    auto check = [](QWidget* container, const QString& caption, QFont font) {
        auto* c = new CheckBox(container);
        c->setText(caption);
        c->setFont(font);
        return c;
    };
    auto textBox = [](QWidget* container, const QString& text) {
        auto* t = new TextBox(container);
        t->SetText(text);
        return t;
    };

    // Visible controls.
    Frame7 = place(frame(this, QString()), 120, 7080, 5625, 495, 36);
    Label5 = place(label(Frame7, QStringLiteral("Velmorantv2.0")), 240, 195, 1800, 180, 40);
    Label6 = place(label(Frame7, QStringLiteral("By:")), 4320, 195, 270, 180, 39);
    Label7 = place(label(Frame7, QStringLiteral("Mirtova")), 4680, 195, 735, 180, 38);
    Label7->SetForeColor(Red);
    Label7->setFont(TableFont(QStringLiteral("宋体"), true));
    Label8 = place(label(Frame7, QStringLiteral("更多工具下载")), 2760, 195, 1080, 180, 37);
    Label8->SetForeColor(Blue);
    Label8->SetLink(true);
    Line1 = new LineControl(
        Frame7, QLine(TwipsToPixels(2760), TwipsToPixels(405), TwipsToPixels(3840), TwipsToPixels(405)), Red);

    Frame4 = place(frame(this, QStringLiteral("效果代码")), 120, 5160, 5625, 1935, 12);
    Command4 = place(button(Frame4, QStringLiteral("访问Kestrune")), 2550, 1500, 1305, 345, 29);
    Command2.Add(1, place(button(Frame4, QStringLiteral("复制上面代码")), 420, 1500, 1755, 345, 28));
    Command3.Add(1, place(button(Frame4, QStringLiteral("退出")), 4260, 1500, 915, 345, 27));
    Text3 = place(new MultiLineTextBox(Frame4), 120, 210, 5385, 1215, 13);

    Frame3 = place(frame(this, QStringLiteral("效果选项")), 120, 3180, 5625, 1875, 5);
    Combo1 = place(new ComboBox(Frame3, true), 4080, 1440, 1455, 300, 33);
    Combo1->addItems({QStringLiteral("Html(网页)"), QStringLiteral("UBB(论坛)"), QStringLiteral("QQ空间")});
    Combo1->setCurrentIndex(1); // the entry it shows, so the arrow keys move on from there
    Combo1->setEditText(QStringLiteral("UBB(论坛)"));
    Timer1 = new QTimer(Frame3);
    Timer1->setInterval(1000); // ticks without a handler
    Timer1->start();
    Combo3 = place(new ComboBox(Frame3, false), 630, 1440, 1425, 300, 25);
    for (const std::u16string_view font : FontChoices())
        Combo3->addItem(ToQString(font));
    Combo3->setCurrentIndex(-1);
    Frame6 = place(frame(Frame3, QStringLiteral("渐色预览:")), 120, 240, 3315, 1095, 21);
    Command1.Add(1, place(button(Frame6, QStringLiteral("结束颜色(&E)")), 1890, 690, 1245, 315, 24));
    Command1.Add(0, place(button(Frame6, QStringLiteral("起始颜色(&B)")), 120, 690, 1245, 315, 23));
    Picture2 = place(new PictureBox(Frame6, TwipsRect(120, 240, 3015, 375), true, SystemColour(WindowBackground),
                                    SystemColour(WindowText)),
                     120, 240, 3015, 375, 22);
    Combo2 = place(new ComboBox(Frame3, true), 2760, 1440, 615, 300, 11);
    for (const std::u16string_view size : SizeChoices())
        Combo2->addItem(ToQString(size));
    Combo2->SetText(QStringLiteral("Combo2"));
    QFont strike = TableFont(QStringLiteral("黑体"));
    strike.setStrikeOut(true);
    Check4 = place(check(Frame3, QStringLiteral(" 删除线 ABC"), strike), 3780, 1050, 1425, 360, 9);
    Check1 = place(check(Frame3, QStringLiteral(" 粗体 B"), TableFont(QStringLiteral("黑体"), true)), 3780, 240, 1155,
                   360, 8);
    QFont italic = TableFont(QStringLiteral("黑体"));
    italic.setItalic(true);
    Check2 = place(check(Frame3, QStringLiteral(" 斜体 I"), italic), 3780, 510, 945, 360, 7);
    QFont underline = TableFont(QStringLiteral("黑体"));
    underline.setUnderline(true);
    Check3 = place(check(Frame3, QStringLiteral(" 下划线 U"), underline), 3780, 780, 1245, 360, 6);
    Label4 = place(label(Frame3, QStringLiteral("用途:")), 3600, 1500, 450, 180, 35);
    Label2 = place(label(Frame3, QStringLiteral("大小:")), 2280, 1500, 450, 180, 34);
    Label3 = place(label(Frame3, QStringLiteral("字体:")), 150, 1500, 525, 255, 26);

    Frame2 = place(frame(this, QStringLiteral("输入待转换文本")), 120, 1920, 5625, 1155, 2);
    Command2.Add(0, place(button(Frame2, QStringLiteral("★ 转换 ★")), 3840, 690, 1575, 345, 32));
    Command2.Add(2, place(button(Frame2, QStringLiteral("从剪贴板粘贴")), 3870, 240, 1575, 345, 10));
    Text1 = place(new MultiLineTextBox(Frame2), 120, 240, 3615, 825, 3);
    Text1->SetText(ToQString(kStartupText));

    Frame1 = place(frame(this, QStringLiteral("效果预览")), 120, 120, 5625, 1695, 0);
    Picture1 = place(new PictureBox(Frame1, TwipsRect(120, 240, 5385, 1275), false, SystemColour(ActiveCaptionText),
                                    SystemColour(WindowText)),
                     120, 240, 5385, 1275, 1);

    // Beyond the right edge: never seen, yet live. The boxes and the format sample
    // start from the start-up request.
    const ConversionRequest startup = ConversionRequest::Startup();
    Text4 = place(textBox(this, ToQString(startup.step)), 9270, 2220, 375, 270, 30);
    Frame5 = place(frame(this, QStringLiteral("Frame5")), 7710, 3510, 8295, 555, 14);
    Text2.Add(0, place(textBox(Frame5, ToQString(startup.tags.Open)), 960, 210, 1095, 270, 17));
    Text2.Add(1, place(textBox(Frame5, ToQString(startup.tags.Middle)), 2640, 210, 375, 270, 16));
    Text2.Add(2, place(textBox(Frame5, ToQString(startup.tags.Close)), 3480, 210, 855, 270, 15));
    Label1.Add(1, place(label(Frame5, QStringLiteral("格式:")), 480, 210, 450, 180, 20));
    Label1.Add(2, place(label(Frame5, ToQString(ColourCode(startup.gradient.stops.front()))), 2055, 255, 540, 180, 19));
    Label1.Add(3, place(label(Frame5, QStringLiteral("文字")), 3015, 255, 390, 180, 18));
    Label1(3)->SetForeColor(Pack(startup.gradient.stops.front()));
    Label1(3)->setFont(TableFont(QStringLiteral("宋体"), true));
    Command3.Add(0, place(button(this, QStringLiteral("关于(&A)")), 8940, 4410, 855, 255, 4));
    Label1.Add(5, place(label(this, QStringLiteral("字步长(间距)")), 8130, 2280, 1080, 180, 31));

    // What a screen reader says for the controls whose caption does not say it.
    Combo1->setAccessibleName(QStringLiteral("用途"));
    Combo2->setAccessibleName(QStringLiteral("大小"));
    Combo3->setAccessibleName(QStringLiteral("字体"));
    Text1->setAccessibleName(QStringLiteral("输入待转换文本"));
    Text3->setAccessibleName(QStringLiteral("效果代码"));
    Text4->setAccessibleName(QStringLiteral("字步长(间距)"));
    Text2(0)->setAccessibleName(QStringLiteral("颜色标签开头(颜色代码之前的文字)"));
    Text2(1)->setAccessibleName(QStringLiteral("颜色标签中间(颜色代码与文字之间的文字)"));
    Text2(2)->setAccessibleName(QStringLiteral("颜色标签结尾(文字之后的文字)"));
    Picture1->setAccessibleName(QStringLiteral("效果预览:渐变色文字"));
    Picture2->setAccessibleName(QStringLiteral("渐色预览:起始颜色到结束颜色的色条"));

    // Frames and labels count in the numbering but never take the focus.
    std::stable_sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [tab, control] : tabs)
        if (control->focusPolicy() != Qt::NoFocus)
            tabOrder_.push_back(control);
    for (std::size_t i = 1; i < tabOrder_.size(); ++i)
        QWidget::setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
    tabOrder_.front()->setFocus(); // the window opens on its first tab stop
}

} // namespace velmorant
