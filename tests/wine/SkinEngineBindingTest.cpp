// The binding against our own library under Wine: loaded only when first needed, every function
// reached by its export name, every argument arriving intact (read back from the library's trace).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "skinengine/win32/SkinEngineLibrary.h"

namespace {

std::string ansi(const wchar_t* text) {
    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), length, nullptr, nullptr);
    result.pop_back();
    return result;
}

std::string readFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SkinEngineBinding, EveryFunctionIsReachedByNameWithItsArgumentsIntact) {
    ASSERT_EQ(GetACP(), 936u) << "the tests need the Simplified-Chinese code page";
    wchar_t directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    std::wstring trace = std::wstring(directory) + L"skinh-binding-trace.txt";
    DeleteFileW(trace.c_str());
    SetEnvironmentVariableW(L"SKINH_TRACE", trace.c_str());

    skinengine::SkinEngineLibrary skin;
    EXPECT_EQ(GetModuleHandleW(L"SkinH_VB6.dll"), nullptr) << "nothing is loaded before the first call";

    skin.SkinH_Attach();
    EXPECT_NE(GetModuleHandleW(L"SkinH_VB6.dll"), nullptr);
    skin.SkinH_AttachEx(ansi(L"C:\\皮肤\\蓝色 天空.she"), "");
    skin.SkinH_SetAero(1);
    skin.SkinH_SetWindowAlpha(0xFEDCBA98u, 200);
    skin.SkinH_SetWindowAlpha(0x00010002u, 255);
    skin.SkinH_SetAero(0);
    skin.SkinH_Detach();
    skin.SkinH_DetachEx(0xFEDCBA98u);

    EXPECT_EQ(readFile(trace),
              "SkinH_Attach()\n"
              "SkinH_AttachEx(\"C:\\皮肤\\蓝色 天空.she\", \"\")\n"
              "  C:\\皮肤\\蓝色 天空.she: SkinH_VB6 refused this skin: cannot open the file (error 3)\n"
              "SkinH_SetAero(1)\n"
              "SkinH_SetWindowAlpha(0xFEDCBA98, 200)\n"
              "SkinH_SetWindowAlpha(0x00010002, 255)\n"
              "SkinH_SetAero(0)\n"
              "SkinH_Detach()\n"
              "SkinH_DetachEx(0xFEDCBA98)\n");
    SetEnvironmentVariableW(L"SKINH_TRACE", nullptr);
    DeleteFileW(trace.c_str());
}

TEST(SkinEngineBinding, OurLibraryExportsPlainNames) {
    HMODULE library = LoadLibraryW(L"SkinH_VB6.dll");
    ASSERT_NE(library, nullptr);
    for (const char* name : {"SkinH_Attach", "SkinH_AttachEx", "SkinH_Detach", "SkinH_DetachEx", "SkinH_SetAero",
                             "SkinH_SetWindowAlpha"}) {
        EXPECT_NE(GetProcAddress(library, name), nullptr) << name;
    }
    EXPECT_EQ(GetProcAddress(library, "SkinH_AttachEx@8"), nullptr) << "no decorated names";
}

}  // namespace
