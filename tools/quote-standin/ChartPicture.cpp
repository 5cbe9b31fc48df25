#include "tools/quote-standin/ChartPicture.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace standin {
namespace {

enum Colour : std::uint8_t { White, Black, Grid, Frame, Up, Down, Line, Mean, Header };

const GifColorType kPalette[16] = {
    {255, 255, 255}, {20, 20, 20}, {225, 225, 225}, {150, 150, 150}, {220, 30, 30},
    {20, 150, 60},   {30, 80, 200}, {230, 150, 20}, {232, 238, 248},
};

// A 5 x 7 pixel font for what the charts write: the top row first, the leftmost pixel in bit 4.
struct Glyph {
    char c;
    std::array<std::uint8_t, 7> rows;
};
const Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'A', {0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}}, {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}}, {'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}},
    {' ', {0, 0, 0, 0, 0, 0, 0}},
};
const Glyph kUnknownGlyph = {'?', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}};

const Glyph& glyphFor(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const Glyph& g : kFont)
        if (g.c == c) return g;
    return kUnknownGlyph;
}

class Canvas {
public:
    Canvas() : pixels_(static_cast<std::size_t>(kChartWidth) * kChartHeight, White) {}

    void set(int x, int y, std::uint8_t colour) {
        if (x >= 0 && x < kChartWidth && y >= 0 && y < kChartHeight)
            pixels_[static_cast<std::size_t>(y) * kChartWidth + x] = colour;
    }
    void fill(int x0, int y0, int x1, int y1, std::uint8_t colour) {
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
            for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) set(x, y, colour);
    }
    void frame(int x0, int y0, int x1, int y1, std::uint8_t colour) {
        fill(x0, y0, x1, y0, colour);
        fill(x0, y1, x1, y1, colour);
        fill(x0, y0, x0, y1, colour);
        fill(x1, y0, x1, y1, colour);
    }
    void dottedRow(int x0, int x1, int y, std::uint8_t colour) {
        for (int x = x0; x <= x1; x += 3) set(x, y, colour);
    }
    void line(int x0, int y0, int x1, int y1, std::uint8_t colour) {
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        for (int err = dx + dy;;) {
            set(x0, y0, colour);
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x0 += sx; }
            if (e2 <= dx) { err += dx; y0 += sy; }
        }
    }
    // Returns the width written, in pixels.
    int text(int x, int y, std::string_view s, int scale, std::uint8_t colour) {
        const int advance = 6 * scale;
        for (char c : s) {
            const Glyph& g = glyphFor(c);
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g.rows[row] & (0x10 >> col))
                        fill(x + col * scale, y + row * scale, x + col * scale + scale - 1,
                             y + row * scale + scale - 1, colour);
            x += advance;
        }
        return static_cast<int>(s.size()) * advance;
    }
    std::uint8_t* row(int y) { return &pixels_[static_cast<std::size_t>(y) * kChartWidth]; }

private:
    std::vector<std::uint8_t> pixels_;
};

int textWidth(std::string_view s, int scale) { return static_cast<int>(s.size()) * 6 * scale; }

// Fixed per symbol and period, so that a chart never changes between requests.
class Random {
public:
    explicit Random(std::string_view seed) {
        for (unsigned char c : seed) state_ = (state_ ^ c) * 1099511628211ull;
    }
    // Uniform in [-1, 1).
    double next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<double>((state_ * 2685821657736338717ull) >> 11) / 4503599627370496.0 - 1.0;
    }

private:
    std::uint64_t state_ = 14695981039346656037ull;
};

struct Candle {
    double open, close, high, low, volume;
};

// Layout of the picture, in pixels.
constexpr int kPlotLeft = 58, kPlotRight = kChartWidth - 8;
constexpr int kPriceTop = 28, kPriceBottom = 200;
constexpr int kVolumeTop = 210, kVolumeBottom = 270;
constexpr int kFootTop = 278;

struct PriceScale {
    double low, high;
    int y(double price) const {
        return kPriceBottom - static_cast<int>(std::lround((price - low) / (high - low) * (kPriceBottom - kPriceTop)));
    }
};

void drawPriceAxis(Canvas& canvas, const PriceScale& scale, int decimals) {
    for (int i = 0; i <= 4; ++i) {
        const double price = scale.low + (scale.high - scale.low) * i / 4;
        const int y = scale.y(price);
        if (i > 0 && i < 4) canvas.dottedRow(kPlotLeft + 1, kPlotRight - 1, y, Grid);
        const std::string label = formatPrice(std::llround(price * std::pow(10.0, decimals)), decimals);
        canvas.text(kPlotLeft - 4 - textWidth(label, 1), y - 3, label, 1, Black);
    }
}

