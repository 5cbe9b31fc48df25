// The real WinINet fetch and OLE picture loading under Wine, against the stand-in service that
// ctest starts on the ports of this build's stock-local.exe: what the window tests cannot tell.
#include <windows.h>

#include <gtest/gtest.h>

#include "stock/WebTextFetch.h"
#include "stock/win32/PlatformServices.h"

namespace {

using namespace stock;

const std::wstring kQuotes = QUORVANE_LOCAL_QUOTE_BASE;
const std::wstring kCharts = QUORVANE_LOCAL_CHART_BASE;

std::wstring fetch(const std::wstring& url) {
    win32::WinInetApi internet;
    win32::SystemCodePages text;
    return fetchWebText(internet, text, url, "");
}

// A character whose two bytes arrive in two reads is decoded whole: the text is decoded once.
TEST(QuoteFetch, DecodesACharacterSplitAcrossTwoReads) {
    ASSERT_EQ(GetACP(), 936u);
    // The stand-in puts the 银 of 浦发银行 across the first 256-byte read of this one.
    EXPECT_NE(fetch(kQuotes + L"/list=sh601398,sh600000").find(L"浦发银行,10.20"), std::wstring::npos);
}

// What a chart is made of; the charts that are no picture are the window tests' (HostileAnswer).
TEST(ChartPicture, LoadsAGifOverHttpAtItsSizeForTheScreensDpi) {
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

    // The file loader behind it cannot open an address: no picture, and no harm.
    EXPECT_EQ(pictures.loadPictureFile(kCharts + L"/newchart/daily/n/sh600000.gif"), nullptr);
}

}  // namespace
