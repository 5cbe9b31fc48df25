#include "skinlibrary/SkinFormat.h"

#include <cstddef>

namespace skin {
namespace {

Skin buildDefaultSkin() {
    Skin s{};
    s.name = "\xE6\xB9\x96\xE8\x93\x9D";  // 湖蓝, lake blue
    s.windowBackground = rgb(0xEE, 0xF3, 0xFA);
    s.windowText = rgb(0x1E, 0x2B, 0x3C);
    s.windowBorder = rgb(0x23, 0x4A, 0x7A);
    s.captionActive = rgb(0x3A, 0x72, 0xBA);
    s.captionActiveText = rgb(0xFF, 0xFF, 0xFF);
    s.captionInactive = rgb(0x9D, 0xB3, 0xCF);
    s.captionInactiveText = rgb(0xF2, 0xF6, 0xFB);
    s.captionButtonHot = rgb(0x5B, 0x90, 0xD6);
    s.captionCloseHot = rgb(0xD9, 0x43, 0x43);
    s.buttonFace = rgb(0xDC, 0xE8, 0xF7);
    s.buttonText = rgb(0x1E, 0x2B, 0x3C);
    s.buttonBorder = rgb(0x6F, 0x93, 0xC2);
    s.buttonHot = rgb(0xEC, 0xF3, 0xFD);
    s.buttonPressed = rgb(0xB8, 0xCE, 0xEA);
    s.editBackground = rgb(0xFF, 0xFF, 0xFF);
    s.editText = rgb(0x00, 0x00, 0x00);
    s.editBorder = rgb(0x8E, 0xAA, 0xD0);
    s.listBackground = rgb(0xFF, 0xFF, 0xFF);
    s.listText = rgb(0x00, 0x00, 0x00);
    s.listSelection = rgb(0x3A, 0x72, 0xBA);
    s.listSelectionText = rgb(0xFF, 0xFF, 0xFF);
    s.frameBorder = rgb(0x9A, 0xB3, 0xD3);
    s.frameText = rgb(0x24, 0x52, 0x8A);
    s.checkBackground = rgb(0xFF, 0xFF, 0xFF);
    s.checkBorder = rgb(0x5E, 0x83, 0xB3);
    s.checkMark = rgb(0x23, 0x4A, 0x7A);
    s.checkText = rgb(0x1E, 0x2B, 0x3C);
    // The later keys as a file without them derives them from the keys above.
    s.scrollbarTrack = rgb(0xDB, 0xE0, 0xE6);
    s.scrollbarThumb = rgb(0xDC, 0xE8, 0xF7);
    s.scrollbarThumbHot = rgb(0xEC, 0xF3, 0xFD);
    s.scrollbarArrow = rgb(0x1E, 0x2B, 0x3C);
    s.scrollbarBorder = rgb(0x6F, 0x93, 0xC2);
    s.comboButton = rgb(0xDC, 0xE8, 0xF7);
    s.comboButtonHot = rgb(0xEC, 0xF3, 0xFD);
    s.comboArrow = rgb(0x1E, 0x2B, 0x3C);
    s.menuBackground = rgb(0xFF, 0xFF, 0xFF);
    s.menuText = rgb(0x00, 0x00, 0x00);
    s.menuSelection = rgb(0x3A, 0x72, 0xBA);
    s.menuSelectionText = rgb(0xFF, 0xFF, 0xFF);
    s.menuBorder = rgb(0x23, 0x4A, 0x7A);
    s.tooltipBackground = rgb(0xEE, 0xF3, 0xFA);
    s.tooltipText = rgb(0x1E, 0x2B, 0x3C);
    s.tooltipBorder = rgb(0x6F, 0x93, 0xC2);
    s.progressBar = rgb(0x3A, 0x72, 0xBA);
    s.progressBackground = rgb(0xFF, 0xFF, 0xFF);
    s.trackbarChannel = rgb(0x8E, 0xAA, 0xD0);
    s.trackbarThumb = rgb(0xDC, 0xE8, 0xF7);
    s.tabFace = rgb(0xDC, 0xE8, 0xF7);
    s.tabSelected = rgb(0xEE, 0xF3, 0xFA);
    s.tabText = rgb(0x1E, 0x2B, 0x3C);
    s.tabBorder = rgb(0x6F, 0x93, 0xC2);
    s.statusBackground = rgb(0xEE, 0xF3, 0xFA);
    s.statusText = rgb(0x1E, 0x2B, 0x3C);
    s.font.face = "\xE5\xAE\x8B\xE4\xBD\x93";  // 宋体
    s.font.tenthsOfPoint = 90;
    s.font.bold = true;
    return s;
}

struct ColourKey {
    std::string_view section;
    std::string_view key;
    Colour Skin::*member;
};

// A key a file may lack that is then derived from another: the source's colour, darkened by
// `darken` (of 255). The sources are keys of the first files, which are never derived.
struct DerivedKey {
    std::string_view section;
    std::string_view key;
    Colour Skin::*member;
    Colour Skin::*source;
    int darken;
};

// The track a shade below the window, so that a scroll bar stands out from the window it edges.
constexpr int kTrackShade = 20;

constexpr DerivedKey kDerivedKeys[] = {
    {"scrollbar", "track", &Skin::scrollbarTrack, &Skin::windowBackground, kTrackShade},
    {"scrollbar", "thumb", &Skin::scrollbarThumb, &Skin::buttonFace, 0},
    {"scrollbar", "thumb_hot", &Skin::scrollbarThumbHot, &Skin::buttonHot, 0},
    {"scrollbar", "arrow", &Skin::scrollbarArrow, &Skin::buttonText, 0},
    {"scrollbar", "border", &Skin::scrollbarBorder, &Skin::buttonBorder, 0},
    {"combo", "button", &Skin::comboButton, &Skin::buttonFace, 0},
    {"combo", "button_hot", &Skin::comboButtonHot, &Skin::buttonHot, 0},
    {"combo", "arrow", &Skin::comboArrow, &Skin::buttonText, 0},
    {"menu", "background", &Skin::menuBackground, &Skin::editBackground, 0},
    {"menu", "text", &Skin::menuText, &Skin::editText, 0},
    {"menu", "selection", &Skin::menuSelection, &Skin::listSelection, 0},
    {"menu", "selection_text", &Skin::menuSelectionText, &Skin::listSelectionText, 0},
    {"menu", "border", &Skin::menuBorder, &Skin::windowBorder, 0},
    {"tooltip", "background", &Skin::tooltipBackground, &Skin::windowBackground, 0},
    {"tooltip", "text", &Skin::tooltipText, &Skin::windowText, 0},
    {"tooltip", "border", &Skin::tooltipBorder, &Skin::buttonBorder, 0},
    {"progress", "bar", &Skin::progressBar, &Skin::captionActive, 0},
    {"progress", "background", &Skin::progressBackground, &Skin::editBackground, 0},
    {"trackbar", "channel", &Skin::trackbarChannel, &Skin::editBorder, 0},
    {"trackbar", "thumb", &Skin::trackbarThumb, &Skin::buttonFace, 0},
    {"tab", "face", &Skin::tabFace, &Skin::buttonFace, 0},
    {"tab", "selected", &Skin::tabSelected, &Skin::windowBackground, 0},
    {"tab", "text", &Skin::tabText, &Skin::buttonText, 0},
    {"tab", "border", &Skin::tabBorder, &Skin::buttonBorder, 0},
    {"status", "background", &Skin::statusBackground, &Skin::windowBackground, 0},
    {"status", "text", &Skin::statusText, &Skin::windowText, 0},
};
constexpr std::size_t kDerivedCount = sizeof kDerivedKeys / sizeof kDerivedKeys[0];

// Each derived key the file left out takes its colour from its source.
void derive(Skin& skin, const bool (&set)[kDerivedCount]) {
    for (std::size_t i = 0; i < kDerivedCount; ++i) {
        if (set[i]) continue;
        const DerivedKey& entry = kDerivedKeys[i];
        skin.*entry.member = darken(skin.*entry.source, entry.darken);
    }
}

constexpr ColourKey kColourKeys[] = {
    {"window", "background", &Skin::windowBackground},
    {"window", "text", &Skin::windowText},
    {"window", "border", &Skin::windowBorder},
    {"caption", "active", &Skin::captionActive},
    {"caption", "active_text", &Skin::captionActiveText},
    {"caption", "inactive", &Skin::captionInactive},
    {"caption", "inactive_text", &Skin::captionInactiveText},
    {"caption", "button_hot", &Skin::captionButtonHot},
    {"caption", "close_hot", &Skin::captionCloseHot},
    {"button", "face", &Skin::buttonFace},
    {"button", "text", &Skin::buttonText},
    {"button", "border", &Skin::buttonBorder},
    {"button", "hot", &Skin::buttonHot},
    {"button", "pressed", &Skin::buttonPressed},
    {"edit", "background", &Skin::editBackground},
    {"edit", "text", &Skin::editText},
    {"edit", "border", &Skin::editBorder},
    {"list", "background", &Skin::listBackground},
    {"list", "text", &Skin::listText},
    {"list", "selection", &Skin::listSelection},
    {"list", "selection_text", &Skin::listSelectionText},
    {"frame", "border", &Skin::frameBorder},
    {"frame", "text", &Skin::frameText},
    {"check", "background", &Skin::checkBackground},
    {"check", "border", &Skin::checkBorder},
    {"check", "mark", &Skin::checkMark},
    {"check", "text", &Skin::checkText},
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string result(s);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Cuts a trailing "; comment" from a value that cannot itself hold a semicolon.
std::string_view withoutComment(std::string_view value) {
    std::size_t semicolon = value.find(';');
    if (semicolon != std::string_view::npos) value = value.substr(0, semicolon);
    return trim(value);
}

// One decimal component 0 to 255 of "r, g, b".
std::optional<int> component(std::string_view text) {
    text = trim(text);
    if (text.empty() || text.size() > 3) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (!isDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 255) return std::nullopt;
    return value;
}

std::optional<Colour> parseColour(std::string_view text) {
    if (text.size() == 7 && text[0] == '#') {
        Colour value = 0;
        for (std::size_t i = 1; i < 7; ++i) {
            int digit = hexDigit(text[i]);
            if (digit < 0) return std::nullopt;
            value = (value << 4) | static_cast<Colour>(digit);
        }
        return rgb(static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xFF),
                   static_cast<int>(value & 0xFF));
    }
    std::size_t first = text.find(',');
    if (first == std::string_view::npos) return std::nullopt;
    std::size_t second = text.find(',', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    auto red = component(text.substr(0, first));
    auto green = component(text.substr(first + 1, second - first - 1));
    auto blue = component(text.substr(second + 1));
    if (!red || !green || !blue) return std::nullopt;
    return rgb(*red, *green, *blue);
}

// "9" or "10.5": points with at most one decimal, returned in tenths.
std::optional<int> parsePoints(std::string_view text) {
    std::size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view tenth = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() || whole.size() > 3) return std::nullopt;
    if (point != std::string_view::npos && tenth.size() != 1) return std::nullopt;
    int tenths = 0;
    for (char c : whole) {
        if (!isDigit(c)) return std::nullopt;
        tenths = tenths * 10 + (c - '0');
    }
    tenths *= 10;
    if (!tenth.empty()) {
        if (!isDigit(tenth[0])) return std::nullopt;
        tenths += tenth[0] - '0';
    }
    if (tenths < kMinFontTenths || tenths > kMaxFontTenths) return std::nullopt;
    return tenths;
}

std::optional<bool> parseFlag(std::string_view text) {
    const std::string word = lower(text);
    for (const char* yes : {"yes", "true", "on", "1"}) {
        if (word == yes) return true;
    }
    for (const char* no : {"no", "false", "off", "0"}) {
        if (word == no) return false;
    }
    return std::nullopt;
}

// A text value: optionally in double quotes, 1 to maxBytes bytes. Unquoted, it is the whole rest
// of the line; quoted, a "; comment" may follow the closing quote, as in INI files.
std::optional<std::string> parseText(std::string_view text, std::size_t maxBytes) {
    const std::size_t closing = text.size() >= 2 && text.front() == '"' ? text.find('"', 1) : std::string_view::npos;
    if (closing != std::string_view::npos) {
        const std::string_view after = trim(text.substr(closing + 1));
        if (after.empty() || after.front() == ';') {
            text = text.substr(1, closing - 1);
        } else if (text.back() == '"') {
            text = text.substr(1, text.size() - 2);
        }
    }
    if (text.empty() || text.size() > maxBytes) return std::nullopt;
    return std::string(text);
}

// Applies one known key; nullopt when the key is unknown, false when its value is bad. A derived
// key the file sets is marked in `derivedSet`.
std::optional<bool> applyKey(Skin& skin, std::string_view section, std::string_view key, std::string_view value,
                             bool (&derivedSet)[kDerivedCount]) {
    for (const ColourKey& entry : kColourKeys) {
        if (entry.section == section && entry.key == key) {
            auto colour = parseColour(withoutComment(value));
            if (colour) skin.*entry.member = *colour;
            return colour.has_value();
        }
    }
    for (std::size_t i = 0; i < kDerivedCount; ++i) {
        const DerivedKey& entry = kDerivedKeys[i];
        if (entry.section == section && entry.key == key) {
            auto colour = parseColour(withoutComment(value));
            if (colour) {
                skin.*entry.member = *colour;
                derivedSet[i] = true;
            }
            return colour.has_value();
        }
    }
    if (section == "skin" && key == "name") {
        auto name = parseText(value, kMaxNameBytes);
        if (name) skin.name = *name;
        return name.has_value();
    }
    if (section == "font" && key == "face") {
        auto face = parseText(value, kMaxFaceBytes);
        if (face) skin.font.face = *face;
        return face.has_value();
    }
    if (section == "font" && key == "size") {
        auto tenths = parsePoints(withoutComment(value));
        if (tenths) skin.font.tenthsOfPoint = *tenths;
        return tenths.has_value();
    }
    if (section == "font" && key == "bold") {
        auto bold = parseFlag(withoutComment(value));
        if (bold) skin.font.bold = *bold;
        return bold.has_value();
    }
    return std::nullopt;
}

ParseResult failure(int line, std::string error) {
    ParseResult result;
    result.line = line;
    result.error = std::move(error);
    return result;
}

void appendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

struct Decoded {
    std::string utf8;
    int brokenLine = 0;  // where the text is cut inside a character or holds a lone surrogate
};

// Notepad's "Unicode" (UTF-16 little-endian) as UTF-8, the text form the parser reads.
Decoded utf8FromUtf16le(std::string_view bytes) {
    Decoded result;
    int line = 1;
    auto unit = [bytes](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        if (i + 1 == bytes.size()) {
            result.brokenLine = line;
            return result;
        }
        std::uint32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            result.brokenLine = line;
            return result;
        }
        if (c == '\n') ++line;
        appendUtf8(result.utf8, c);
    }
    return result;
}

// Text in UTF-8 or the ANSI code page.
ParseResult parseSkinText(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return failure(0, "binary data (NUL byte)");
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    Skin skin = defaultSkin();
    bool derivedSet[kDerivedCount] = {};
    std::string section;
    bool sawSkinSection = false;
    bool inSection = false;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = trim(line);
        for (char c : line) {
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return failure(lineNumber, "control character");
        }
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;

        if (line.front() == '[') {
            if (line.back() != ']') line = withoutComment(line);  // "[window] ; colours"
            if (line.back() != ']') return failure(lineNumber, "section name without ]");
            section = lower(trim(line.substr(1, line.size() - 2)));
            if (section.empty()) return failure(lineNumber, "empty section name");
            inSection = true;
            if (section == "skin") sawSkinSection = true;
            continue;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return failure(lineNumber, "expected key = value");
        const std::string key = lower(trim(line.substr(0, equals)));
        if (key.empty()) return failure(lineNumber, "key without a name");
        if (!inSection) return failure(lineNumber, "key outside a section");
        const std::string_view value = trim(line.substr(equals + 1));
        std::optional<bool> applied = applyKey(skin, section, key, value, derivedSet);
        if (applied.has_value() && !*applied) return failure(lineNumber, "bad value for " + section + "." + key);
    }
    if (!sawSkinSection) return failure(0, "no [skin] section");
    derive(skin, derivedSet);
    ParseResult result;
    result.skin = std::move(skin);
    return result;
}

}  // namespace

Colour blend(Colour a, Colour b, int weight) {
    if (weight < 0) weight = 0;
    if (weight > 255) weight = 255;
    auto mix = [weight](int x, int y) { return (x * (255 - weight) + y * weight + 127) / 255; };
    return rgb(mix(redOf(a), redOf(b)), mix(greenOf(a), greenOf(b)), mix(blueOf(a), blueOf(b)));
}

const Skin& defaultSkin() {
    static const Skin skin = buildDefaultSkin();
    return skin;
}


ParseResult parseSkin(std::string_view text) {
    if (text.substr(0, 2) != "\xFF\xFE") return parseSkinText(text);
    const Decoded decoded = utf8FromUtf16le(text.substr(2));
    if (decoded.brokenLine != 0) return failure(decoded.brokenLine, "broken UTF-16 text");
    return parseSkinText(decoded.utf8);
}

}  // namespace skin
