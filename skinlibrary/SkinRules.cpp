#include "skinlibrary/SkinRules.h"

#include <algorithm>

namespace skin {
namespace {

// Class names arrive as the creator spelled them ("BUTTON", "Button").
bool sameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y) return false;
    }
    return true;
}

enum ButtonType : std::uint32_t {
    kPush = 0, kDefPush = 1, kCheck = 2, kAutoCheck = 3, kRadio = 4, kThreeState = 5, kAutoThreeState = 6,
    kGroup = 7, kAutoRadio = 9
};

Role buttonRole(std::uint32_t buttonStyle) {
    if (buttonStyle & (style::kButtonIcon | style::kButtonBitmap)) return Role::None;
    switch (buttonStyle & style::kButtonTypeMask) {
    case kPush:
    case kDefPush:
        return Role::PushButton;
    case kCheck:
    case kAutoCheck:
    case kThreeState:
    case kAutoThreeState:
        return (buttonStyle & style::kButtonPushLike) ? Role::PushButton : Role::CheckBox;
    case kRadio:
    case kAutoRadio:
        return (buttonStyle & style::kButtonPushLike) ? Role::PushButton : Role::RadioButton;
    case kGroup:
        return Role::GroupBox;
    default:
        return Role::None;  // owner-drawn and the rarer kinds keep their own painting
    }
}

}  // namespace

Role classify(std::wstring_view className, std::uint32_t windowStyle, std::uint32_t exStyle) {
    const bool child = (windowStyle & style::kChild) != 0;
    if (!child) {
        if (sameName(className, L"#32770")) return Role::TopLevel;
        return (windowStyle & style::kCaption) == style::kCaption ? Role::TopLevel : Role::None;
    }
    if (sameName(className, L"#32770")) return Role::Container;
    if (sameName(className, L"Button")) return buttonRole(windowStyle);
    if (sameName(className, L"ListBox")) {
        const std::uint32_t ownPainting = style::kListOwnerDrawFixed | style::kListOwnerDrawVariable |
                                          style::kListMultiColumn | style::kListNoData;
        return (windowStyle & ownPainting) ? Role::None : Role::ListBox;
    }
    if (sameName(className, L"Edit")) {
        const bool bordered = (windowStyle & style::kBorder) || (exStyle & style::kExClientEdge);
        return bordered ? Role::Edit : Role::None;
    }
    return Role::None;
}

ColourTarget colourTarget(ColourMessage message, std::wstring_view className, std::uint32_t windowStyle) {
    switch (message) {
    case ColourMessage::Edit:
        return ColourTarget::Edit;
    case ColourMessage::ListBox:
        return ColourTarget::ListBox;
    case ColourMessage::Dialog:
        return ColourTarget::Dialog;
    case ColourMessage::ScrollBar:
        return ColourTarget::Other;
    case ColourMessage::Button:
    case ColourMessage::Static:
        break;
    }
    // An edit asks with the static message when it is read-only or disabled.
    if (sameName(className, L"Edit")) return ColourTarget::ReadOnlyEdit;
    if (sameName(className, L"Button")) {
        switch (buttonRole(windowStyle)) {
        case Role::CheckBox:
        case Role::RadioButton:
            return ColourTarget::CheckBox;
        case Role::GroupBox:
            return ColourTarget::GroupBox;
        default:
            return ColourTarget::PushButton;
        }
    }
    if (sameName(className, L"ComboBox")) return ColourTarget::Edit;
    return ColourTarget::Label;
}

ColourAnswer decideColours(ColourTarget target, OwnerColours owner, const Skin& skin) {
    struct Pair {
        ColourTarget target;
        Colour Skin::*background;
        Colour Skin::*text;
    };
    // Read-only edits, buttons, check boxes and frames stand on the window's own background.
    static constexpr Pair kPairs[] = {
        {ColourTarget::Label, &Skin::windowBackground, &Skin::windowText},
        {ColourTarget::Dialog, &Skin::windowBackground, &Skin::windowText},
        {ColourTarget::Edit, &Skin::editBackground, &Skin::editText},
        {ColourTarget::ReadOnlyEdit, &Skin::windowBackground, &Skin::editText},
        {ColourTarget::ListBox, &Skin::listBackground, &Skin::listText},
        {ColourTarget::PushButton, &Skin::windowBackground, &Skin::buttonText},
        {ColourTarget::CheckBox, &Skin::windowBackground, &Skin::checkText},
        {ColourTarget::GroupBox, &Skin::windowBackground, &Skin::frameText},
    };
    ColourAnswer answer;
    if (owner.choseBackground) return answer;
    for (const Pair& pair : kPairs) {
        if (pair.target != target) continue;
        answer.setBackground = true;
        answer.background = skin.*pair.background;
        answer.setText = !owner.choseText;
        answer.text = skin.*pair.text;
    }
    return answer;
}

CaptionLayout layoutCaption(const FrameGeometry& frame) {
    CaptionLayout layout;
    const int sideFrame = std::max(0, frame.client.left);
    const int rightFrame = std::max(0, frame.width - frame.client.right);
    const int topFrame = std::max(0, frame.height - frame.client.bottom);  // frames are as thick at the top
    layout.bar = {sideFrame, topFrame, frame.width - rightFrame,
                  std::min(topFrame + frame.captionHeight, frame.client.top)};
    if (layout.bar.empty()) return layout;

    const int barHeight = layout.bar.bottom - layout.bar.top;
    const int buttonHeight = std::max(0, barHeight - 4);
    const int buttonWidth = buttonHeight + 4;
    const int buttonTop = layout.bar.top + 2;
    int right = layout.bar.right - 2;
    auto place = [&](Box& button, int gapAfter) {
        button = {right - buttonWidth, buttonTop, right, buttonTop + buttonHeight};
        right = button.left - gapAfter;
    };
    if (frame.sysMenu && buttonHeight > 0) {
        place(layout.close, 2);
        if (frame.maximizeBox) place(layout.maximize, 0);
        if (frame.minimizeBox) place(layout.minimize, 0);
    }
    int titleLeft = layout.bar.left + 6;
    if (frame.icon && frame.sysMenu) {
        const int size = std::min(16, barHeight - 2);
        if (size > 0) {
            const int top = layout.bar.top + (barHeight - size) / 2;
            layout.icon = {layout.bar.left + 3, top, layout.bar.left + 3 + size, top + size};
            titleLeft = layout.icon.right + 4;
        }
    }
    layout.title = {titleLeft, layout.bar.top, std::max(titleLeft, right - 4), layout.bar.bottom};
    return layout;
}

CaptionPart captionPartAt(const CaptionLayout& layout, int x, int y) {
    if (layout.close.contains(x, y)) return CaptionPart::Close;
    if (layout.maximize.contains(x, y)) return CaptionPart::Maximize;
    if (layout.minimize.contains(x, y)) return CaptionPart::Minimize;
    if (layout.icon.contains(x, y)) return CaptionPart::Icon;
    if (layout.bar.contains(x, y)) return CaptionPart::Bar;
    return CaptionPart::None;
}

}  // namespace skin
