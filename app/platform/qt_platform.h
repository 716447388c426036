#pragma once

#include "app/platform/platform.h"

namespace velmorant {

// The desktop through Qt: its colour dialog, message boxes, the system
// clipboard, the desktop's browser and cursors, style sheets as skins.
class QtPlatform final : public Platform {
public:
    std::optional<ChooserColour> ChooseColour(QWidget* owner) override;
    void ShowMessage(QWidget* owner, const QString& prompt, MessageStyle style) override;
    void ClearClipboard() override;
    void SetClipboardText(const QString& text) override;
    ClipboardRead ClipboardText() override;
    void OpenWebAddress(const QString& address) override;
    void ShowHandCursor(QWidget* control) override;
    void AttachSkin(const QString& path) override;
    void EndProgram() override;
};

} // namespace velmorant
