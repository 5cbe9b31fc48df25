// The real WinINet fetch and OLE picture loading under Wine, against the stand-in service that
// ctest starts on 127.0.0.1:18080 (quotes) and 18081 (charts).
#include <windows.h>

#include <gtest/gtest.h>

#include "stock/Form1.h"
#include "stock/WebTextFetch.h"
#include "stock/win32/PlatformServices.h"

namespace {

using namespace stock;

const std::wstring kQuotes = L"http://127.0.0.1:18080";
const std::wstring kCharts = L"http://127.0.0.1:18081";

std::wstring fetch(const std::wstring& url) {
    win32::WinInetApi internet;
    win32::CodePageText text;
    return fetchWebText(internet, text, url, "");
}

std::size_t count(const std::wstring& text, const std::wstring& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++found;
    return found;
}

TEST(QuoteFetch, DecodesTheGbkNameOfAQuote) {
    ASSERT_EQ(GetACP(), 936u);
    const std::wstring answer = fetch(kQuotes + L"/list=sh600000");
    EXPECT_EQ(answer.rfind(L"var hq_str_sh600000=\"浦发银行,10.20,10.18,10.25,10.30,10.15,", 0), 0u);
    EXPECT_EQ(answer.substr(answer.size() - 25), L"2024-05-17,15:00:03,00\";\n");
}

TEST(QuoteFetch, ReadsALongAnswerWholeAcrossManyReads) {
    // The stand-in puts the 银 of 浦发银行 across the first 256-byte read of this one.
    EXPECT_NE(fetch(kQuotes + L"/list=sh601398,sh600000").find(L"浦发银行,10.20"), std::wstring::npos);
    const std::wstring answer =
        fetch(kQuotes + L"/list=sz000001,sh600000,sz300750,sh601318,sz000858,sh688981,sz200596,sz159915,sh600519,"
                        L"sz000002,sh601398,sz002594");
    EXPECT_GT(answer.size(), 1000u);
    EXPECT_EQ(count(answer, L"var hq_str_"), 12u);
    for (const wchar_t* name : {L"平安银行", L"宁德时代", L"中芯国际", L"古井贡Ｂ", L"贵州茅台", L"比亚迪"}) {
        EXPECT_NE(answer.find(name), std::wstring::npos) << "a name came out garbled";
    }
    EXPECT_EQ(answer.find(L'\uFFFD'), std::wstring::npos);
}

TEST(QuoteFetch, FaultsEndWithWhatArrived) {
    // An error page reads like any body.
    EXPECT_NE(fetch(kQuotes + L"/list=sh999001").find(L"404"), std::wstring::npos);
    // A NUL byte ends the text.
    const std::wstring withNul = fetch(kQuotes + L"/list=sh999008");
    EXPECT_FALSE(withNul.empty());
    EXPECT_EQ(withNul.find(L'\0'), std::wstring::npos);
    // A lone lead byte before a comma keeps the comma: every field stays where it was.
    const std::wstring lone = fetch(kQuotes + L"/list=sh999013");
    EXPECT_NE(lone.find(L"?,19.00,18.90,19.05,"), std::wstring::npos);
    // A connection closed mid-body gives the part that arrived.
    const std::wstring partial = fetch(kQuotes + L"/list=sh999006");
    EXPECT_EQ(partial.rfind(L"var hq_str_sh999006=\"", 0), 0u);
}

TEST(QuoteFetch, AnEndlessBodyIsCutAtOneMebibyte) {
    const DWORD start = GetTickCount();
    const std::wstring endless = fetch(kQuotes + L"/list=sh999005");
    EXPECT_GT(endless.size(), 500000u);
    EXPECT_LE(endless.size(), kMaxBodyBytes);
    EXPECT_LT(GetTickCount() - start, 30000u);
}

TEST(QuoteFetch, AClosedPortGivesEmptyTextAtOnce) {
    const DWORD start = GetTickCount();
    EXPECT_EQ(fetch(L"http://127.0.0.1:1/list=sh600000"), L"");
    EXPECT_LT(GetTickCount() - start, 5000u);
}

TEST(ChartPicture, LoadsAGifOverHttpAndNothingFromAPageThatIsNoPicture) {
    ui::win32::LazyLibrary oleaut32{L"oleaut32.dll"};
    win32::OlePictureService pictures{oleaut32};
    PictureRef chart;
    ASSERT_EQ(pictures.loadPicturePath(kCharts + L"/newchart/daily/n/sh600000.gif", chart),
              PictureService::Outcome::Called);
    ASSERT_NE(chart, nullptr);
    // Its own size at 96 dots per inch, and half as large again at 144.
    const auto& picture = static_cast<win32::OlePicture&>(*chart);
    EXPECT_NEAR(picture.pixelSize(96, 96).cx, 545, 1);
    EXPECT_NEAR(picture.pixelSize(96, 96).cy, 300, 1);
    EXPECT_NEAR(picture.pixelSize(144, 144).cx, 818, 1);
    EXPECT_NEAR(picture.pixelSize(144, 144).cy, 450, 1);

    PictureRef none;
    EXPECT_EQ(pictures.loadPicturePath(kCharts + L"/newchart/daily/n/sh999101.gif", none),
              PictureService::Outcome::Called);
    EXPECT_EQ(none, nullptr);
    // An empty answer is no chart either, though the platform makes an empty picture of it.
    EXPECT_EQ(pictures.loadPicturePath(kCharts + L"/newchart/daily/n/sh999106.gif", none),
              PictureService::Outcome::Called);
    EXPECT_EQ(none, nullptr);
    // The file loader behind it cannot open an address: no picture, and no harm.
    EXPECT_EQ(pictures.loadPictureFile(kCharts + L"/newchart/daily/n/sh600000.gif"), nullptr);
}

}  // namespace
