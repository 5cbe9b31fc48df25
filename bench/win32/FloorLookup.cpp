// floor-lookup.exe: the lookup floor. The least a program can do to look a share up the way stock
// does, so that the bench measures both alike, from Enter to what the screen shows: a code box, a
// line of text and a picture. Enter in the code box makes the same two requests a lookup makes,
// the quote text through WinINet in 256-byte reads and the chart through OLE's picture loader,
// shows the answer and draws the chart. No skin, fonts, colours or design.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <wininet.h>

#include <string>

#include "bench/win32/FloorLookup.h"
#include "stock/QuoteLookup.h"

namespace {

HWND codeBox = nullptr;
HWND answerText = nullptr;
HWND chart = nullptr;
IPicture* picture = nullptr;

std::string fetchText(const std::wstring& address) {
    std::string received;
    HINTERNET internet = InternetOpenA("floor", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (internet == nullptr) return received;
    const std::string narrow(address.begin(), address.end());
    if (HINTERNET file = InternetOpenUrlA(internet, narrow.c_str(), nullptr, 0, INTERNET_FLAG_NO_CACHE_WRITE, 0)) {
        char buffer[256];
        DWORD count = 0;
        while (InternetReadFile(file, buffer, sizeof buffer, &count) && count > 0) received.append(buffer, count);
        InternetCloseHandle(file);
    }
    InternetCloseHandle(internet);
    return received;
}

void lookUp() {
    wchar_t code[16] = {};
    GetWindowTextW(codeBox, code, 16);
    const std::wstring symbol = stock::marketPrefix(code) + code;
    const std::string answer = fetchText(stock::quoteAddress(QUORVANE_LOCAL_QUOTE_BASE, symbol));
    wchar_t text[1024] = {};
    MultiByteToWideChar(936, 0, answer.data(), static_cast<int>(answer.size()), text, 1023);
    SetWindowTextW(answerText, text);

    if (picture != nullptr) picture->Release();
    picture = nullptr;
    std::wstring address = stock::chartAddress(QUORVANE_LOCAL_CHART_BASE, L"min", symbol);
    OleLoadPicturePath(address.data(), nullptr, 0, 0, IID_IPicture, reinterpret_cast<void**>(&picture));
    InvalidateRect(chart, nullptr, TRUE);
}

void drawChart(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (picture == nullptr) return;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    const int pixelsWide = MulDiv(width, GetDeviceCaps(item.hDC, LOGPIXELSX), 2540);
    const int pixelsHigh = MulDiv(height, GetDeviceCaps(item.hDC, LOGPIXELSY), 2540);
    picture->Render(item.hDC, 0, 0, pixelsWide, pixelsHigh, 0, height, width, -height, nullptr);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) lookUp();  // Enter, through the dialog keys
        return 0;
    case WM_DRAWITEM:
        drawChart(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    OleInitialize(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = bench::kFloorLookupClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 600, 420, nullptr, nullptr, instance, nullptr);
    auto child = [&](const wchar_t* className, DWORD style, int id, int top, int width, int height) {
        return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 8, top, width, height, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    codeBox = child(L"EDIT", WS_TABSTOP | WS_BORDER, bench::kFloorCodeBox, 8, 100, 22);
    answerText = child(L"STATIC", SS_LEFTNOWORDWRAP, bench::kFloorAnswer, 36, 560, 18);
    chart = child(L"STATIC", SS_OWNERDRAW, bench::kFloorChart, 60, 545, 300);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    SetFocus(codeBox);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (picture != nullptr) picture->Release();
    OleUninitialize();
    return 0;
}
