#include "app/form1.h"

#include "app/platform/platform.h"
#include "app/qstring_convert.h"
#include "app/skin_path.h"
#include "app/web_addresses.h"
#include "core/conversion/conversion.h"
#include "preview/gradient_strip.h"
#include "preview/preview_layout.h"

#include <optional>

namespace velmorant {

namespace {

constexpr PackedRgb LinkBlue = 0x0000FF;
constexpr PackedRgb LinkRed = 0xFF0000;

// The format of a row of Combo1's list; none for a row outside it.
std::optional<std::size_t> FormatOfRow(int row) {
    constexpr std::size_t rows[] = {kHtmlFormat, kUbbFormat, kQqFormat};
    if (row < 0 || row >= int(std::size(rows)))
        return std::nullopt;
    return rows[row];
}

void SelectAll(TextControl& box) {
    box.SetSelStart(0);
    box.SetSelLength(box.TextLength());
}

} // namespace

Form1::Form1(Platform& platform, QString programDirectory, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform), programDirectory_(std::move(programDirectory)) {
    setWindowTitle(QStringLiteral("Velmorant        增强版"));
    setFixedSize(393, 512);
    setMouseTracking(true);
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(9);
    setFont(font);
    CreateControls();
    BindEvents();
    Dispatch([this] { Form_Load(); });
}

void Form1::Form_Load() {
    platform_.AttachSkin(SkinFilePath(programDirectory_));
    const ConversionRequest startup = ConversionRequest::Startup();
    Combo2->SetText(ToQString(startup.styles.size));
    Combo3->SetText(ToQString(startup.styles.font));
    const Rgb start = startup.gradient.stops.front();
    const Rgb end = startup.gradient.stops.back();
    StartR = start.red;
    StartG = start.green;
    StartB = start.blue;
    EndR = end.red;
    EndG = end.green;
    EndB = end.blue;
    Picture2->Scale(0, 0, 255, 10);
    DrawGradientBar();
}

void Form1::DrawGradientBar() {
    Picture2->Cls();
    Picture2->SetDrawWidth(1);
    const auto colours = GradientStripColours(Colours());
    for (int i = 0; i < GradientStripLines; ++i)
        Picture2->Line(float(i), 0.0f, float(i), 10.0f, colours[std::size_t(i)]);
}

void Form1::Command1_Click(std::int16_t Index) {
    const std::optional<ChooserColour> chosen = platform_.ChooseColour(this);
    if (!chosen)
        return;
    const ChannelTriple rgb = SplitRGB(*chosen);
    if (Index == 0) {
        StartR = std::int16_t(rgb[0]);
        StartG = std::int16_t(rgb[1]);
        StartB = std::int16_t(rgb[2]);
    } else {
        EndR = std::int16_t(rgb[0]);
        EndG = std::int16_t(rgb[1]);
        EndB = std::int16_t(rgb[2]);
    }
    DrawGradientBar();
}

void Form1::Combo1_Click() {
    const std::optional<std::size_t> format = FormatOfRow(Combo1->ListIndex());
    if (!format)
        return; // no preset: the boxes stay as they are
    const TagTemplate preset = TemplateFor(*format);
    Text2(0)->SetText(ToQString(preset.Open));
    Text2(1)->SetText(ToQString(preset.Middle));
    Text2(2)->SetText(ToQString(preset.Close));
}

ConversionRequest Form1::Request() const {
    ConversionRequest request;
    request.gradient = {{Colours().start, Colours().end}, Blend::Srgb};
    // The combo's row decides nothing for the forum formats: the boxes hold the template.
    request.format = &Formats()[FormatOfRow(Combo1->ListIndex()).value_or(kDefaultFormat)];
    request.tags = {ToU16(Text2(0)->Text()), ToU16(Text2(1)->Text()), ToU16(Text2(2)->Text())};
    request.step = ToU16(Text4->Text());
    request.styles = {Check1->Value() == 1, Check2->Value() == 1,  Check3->Value() == 1,
                      Check4->Value() == 1, ToU16(Combo2->Text()), ToU16(Combo3->Text())};
    return request;
}

void Form1::BuildColourCode() {
    const ConversionRequest request = Request();
    const std::u16string input = ToU16(Text1->Text());
    // Everything that can fail happens before Text3 is touched, so a failed
    // conversion leaves the former code, and Text3 is written once.
    // The generator writes straight into the string Text3 takes: a code of tens of
    // megabytes is not worth holding twice.
    struct CodeSink final : MarkupSink {
        void Write(std::u16string_view piece) override { code.append(ToQStringView(piece)); }
        QString code;
    } sink;
    WriteConversion(input, request, sink);
    Text3->SetText(QString());
    Text3->SetText(sink.code);
}

void Form1::RenderPreview() {
    Picture1->SetFontName(Combo3->Text());
    Picture1->SetFontBold(Check1->Value() == 1);
    Picture1->SetFontUnderline(Check3->Value() == 1);
    Picture1->SetFontItalic(Check2->Value() == 1);
    Picture1->SetFontStrikethrough(Check4->Value() == 1);
    Picture1->SetFontSize(MapPreviewSize(ToU16(Combo2->Text())));
    Picture1->Cls();

    const std::u16string input = ToU16(Text1->Text());
    const PreviewArea area{std::int32_t(Picture1->ScaleWidthTwips()), std::int32_t(Picture1->ScaleHeightTwips())};
    for (const PreviewRun& run : LayoutPreview(input, Request(), Picture1->FontSize(), area)) {
        Picture1->SetForeColor(run.Colour);
        Picture1->SetCurrentX(run.X);
        Picture1->SetCurrentY(run.Y);
        Picture1->Print(ToQString(run.Text));
    }
}

void Form1::Command2_Click(std::int16_t Index) {
    switch (Index) {
    case 0:
        BuildColourCode();
        break;
    case 1:
        if (Text3->Text().isEmpty()) {
            platform_.ShowMessage(this, QStringLiteral("对不起，复制内容不能为空，请重新生成！"), MessageStyle::Error);
        } else {
            platform_.ClearClipboard();
            platform_.SetClipboardText(Text3->Text());
            platform_.ShowMessage(this, QStringLiteral("恭喜你，成功复制到剪贴板！"), MessageStyle::Information);
        }
        break;
    case 2: {
        // A failed read must not pass for an empty clipboard: the input stays.
        const ClipboardRead read = platform_.ClipboardText();
        if (read.outcome == ClipboardRead::Outcome::Failed)
            platform_.ShowMessage(this, QStringLiteral("对不起，无法读取剪贴板，您的文本还在。"), MessageStyle::Error);
        else
            Text1->ReplaceText(read.text);
        break;
    }
    default:
        break;
    }
    RenderPreview();
    Text3->setFocus(Qt::OtherFocusReason);
}

void Form1::Command3_Click(std::int16_t) { platform_.EndProgram(); }

void Form1::Command4_Click() { platform_.OpenWebAddress(ForumHomePage()); }

void Form1::Label8_Click() { platform_.OpenWebAddress(AuthorPage()); }

void Form1::Label8_MouseDown(std::int16_t button) {
    if (button == 1)
        platform_.ShowHandCursor(Label8);
}

void Form1::Label8_MouseMove(std::int16_t button) {
    if (button == 0)
        platform_.ShowHandCursor(Label8);
    Label8->SetForeColor(LinkRed);
}

void Form1::ResetLinkColour() {
    if (Label8->ForeColor() == LinkRed)
        Label8->SetForeColor(LinkBlue);
}

void Form1::Form_MouseMove(std::int16_t) { ResetLinkColour(); }

void Form1::Frame7_MouseMove(std::int16_t) { ResetLinkColour(); }

void Form1::Text1_GotFocus() { SelectAll(*Text1); }

void Form1::Text2_GotFocus(std::int16_t Index) { SelectAll(*Text2(Index)); }

void Form1::Text3_GotFocus() { SelectAll(*Text3); }

void Form1::Text4_KeyPress(std::int16_t& KeyAscii) {
    const bool digit = KeyAscii >= '0' && KeyAscii <= '9';
    if (!digit && KeyAscii != 8)
        KeyAscii = 0;
}

} // namespace velmorant