void drawVolumes(Canvas& canvas, const std::vector<double>& volumes, const std::vector<bool>& up, int barWidth) {
    const double most = *std::max_element(volumes.begin(), volumes.end());
    const double slot = static_cast<double>(kPlotRight - kPlotLeft) / volumes.size();
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        const int x = kPlotLeft + static_cast<int>(slot * (i + 0.5));
        const int top = kVolumeBottom - static_cast<int>(volumes[i] / most * (kVolumeBottom - kVolumeTop - 4));
        canvas.fill(x - barWidth / 2, top, x + (barWidth - 1) / 2, kVolumeBottom - 1, up[i] ? Up : Down);
    }
}

// The day's minutes: 9:30 to 11:30 and 13:00 to 15:00, a price every minute from the open to
// today's price, touching the day's high and low.
void drawMinuteChart(Canvas& canvas, const Share& share, Random& random) {
    constexpr int kMinutes = 241;
    std::vector<double> walk(kMinutes, 0.0);
    for (int i = 1; i < kMinutes; ++i) walk[i] = walk[i - 1] + random.next() + random.next();
    std::vector<double> base(kMinutes), bridge(kMinutes);
    double reach = 1e300;
    for (int i = 0; i < kMinutes; ++i) {
        bridge[i] = walk[i] - walk[kMinutes - 1] * i / (kMinutes - 1);
        base[i] = share.open + static_cast<double>(share.price - share.open) * i / (kMinutes - 1);
        if (bridge[i] > 0) reach = std::min(reach, (share.high - base[i]) / bridge[i]);
        if (bridge[i] < 0) reach = std::min(reach, (share.low - base[i]) / bridge[i]);
    }
    if (reach > 1e299) reach = 0;

    const double unit = std::pow(10.0, -share.decimals);
    const double previous = share.previousClose * unit;
    double swing = std::max(std::abs(share.high * unit - previous), std::abs(share.low * unit - previous));
    swing = std::max(swing * 1.15, unit * 4);
    const PriceScale scale{previous - swing, previous + swing};
    drawPriceAxis(canvas, scale, share.decimals);
    canvas.fill(kPlotLeft + 1, scale.y(previous), kPlotRight - 1, scale.y(previous), Frame);

    std::vector<double> volumes(kMinutes);
    std::vector<bool> up(kMinutes);
    double sum = 0;
    int lastX = 0, lastY = 0, lastMeanY = 0;
    for (int i = 0; i < kMinutes; ++i) {
        const double price = (base[i] + reach * bridge[i]) * unit;
        sum += price;
        const int x = kPlotLeft + 1 + (kPlotRight - kPlotLeft - 2) * i / (kMinutes - 1);
        const int y = scale.y(price), meanY = scale.y(sum / (i + 1));
        if (i > 0) {
            canvas.line(lastX, lastMeanY, x, meanY, Mean);
            canvas.line(lastX, lastY, x, y, Line);
        }
        lastX = x, lastY = y, lastMeanY = meanY;
        volumes[i] = 1.0 + std::abs(random.next()) * (i < 30 || i > 210 ? 3.0 : 1.0);
        up[i] = price >= previous;
    }
    drawVolumes(canvas, volumes, up, 1);

    const int middle = (kPlotLeft + kPlotRight) / 2;
    canvas.text(kPlotLeft, kFootTop, "09:30", 1, Black);
    canvas.text(middle - textWidth("11:30/13:00", 1) / 2, kFootTop, "11:30/13:00", 1, Black);
    canvas.text(kPlotRight - textWidth("15:00", 1), kFootTop, "15:00", 1, Black);
}

