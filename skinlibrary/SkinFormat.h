// The "*.she" skin format: INI-style text a person can write by hand (docs/skin-format.md).
// Pure: no platform calls, so that it is tested and fuzzed natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace skin {

// 0x00BBGGRR, as the platform holds colours; the file writes them #RRGGBB.
using Colour = std::uint32_t;

constexpr Colour rgb(int red, int green, int blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) | (static_cast<Colour>(blue) << 16);
}
constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

// weight 0 gives a, 255 gives b.
Colour blend(Colour a, Colour b, int weight);
inline Colour lighten(Colour c, int weight) { return blend(c, rgb(255, 255, 255), weight); }
inline Colour darken(Colour c, int weight) { return blend(c, rgb(0, 0, 0), weight); }

struct SkinFont {
    std::string face;   // bytes as in the file: UTF-8 or the system's ANSI code page
    int tenthsOfPoint;  // 90 is 9 points
    bool bold;
};

struct Skin {
    std::string name;  // display name, bytes as in the file

    Colour windowBackground;
    Colour windowText;
    Colour windowBorder;

    Colour captionActive;
    Colour captionActiveText;
    Colour captionInactive;
    Colour captionInactiveText;
    Colour captionButtonHot;  // behind a caption button under the pointer or pressed
    Colour captionCloseHot;   // the same for the close button

    Colour buttonFace;
    Colour buttonText;
    Colour buttonBorder;
    Colour buttonHot;
    Colour buttonPressed;

    Colour editBackground;
    Colour editText;
    Colour editBorder;  // text boxes and list boxes

    Colour listBackground;
    Colour listText;
    Colour listSelection;
    Colour listSelectionText;

    Colour frameBorder;
    Colour frameText;

    Colour checkBackground;
    Colour checkBorder;
    Colour checkMark;
    Colour checkText;

    // The keys below came after the first files were written: a file without one derives it
    // from the keys it has (docs/skin-format.md says how).
    Colour scrollbarTrack;
    Colour scrollbarThumb;
    Colour scrollbarThumbHot;
    Colour scrollbarArrow;
    Colour scrollbarBorder;

    Colour comboButton;
    Colour comboButtonHot;
    Colour comboArrow;

    Colour menuBackground;
    Colour menuText;
    Colour menuSelection;
    Colour menuSelectionText;
    Colour menuBorder;

    Colour tooltipBackground;
    Colour tooltipText;
    Colour tooltipBorder;

    Colour progressBar;
    Colour progressBackground;

    Colour trackbarChannel;
    Colour trackbarThumb;

    Colour tabFace;
    Colour tabSelected;
    Colour tabText;
    Colour tabBorder;

    Colour statusBackground;
    Colour statusText;

    SkinFont font;  // the caption's title
};

// The skin SkinH_Attach applies; every key a file leaves out keeps this skin's value.
const Skin& defaultSkin();

struct ParseResult {
    std::optional<Skin> skin;  // empty: the file is not a usable skin
    int line = 0;              // where the first fault stands (0: the file as a whole)
    std::string error;         // why, in a few English words
};

// Limits of what a key may hold, in bytes and tenths of a point.
inline constexpr std::size_t kMaxNameBytes = 63;
inline constexpr std::size_t kMaxFaceBytes = 31;
inline constexpr int kMinFontTenths = 60;
inline constexpr int kMaxFontTenths = 720;

// The text in UTF-8, the system's ANSI code page, or UTF-16 little-endian behind its byte-order
// mark FF FE (read as UTF-8). A refusal says where (line) and why (error), for the skin's author.
ParseResult parseSkin(std::string_view text);

}  // namespace skin
