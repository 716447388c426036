#pragma once
// The one window: its controls under their table names, the colour pair, and
// the handlers. Handlers read controls, call plain functions, write controls.

#include "app/controls/check_box.h"
#include "app/controls/combo_box.h"
#include "app/controls/command_button.h"
#include "app/controls/control_array.h"
#include "app/controls/frame.h"
#include "app/controls/label.h"
#include "app/controls/line_control.h"
#include "app/controls/multiline_text_box.h"
#include "app/controls/picture_box.h"
#include "app/controls/text_box.h"
#include "core/colour/colour.h"
#include "core/conversion/conversion.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

namespace velmorant {

class Platform;

class Form1 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form1)
public:
    // programDirectory: where the skin file is looked for.
    Form1(Platform& platform, QString programDirectory, QWidget* parent = nullptr);

    // The colour pair, 0..255 each.
    std::int16_t StartR = 0, StartG = 0, StartB = 0;
    std::int16_t EndR = 0, EndG = 0, EndB = 0;
    ColourPair Colours() const { return {{StartR, StartG, StartB}, {EndR, EndG, EndB}}; }

    // Controls, in the order they are created.
    Frame* Frame7;
    Label* Label5;
    Label* Label6;
    Label* Label7;
    Label* Label8;
    LineControl* Line1;
    Frame* Frame4;
    CommandButton* Command4;
    MultiLineTextBox* Text3;
    Frame* Frame3;
    ComboBox* Combo1;
    QTimer* Timer1;
    ComboBox* Combo3;
    Frame* Frame6;
    PictureBox* Picture2;
    ComboBox* Combo2;
    CheckBox* Check4;
    CheckBox* Check1;
    CheckBox* Check2;
    CheckBox* Check3;
    Label* Label4;
    Label* Label2;
    Label* Label3;
    Frame* Frame2;
    MultiLineTextBox* Text1;
    Frame* Frame1;
    PictureBox* Picture1;
    TextBox* Text4;
    Frame* Frame5;
    ControlArray<Label> Label1;
    ControlArray<TextBox> Text2;
    ControlArray<CommandButton> Command1;
    ControlArray<CommandButton> Command2;
    ControlArray<CommandButton> Command3;

    // The focusable controls in tab order.
    const std::vector<QWidget*>& TabOrder() const { return tabOrder_; }

    // Handlers, as the events call them.
    void Form_Load();
    void Form_MouseMove(std::int16_t button);
    void Frame7_MouseMove(std::int16_t button);
    void Label8_Click();
    void Label8_MouseDown(std::int16_t button);
    void Label8_MouseMove(std::int16_t button);
    void Text1_GotFocus();
    void Text2_GotFocus(std::int16_t Index);
    void Text3_GotFocus();
    void Text4_KeyPress(std::int16_t& KeyAscii);
    void Command1_Click(std::int16_t Index);
    void Command2_Click(std::int16_t Index);
    void Command3_Click(std::int16_t Index);
    void Command4_Click();
    void Combo1_Click();

    // Procedures the handlers share.
    void DrawGradientBar();
    void RenderPreview();
    // The gradient code of the input, wrapped in the chosen style tags, into Text3.
    void BuildColourCode();
    // What the controls ask for: the request convert and the preview carry out.
    ConversionRequest Request() const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void CreateControls();
    void BindEvents();
    // Runs a handler where an event enters it: a failure is reported, and the
    // program and every value the user has go on.
    void Dispatch(const std::function<void()>& handler);
    void ResetLinkColour();

    Platform& platform_;
    QString programDirectory_;
    std::vector<QWidget*> tabOrder_;
};

} // namespace velmorant
