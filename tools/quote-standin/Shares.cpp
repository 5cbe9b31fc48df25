#include "tools/quote-standin/Shares.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace standin {
namespace {

// Made-up but plausible figures. sh600000's are fixed so that tests can expect them.
const std::vector<Share> kShares = {
    {"sz000001", "平安银行", 2, 1052, 1048, 1061, 1066, 1045, 98765432},
    {"sh600000", "浦发银行", 2, 1020, 1018, 1025, 1030, 1015, 35472100},
    {"sz300750", "宁德时代", 2, 18850, 18720, 19036, 19188, 18690, 12876543},
    {"sh601318", "中国平安", 2, 4410, 4395, 4462, 4480, 4388, 45678912},
    {"sz000858", "五粮液", 2, 14800, 14735, 14621, 14920, 14580, 9876543},
    {"sh688981", "中芯国际", 2, 4630, 4605, 4712, 4750, 4590, 67894321},
    {"sz200596", "古井贡Ｂ", 2, 12650, 12600, 12780, 12840, 12590, 345600},
    {"sz159915", "创业板ETF", 3, 1852, 1847, 1869, 1873, 1841, 876543210},
    {"sh600519", "贵州茅台", 2, 168800, 168050, 170235, 170888, 168120, 2345678},
    {"sz000002", "万科Ａ", 2, 745, 742, 738, 752, 730, 156789012},
    {"sh601398", "工商银行", 2, 586, 585, 589, 591, 584, 234567890},
    {"sz002594", "比亚迪", 2, 25610, 25470, 25945, 26100, 25330, 23456789},
    {"sh510300", "沪深300ETF", 3, 3621, 3608, 3645, 3652, 3601, 456789012},

    // The fault block: quote faults in sh9990xx, chart faults in sh9991xx.
    {"sh999001", "错误四零四", 2, 1000, 990, 1005, 1010, 985, 1000000, Fault::ErrorPage404},
    {"sh999002", "错误五百", 2, 1000, 990, 1005, 1010, 985, 1000000, Fault::ErrorPage500},
    {"sh999003", "空白回答", 2, 1000, 990, 1005, 1010, 985, 1000000, Fault::EmptyBody},
    {"sh999004", "无回应", 2, 1000, 990, 1005, 1010, 985, 1000000, Fault::NoReply},
    {"sh999005", "无尽回答", 2, 1100, 1090, 1105, 1110, 1085, 2000000, Fault::EndlessBody},
    {"sh999006", "中途断开", 2, 1200, 1190, 1205, 1210, 1185, 3000000, Fault::ClosedMidBody},
    {"sh999007", "中途重置", 2, 1300, 1290, 1305, 1310, 1285, 4000000, Fault::ResetMidBody},
    {"sh999008", "含空字节", 2, 1400, 1390, 1405, 1410, 1385, 5000000, Fault::NulInside},
    {"sh999009", "空字节开头", 2, 1500, 1490, 1505, 1510, 1485, 6000000, Fault::NulFirst},
    {"sh999010", "整二五六", 2, 1600, 1590, 1605, 1610, 1585, 7000000, Fault::Exactly256},
    {"sh999011", "长度偏短", 2, 1700, 1690, 1705, 1710, 1685, 8000000, Fault::LengthShorter},
    {"sh999012", "长度偏长", 2, 1800, 1790, 1805, 1810, 1785, 9000000, Fault::LengthLonger},
    {"sh999013", "孤立前导", 2, 1900, 1890, 1905, 1910, 1885, 1100000, Fault::LoneLeadByte},
    {"sh999014", "慢速回答", 2, 2000, 1990, 2005, 2010, 1985, 1200000, Fault::Slow},
    {"sh999015", "中途停顿", 2, 2100, 2090, 2105, 2110, 2085, 1300000, Fault::StallMidBody},
    {"sh999016", "旧式回答", 2, 2200, 2190, 2205, 2210, 2185, 1400000, Fault::Http09},
    {"sh999017", "分块损坏", 2, 2300, 2290, 2305, 2310, 2285, 1500000, Fault::BrokenChunking},
    {"sh999018", "万国码", 2, 2400, 2390, 2405, 2410, 2385, 1550000, Fault::Utf8Name},
    {"sh999101", "图为网页", 2, 3100, 3090, 3105, 3110, 3085, 1600000, Fault::None, Fault::HtmlPage},
    {"sh999102", "图四零四", 2, 3200, 3190, 3205, 3210, 3185, 1700000, Fault::None, Fault::ErrorPage404},
    {"sh999103", "图被截断", 2, 3300, 3290, 3305, 3310, 3285, 1800000, Fault::None, Fault::TruncatedGif},
    {"sh999104", "图为乱码", 2, 3400, 3390, 3405, 3410, 3385, 1900000, Fault::None, Fault::BogusLarge},
    {"sh999105", "图慢速", 2, 3500, 3490, 3505, 3510, 3485, 2100000, Fault::None, Fault::Slow},
    {"sh999106", "图为空", 2, 3600, 3590, 3605, 3610, 3585, 2200000, Fault::None, Fault::EmptyBody},
    {"sh999107", "图无回应", 2, 3700, 3690, 3705, 3710, 3685, 2300000, Fault::None, Fault::NoReply},
};

const char kDate[] = "2024-05-17";
const char kTime[] = "15:00:03";

// Order book volumes: lots of 100 shares, fixed per symbol and level.
std::int64_t bookVolume(const Share& share, int level) {
    std::uint32_t h = 2166136261u;
    for (const char* p = share.symbol; *p; ++p) h = (h ^ static_cast<unsigned char>(*p)) * 16777619u;
    h = (h ^ static_cast<std::uint32_t>(level)) * 16777619u;
    return static_cast<std::int64_t>(h % 2000 + 1) * 100;
}

std::int64_t pow10(int n) {
    std::int64_t p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

}  // namespace

const std::vector<Share>& shares() { return kShares; }

const Share* findShare(std::string_view symbol) {
    for (const Share& s : kShares)
        if (symbol == s.symbol) return &s;
    return nullptr;
}

std::string formatPrice(std::int64_t units, int decimals) {
    std::string whole = std::to_string(units / pow10(decimals));
    if (decimals == 0) return whole;
    std::string fraction = std::to_string(units % pow10(decimals));
    return whole + "." + std::string(decimals - fraction.size(), '0') + fraction;
}

std::string toGbk(std::string_view utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert UTF-8 to GBK");
    std::string in(utf8);
    std::string out(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1)) throw std::runtime_error("not writable in GBK: " + in);
    out.resize(out.size() - outLeft);
    return out;
}

