// The "*.she" parser: every key reaches its own field, bad values and broken files are refused
// whole, and the sample skins we ship are valid.
#include "skinlibrary/SkinFormat.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Cp936.h"

namespace skin {
namespace {

// Every colour key of docs/skin-format.md with a colour of its own, and the field that must hold
// that colour: a key that lands in another field, or in none, leaves a field without its colour.
const char kEveryColourKey[] =
    "[window]\nbackground = 1,2,3\ntext = 2,4,6\nborder = 3,6,9\n"
    "[caption]\nactive = 4,8,12\nactive_text = 5,10,15\ninactive = 6,12,18\ninactive_text = 7,14,21\n"
    "button_hot = 8,16,24\nclose_hot = 9,18,27\n"
    "[button]\nface = 10,20,30\ntext = 11,22,33\nborder = 12,24,36\nhot = 13,26,39\npressed = 14,28,42\n"
    "[edit]\nbackground = 15,30,45\ntext = 16,32,48\nborder = 17,34,51\n"
    "[list]\nbackground = 18,36,54\ntext = 19,38,57\nselection = 20,40,60\nselection_text = 21,42,63\n"
    "[frame]\nborder = 22,44,66\ntext = 23,46,69\n"
    "[check]\nbackground = 24,48,72\nborder = 25,50,75\nmark = 26,52,78\ntext = 27,54,81\n";
const std::pair<Colour Skin::*, Colour> kEveryColourField[] = {
    {&Skin::windowBackground, rgb(1, 2, 3)}, {&Skin::windowText, rgb(2, 4, 6)}, {&Skin::windowBorder, rgb(3, 6, 9)},
    {&Skin::captionActive, rgb(4, 8, 12)}, {&Skin::captionActiveText, rgb(5, 10, 15)},
    {&Skin::captionInactive, rgb(6, 12, 18)}, {&Skin::captionInactiveText, rgb(7, 14, 21)},
    {&Skin::captionButtonHot, rgb(8, 16, 24)}, {&Skin::captionCloseHot, rgb(9, 18, 27)},
    {&Skin::buttonFace, rgb(10, 20, 30)}, {&Skin::buttonText, rgb(11, 22, 33)},
    {&Skin::buttonBorder, rgb(12, 24, 36)}, {&Skin::buttonHot, rgb(13, 26, 39)},
    {&Skin::buttonPressed, rgb(14, 28, 42)}, {&Skin::editBackground, rgb(15, 30, 45)},
    {&Skin::editText, rgb(16, 32, 48)}, {&Skin::editBorder, rgb(17, 34, 51)},
    {&Skin::listBackground, rgb(18, 36, 54)}, {&Skin::listText, rgb(19, 38, 57)},
    {&Skin::listSelection, rgb(20, 40, 60)}, {&Skin::listSelectionText, rgb(21, 42, 63)},
    {&Skin::frameBorder, rgb(22, 44, 66)}, {&Skin::frameText, rgb(23, 46, 69)},
    {&Skin::checkBackground, rgb(24, 48, 72)}, {&Skin::checkBorder, rgb(25, 50, 75)},
    {&Skin::checkMark, rgb(26, 52, 78)}, {&Skin::checkText, rgb(27, 54, 81)},
};

std::string file(const std::string& body) { return "[skin]\nname = test\n" + body; }

Skin parsed(const std::string& text) {
    ParseResult result = parseSkin(text);
    EXPECT_TRUE(result.skin.has_value()) << "line " << result.line << ": " << result.error << "\n" << text;
    return result.skin.value_or(defaultSkin());
}

TEST(SkinFormat, EveryColourKeySetsItsOwnField) {
    const Skin skin = parsed(file(kEveryColourKey));
    for (const auto& [field, expected] : kEveryColourField) {
        EXPECT_EQ(skin.*field, expected) << "the key given " << redOf(expected) << "," << greenOf(expected) << "...";
    }
}

TEST(SkinFormat, ColourValues) {
    const std::pair<const char*, Colour> good[] = {
        {"#0A0B0C", rgb(10, 11, 12)},     {"#ffFFff", rgb(255, 255, 255)}, {"1,2,3", rgb(1, 2, 3)},
        {" 255 , 0 , 7 ", rgb(255, 0, 7)}, {"#123456 ; a note", rgb(0x12, 0x34, 0x56)},
        {"0,0,0;", rgb(0, 0, 0)},
    };
    for (const auto& [text, colour] : good) {
        EXPECT_EQ(parsed(file(std::string("[window]\nbackground = ") + text + "\n")).windowBackground, colour) << text;
    }
    const char* bad[] = {"#12345", "#1234567", "#GG0000", "256,0,0", "-1,0,0", "1,2", "1,2,3,4",
                         "",       "red",      "1,,3",    "0x123456", "1 2 3"};
    for (const char* text : bad) {
        ParseResult result = parseSkin(file(std::string("[window]\nbackground = ") + text + "\n"));
        EXPECT_FALSE(result.skin.has_value()) << "\"" << text << "\"";
        EXPECT_EQ(result.line, 4) << text;
        EXPECT_EQ(result.error, "bad value for window.background") << text;
    }
}

TEST(SkinFormat, FontSizesInPointsWithOneDecimal) {
    const std::pair<const char*, int> good[] = {{"9", 90}, {"10.5", 105}, {"6", 60}, {"72", 720}, {"12 ; pt", 120}};
    for (const auto& [text, tenths] : good) {
        EXPECT_EQ(parsed(file(std::string("[font]\nsize = ") + text + "\n")).font.tenthsOfPoint, tenths) << text;
    }
    for (const char* text : {"5.9", "72.1", "9.", ".5", "10.55", "abc", "", "-9", "1e1", "9pt", "1000"}) {
        EXPECT_FALSE(parseSkin(file(std::string("[font]\nsize = ") + text + "\n")).skin.has_value()) << text;
    }
}

TEST(SkinFormat, BoldFlags) {
    const std::pair<const char*, bool> flags[] = {{"yes", true},  {"TRUE", true},   {"on", true},  {"1", true},
                                                  {"no", false},  {"False", false}, {"off", false}, {"0", false}};
    for (const auto& [text, bold] : flags) {
        EXPECT_EQ(parsed(file(std::string("[font]\nbold = ") + text + "\n")).font.bold, bold) << text;
    }
    for (const char* text : {"", "2", "y", "bold", "yes please"}) {
        EXPECT_FALSE(parseSkin(file(std::string("[font]\nbold = ") + text + "\n")).skin.has_value()) << text;
    }
}

TEST(SkinFormat, TextLengthLimits) {
    const std::string longestName(kMaxNameBytes, 'n');
    const std::string longestFace(kMaxFaceBytes, 'f');
    EXPECT_EQ(parsed("[skin]\nname = " + longestName + "\n").name, longestName);
    EXPECT_EQ(parsed("[skin]\n[font]\nface = " + longestFace + "\n").font.face, longestFace);
    const char* refused[] = {"[skin]\nname = \n", "[skin]\nname = \"\"\n", "[font]\nface =\n[skin]\n"};
    for (const char* text : refused) EXPECT_FALSE(parseSkin(text).skin.has_value()) << text;
    EXPECT_FALSE(parseSkin("[skin]\nname = " + longestName + "n\n").skin.has_value());
    EXPECT_FALSE(parseSkin("[skin]\n[font]\nface = " + longestFace + "f\n").skin.has_value());
}

TEST(SkinFormat, LayoutOfTheText) {
    // Keys and sections in any case, blanks around them, CRLF, a byte-order mark, comments, and
    // a key given twice (the last counts).
    const Skin skin = parsed(
        "\xEF\xBB\xBF; a comment\r\n# another\r\n  [ SKIN ]  \r\n\tName\t=\tx\r\n\r\n[Window]\r\n"
        "BACKGROUND = #010203\r\nbackground = #040506\r\n");
    EXPECT_EQ(skin.name, "x");
    EXPECT_EQ(skin.windowBackground, rgb(4, 5, 6));
    // The [skin] section may stand anywhere; unknown sections and keys are passed over.
    const Skin later = parsed("[window]\ntext = #0000FF\nshadow = big\n[sound]\nclick = yes\n[skin]\n");
    EXPECT_EQ(later.windowText, rgb(0, 0, 255));
}

// Notepad's "Unicode": the byte-order mark FF FE, then UTF-16 little-endian.
std::string utf16le(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(SkinFormat, HabitsBroughtFromIniFiles) {
    struct Case {
        std::string text;
        const char* name;
    };
    const Case cases[] = {
        {"[skin] ; what it is called\nname = \"湖蓝\" ; blue\n", "湖蓝"},
        {"[skin]\nname = \"a;b\" ; c\n", "a;b"},
        {"[skin]\nname = \"湖蓝\" ; \"blue\"\n", "湖蓝"},
        // Unquoted, or with more than a comment after the quotes, a text is the whole rest of the line.
        {"[skin]\nname = 湖蓝 ; blue\n", "湖蓝 ; blue"},
        {"[skin]\nname = \"a\" b\n", "\"a\" b"},
        {"[skin]\nname = \"a\"b\"\n", "a\"b"},
        {utf16le(u"[skin]\r\nname = 湖蓝\U0001F600\r\n"), "湖蓝\U0001F600"},
    };
    for (const Case& c : cases) EXPECT_EQ(parsed(c.text).name, c.name) << c.text;

    const Skin unicode = parsed(utf16le(u"[skin]\r\n[window] ; 颜色\r\nbackground = #010203\r\n[font]\r\nface = 微软雅黑\r\n"));
    EXPECT_EQ(unicode.windowBackground, rgb(1, 2, 3));
    EXPECT_EQ(unicode.font.face, "微软雅黑");
}

struct Broken {
    std::string text;
    int line;
    const char* error;
};

TEST(SkinFormat, BrokenFilesAreRefusedWithWhereAndWhy) {
    const Broken cases[] = {
        {"", 0, "no [skin] section"},
        {"\n\n  \n", 0, "no [skin] section"},
        {"; only a comment\n", 0, "no [skin] section"},
        {"[window]\nbackground = #000000\n", 0, "no [skin] section"},
        {"[skin\n", 1, "section name without ]"},
        {"[skin]\n[window] colours\n", 2, "section name without ]"},
        {"[skin]\n[]\n", 2, "empty section name"},
        {"name = x\n[skin]\n", 1, "key outside a section"},
        {"[skin]\nname x\n", 2, "expected key = value"},
        {"[skin]\n= x\n", 2, "key without a name"},
        {"[skin]\n[window]\nbackground = #12", 3, "bad value for window.background"},
        {"[skin]\nname = a\x01z\n", 2, "control character"},
        {"[skin]\n; a\x1Bz\n", 2, "control character"},  // in a comment too: the file is binary
        {std::string("[skin]\nname = a\0z\n", 18), 0, "binary data (NUL byte)"},
        {utf16le(u"[skin]\nname = x\n") + "A", 3, "broken UTF-16 text"},
        {utf16le(u"[skin]\nname = \xD800x\n"), 2, "broken UTF-16 text"},
        {utf16le(u"[skin]\n[window]\nbackground = #12\n"), 3, "bad value for window.background"},
    };
    for (const Broken& broken : cases) {
        ParseResult result = parseSkin(broken.text);
        EXPECT_FALSE(result.skin.has_value()) << broken.text;
        EXPECT_EQ(result.line, broken.line) << broken.text;
        EXPECT_EQ(result.error, broken.error) << broken.text;
    }
}

// The keys that came later, each with what a file of only the first keys derives for it: the
// file below, and the built-in skin (a file of [skin] alone).
struct DerivedField {
    const char* section;
    const char* key;
    Colour Skin::*member;
    Colour fromOldFile;
    Colour builtIn;
};

const DerivedField kDerivedFields[] = {
    {"scrollbar", "track", &Skin::scrollbarTrack, rgb(0x0F, 0x1D, 0x2C), rgb(0xDB, 0xE0, 0xE6)},
    {"scrollbar", "thumb", &Skin::scrollbarThumb, rgb(0xA0, 0xB0, 0xC0), rgb(0xDC, 0xE8, 0xF7)},
    {"scrollbar", "thumb_hot", &Skin::scrollbarThumbHot, rgb(0xC0, 0xD0, 0xE0), rgb(0xEC, 0xF3, 0xFD)},
    {"scrollbar", "arrow", &Skin::scrollbarArrow, rgb(0x0A, 0x0B, 0x0C), rgb(0x1E, 0x2B, 0x3C)},
    {"scrollbar", "border", &Skin::scrollbarBorder, rgb(0x50, 0x60, 0x70), rgb(0x6F, 0x93, 0xC2)},
    {"combo", "button", &Skin::comboButton, rgb(0xA0, 0xB0, 0xC0), rgb(0xDC, 0xE8, 0xF7)},
    {"combo", "button_hot", &Skin::comboButtonHot, rgb(0xC0, 0xD0, 0xE0), rgb(0xEC, 0xF3, 0xFD)},
    {"combo", "arrow", &Skin::comboArrow, rgb(0x0A, 0x0B, 0x0C), rgb(0x1E, 0x2B, 0x3C)},
    {"menu", "background", &Skin::menuBackground, rgb(0xF0, 0xE0, 0xD0), rgb(0xFF, 0xFF, 0xFF)},
    {"menu", "text", &Skin::menuText, rgb(0x0F, 0x0E, 0x0D), rgb(0x00, 0x00, 0x00)},
    {"menu", "selection", &Skin::menuSelection, rgb(0x20, 0x30, 0x40), rgb(0x3A, 0x72, 0xBA)},
    {"menu", "selection_text", &Skin::menuSelectionText, rgb(0xFA, 0xFB, 0xFC), rgb(0xFF, 0xFF, 0xFF)},
    {"menu", "border", &Skin::menuBorder, rgb(0x01, 0x02, 0x03), rgb(0x23, 0x4A, 0x7A)},
    {"tooltip", "background", &Skin::tooltipBackground, rgb(0x10, 0x20, 0x30), rgb(0xEE, 0xF3, 0xFA)},
    {"tooltip", "text", &Skin::tooltipText, rgb(0x11, 0x22, 0x33), rgb(0x1E, 0x2B, 0x3C)},
    {"tooltip", "border", &Skin::tooltipBorder, rgb(0x50, 0x60, 0x70), rgb(0x6F, 0x93, 0xC2)},
    {"progress", "bar", &Skin::progressBar, rgb(0x40, 0x50, 0x60), rgb(0x3A, 0x72, 0xBA)},
    {"progress", "background", &Skin::progressBackground, rgb(0xF0, 0xE0, 0xD0), rgb(0xFF, 0xFF, 0xFF)},
    {"trackbar", "channel", &Skin::trackbarChannel, rgb(0x70, 0x80, 0x90), rgb(0x8E, 0xAA, 0xD0)},
    {"trackbar", "thumb", &Skin::trackbarThumb, rgb(0xA0, 0xB0, 0xC0), rgb(0xDC, 0xE8, 0xF7)},
    {"tab", "face", &Skin::tabFace, rgb(0xA0, 0xB0, 0xC0), rgb(0xDC, 0xE8, 0xF7)},
    {"tab", "selected", &Skin::tabSelected, rgb(0x10, 0x20, 0x30), rgb(0xEE, 0xF3, 0xFA)},
    {"tab", "text", &Skin::tabText, rgb(0x0A, 0x0B, 0x0C), rgb(0x1E, 0x2B, 0x3C)},
    {"tab", "border", &Skin::tabBorder, rgb(0x50, 0x60, 0x70), rgb(0x6F, 0x93, 0xC2)},
    {"status", "background", &Skin::statusBackground, rgb(0x10, 0x20, 0x30), rgb(0xEE, 0xF3, 0xFA)},
    {"status", "text", &Skin::statusText, rgb(0x11, 0x22, 0x33), rgb(0x1E, 0x2B, 0x3C)},
};

// A file written before the later keys: only the first ones, each its own colour.
const char kOldFile[] =
    "[window]\nbackground = #102030\ntext = #112233\nborder = #010203\n[caption]\nactive = #405060\n"
    "[button]\nface = #A0B0C0\ntext = #0A0B0C\nborder = #506070\nhot = #C0D0E0\n"
    "[edit]\nbackground = #F0E0D0\ntext = #0F0E0D\nborder = #708090\n"
    "[list]\nselection = #203040\nselection_text = #FAFBFC\n";

TEST(SkinFormat, AFileWithoutTheLaterKeysDerivesThemFromItsOwn) {
    const Skin old = parsed(file(kOldFile));
    const Skin bare = parsed(file(""));
    for (const DerivedField& field : kDerivedFields) {
        EXPECT_EQ(old.*field.member, field.fromOldFile) << field.section << "." << field.key;
        EXPECT_EQ(bare.*field.member, field.builtIn) << field.section << "." << field.key << " of [skin] alone";
        EXPECT_EQ(defaultSkin().*field.member, field.builtIn) << field.section << "." << field.key << " built in";
    }
}

TEST(SkinFormat, ALaterKeyTheFileSetsKeepsItsValue) {
    for (const DerivedField& key : kDerivedFields) {
        const Skin skin =
            parsed(file(std::string(kOldFile) + "[" + key.section + "]\n" + key.key + " = #ABCDEF\n"));
        for (const DerivedField& field : kDerivedFields) {
            const Colour expected = &field == &key ? rgb(0xAB, 0xCD, 0xEF) : field.fromOldFile;
            EXPECT_EQ(skin.*field.member, expected) << "after " << key.section << "." << key.key << ", field "
                                                    << field.section << "." << field.key;
        }
    }
    // Set before its source in the file, the later key still wins.
    const Skin early = parsed("[scrollbar]\ntrack = #010101\n[skin]\n[window]\nbackground = #808080\n");
    EXPECT_EQ(early.scrollbarTrack, rgb(1, 1, 1));
    EXPECT_FALSE(parseSkin(file("[menu]\nselection = #12\n")).skin.has_value()) << "a bad value is refused";
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::filesystem::path> sampleSkins() {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(QUORVANE_SOURCE_DIR "/skins")) {
        if (entry.path().extension() == ".she") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(SampleSkins, AtLeastFiveValidAndNamedApart) {
    std::set<std::string> names{defaultSkin().name};
    for (const auto& path : sampleSkins()) {
        ParseResult result = parseSkin(readFile(path));
        ASSERT_TRUE(result.skin.has_value()) << path << " line " << result.line << ": " << result.error;
        EXPECT_TRUE(support::fromUtf8(result.skin->name)) << path << ": the name is no UTF-8";
        EXPECT_TRUE(names.insert(result.skin->name).second) << path << ": the name is taken";
        for (char c : path.filename().string()) EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80) << path;
    }
    EXPECT_GE(names.size(), 6u) << "the default and at least five samples";
}

}  // namespace
}  // namespace skin