// Candles ending with the latest period, whose close is today's price; the daily chart's last
// candle is today's and the one before it closes at the previous close.
void drawCandleChart(Canvas& canvas, const Share& share, Period period, Random& random) {
    const int count = period == Period::Daily ? 60 : period == Period::Weekly ? 52 : 36;
    const double swing = period == Period::Daily ? 0.02 : period == Period::Weekly ? 0.045 : 0.09;
    const double unit = std::pow(10.0, -share.decimals);

    std::vector<Candle> candles(count);
    double close = share.price * unit;
    for (int i = count - 1; i >= 0; --i) {
        Candle& c = candles[i];
        c.close = close;
        const double previousClose = (period == Period::Daily && i == count - 1)
                                         ? share.previousClose * unit
                                         : close / (1.0 + random.next() * swing);
        c.open = previousClose * (1.0 + random.next() * swing * 0.25);
        c.high = std::max(c.open, c.close) * (1.0 + std::abs(random.next()) * swing * 0.5);
        c.low = std::min(c.open, c.close) * (1.0 - std::abs(random.next()) * swing * 0.5);
        c.volume = 1.0 + std::abs(random.next());
        close = previousClose;
    }
    if (period == Period::Daily) {
        Candle& today = candles.back();
        today.open = share.open * unit, today.high = share.high * unit, today.low = share.low * unit;
    }

    double low = candles[0].low, high = candles[0].high;
    for (const Candle& c : candles) low = std::min(low, c.low), high = std::max(high, c.high);
    const double margin = std::max((high - low) * 0.06, unit * 2);
    const PriceScale scale{low - margin, high + margin};
    drawPriceAxis(canvas, scale, share.decimals);

    const double slot = static_cast<double>(kPlotRight - kPlotLeft) / count;
    const int body = std::max(3, static_cast<int>(slot * 0.7) | 1);
    std::vector<double> volumes;
    std::vector<bool> up;
    for (int i = 0; i < count; ++i) {
        const Candle& c = candles[i];
        const bool rising = c.close >= c.open;
        const std::uint8_t colour = rising ? Up : Down;
        const int x = kPlotLeft + static_cast<int>(slot * (i + 0.5));
        canvas.fill(x, scale.y(c.high), x, scale.y(c.low), colour);
        const int top = scale.y(std::max(c.open, c.close)), bottom = scale.y(std::min(c.open, c.close));
        if (rising) {
            // Rising candles are hollow, falling ones filled, as Chinese charts draw them.
            canvas.fill(x - body / 2, top, x + body / 2, bottom, White);
            canvas.frame(x - body / 2, top, x + body / 2, bottom, colour);
        } else {
            canvas.fill(x - body / 2, top, x + body / 2, bottom, colour);
        }
        volumes.push_back(c.volume);
        up.push_back(rising);
    }
    drawVolumes(canvas, volumes, up, body);

    const std::string span = std::to_string(count) + (period == Period::Daily    ? " DAYS"
                                                      : period == Period::Weekly ? " WEEKS"
                                                                                 : " MONTHS");
    canvas.text(kPlotLeft, kFootTop, span, 1, Black);
    canvas.text(kPlotRight - textWidth("2024-05-17", 1), kFootTop, "2024-05-17", 1, Black);
}

int writeToString(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

std::string encodeGif(Canvas& canvas) {
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, writeToString, &error);
    if (!gif) throw std::runtime_error("EGifOpen failed");
    EGifSetGifVersion(gif, true);
    ColorMapObject* palette = GifMakeMapObject(16, kPalette);
    bool ok = palette && EGifPutScreenDesc(gif, kChartWidth, kChartHeight, 8, White, palette) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, kChartWidth, kChartHeight, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < kChartHeight; ++y) ok = EGifPutLine(gif, canvas.row(y), kChartWidth) == GIF_OK;
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(palette);
    if (!ok) throw std::runtime_error("GIF encoding failed");
    return out;
}

}  // namespace

std::optional<Period> parsePeriod(std::string_view word) {
    for (Period p : {Period::Min, Period::Daily, Period::Weekly, Period::Monthly})
        if (word == periodWord(p)) return p;
    return std::nullopt;
}

const char* periodWord(Period period) {
    switch (period) {
    case Period::Min: return "min";
    case Period::Daily: return "daily";
    case Period::Weekly: return "weekly";
    case Period::Monthly: return "monthly";
    }
    return "";
}

std::string chartGif(const Share& share, Period period) {
    Canvas canvas;
    canvas.fill(0, 0, kChartWidth - 1, 21, Header);
    const std::string title = std::string(share.symbol) + "  " + periodWord(period);
    canvas.text(8, 4, title, 2, Black);

    const double change = 100.0 * (share.price - share.previousClose) / share.previousClose;
    char percent[16];
    std::snprintf(percent, sizeof percent, "%+.2f%%", change);
    const std::string quote = formatPrice(share.price, share.decimals) + "  " + percent;
    canvas.text(kChartWidth - 8 - textWidth(quote, 2), 4, quote, 2, share.price >= share.previousClose ? Up : Down);

    Random random(title);
    if (period == Period::Min) drawMinuteChart(canvas, share, random);
    else drawCandleChart(canvas, share, period, random);
    canvas.frame(kPlotLeft, kPriceTop, kPlotRight, kPriceBottom, Frame);
    canvas.frame(kPlotLeft, kVolumeTop, kPlotRight, kVolumeBottom, Frame);
    canvas.frame(0, 0, kChartWidth - 1, kChartHeight - 1, Frame);
    return encodeGif(canvas);
}

}  // namespace standin