std::string quoteLine(const Share& share, std::size_t amountPadding) {
    const int d = share.decimals;
    auto price = [d](std::int64_t units) { return formatPrice(units, d); };
    // The day's turnover at about the mean of the day's four prices, in yuan with three decimals.
    const std::int64_t meanUnits = (share.open + share.high + share.low + share.price) / 4;
    const std::int64_t amountMilli = share.volume * meanUnits * 1000 / pow10(d);
    std::string amount = formatPrice(amountMilli, 3) + std::string(amountPadding, '0');

    std::string line = "var hq_str_" + std::string(share.symbol) + "=\"" + toGbk(share.name);
    for (std::int64_t units : {share.open, share.previousClose, share.price, share.high, share.low,
                               share.price, share.price + 1})
        line += "," + price(units);
    line += "," + std::to_string(share.volume) + "," + amount;
    for (int level = 1; level <= 5; ++level)
        line += "," + std::to_string(bookVolume(share, level)) + "," + price(share.price - (level - 1));
    for (int level = 1; level <= 5; ++level)
        line += "," + std::to_string(bookVolume(share, 5 + level)) + "," + price(share.price + level);
    line += std::string(",") + kDate + "," + kTime + ",00\";\n";
    return line;
}

std::string emptyQuoteLine(std::string_view symbol) {
    return "var hq_str_" + std::string(symbol) + "=\"\";\n";
}

std::string quoteAnswer(std::string_view symbols) {
    std::string answer;
    for (;;) {
        std::size_t comma = symbols.find(',');
        std::string_view symbol = symbols.substr(0, comma);
        const Share* share = findShare(symbol);
        answer += share ? quoteLine(*share) : emptyQuoteLine(symbol);
        if (comma == std::string_view::npos) break;
        symbols.remove_prefix(comma + 1);
    }
    return answer;
}

}  // namespace standin
