// libFuzzer target for the "*.she" parser: any bytes give a skin or a refusal, never a crash,
// and a skin that is accepted holds only values the format allows.
#include <cstdint>
#include <string>
#include <string_view>

#include "skinlibrary/SkinFormat.h"
#include "tests/fuzz/Require.h"

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const skin::ParseResult result = skin::parseSkin(text);
    if (!result.skin) {
        require(!result.error.empty(), "a refusal says why");
        require(result.line >= 0, "no line before the first");
        return 0;
    }
    const skin::Skin& parsed = *result.skin;
    for (skin::Colour colour : {parsed.windowBackground, parsed.windowText, parsed.captionActive, parsed.buttonFace,
                                parsed.editBackground, parsed.listSelection, parsed.checkMark, parsed.frameText}) {
        require(colour <= 0xFFFFFFu, "a colour holds three bytes");
    }
    require(!parsed.name.empty() && parsed.name.size() <= skin::kMaxNameBytes, "name length");
    require(!parsed.font.face.empty() && parsed.font.face.size() <= skin::kMaxFaceBytes, "face length");
    require(parsed.font.tenthsOfPoint >= skin::kMinFontTenths && parsed.font.tenthsOfPoint <= skin::kMaxFontTenths,
            "font size");
    // A line break at the end, in the file's own encoding, changes no line: the file stays accepted.
    const bool utf16 = text.substr(0, 2) == "\xFF\xFE";
    require(skin::parseSkin(std::string(text) + (utf16 ? std::string("\n\0", 2) : std::string("\n"))).skin.has_value(),
            "a line break at the end keeps it accepted");
    return 0;
}
