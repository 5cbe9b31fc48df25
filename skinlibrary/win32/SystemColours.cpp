#include "skinlibrary/win32/SystemColours.h"

#include <tlhelp32.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "ui/win32/Owners.h"
#include "ui/win32/WindowBasics.h"

namespace skin::win32 {
namespace {

// Which skin key answers for which of the system's colours; the rest stay the system's.
struct Mapping {
    int index;
    Colour (*colour)(const Skin&);
};
constexpr Mapping kMappings[] = {
    // Forms and dialogs are painted with the face colour under the system, with the window's under a skin.
    {COLOR_BTNFACE, [](const Skin& s) { return s.windowBackground; }},
    {COLOR_BTNTEXT, [](const Skin& s) { return s.windowText; }},
    {COLOR_BTNHIGHLIGHT, [](const Skin& s) { return lighten(s.windowBackground, 192); }},
    {COLOR_3DLIGHT, [](const Skin& s) { return s.buttonFace; }},
    {COLOR_BTNSHADOW, [](const Skin& s) { return s.buttonBorder; }},
    {COLOR_3DDKSHADOW, [](const Skin& s) { return s.windowBorder; }},
    {COLOR_HIGHLIGHT, [](const Skin& s) { return s.listSelection; }},
    {COLOR_HIGHLIGHTTEXT, [](const Skin& s) { return s.listSelectionText; }},
    {COLOR_WINDOW, [](const Skin& s) { return s.editBackground; }},
    {COLOR_WINDOWTEXT, [](const Skin& s) { return s.editText; }},
    {COLOR_WINDOWFRAME, [](const Skin& s) { return s.windowBorder; }},
    {COLOR_MENU, [](const Skin& s) { return s.windowBackground; }},
    {COLOR_MENUBAR, [](const Skin& s) { return s.windowBackground; }},
    {COLOR_MENUTEXT, [](const Skin& s) { return s.windowText; }},
    {COLOR_MENUHILIGHT, [](const Skin& s) { return s.listSelection; }},
    {COLOR_INFOBK, [](const Skin& s) { return s.buttonFace; }},
    {COLOR_INFOTEXT, [](const Skin& s) { return s.buttonText; }},
    {COLOR_ACTIVECAPTION, [](const Skin& s) { return s.captionActive; }},
    {COLOR_GRADIENTACTIVECAPTION, [](const Skin& s) { return s.captionActive; }},
    {COLOR_CAPTIONTEXT, [](const Skin& s) { return s.captionActiveText; }},
    {COLOR_INACTIVECAPTION, [](const Skin& s) { return s.captionInactive; }},
    {COLOR_GRADIENTINACTIVECAPTION, [](const Skin& s) { return s.captionInactive; }},
    {COLOR_INACTIVECAPTIONTEXT, [](const Skin& s) { return s.captionInactiveText; }},
    {COLOR_ACTIVEBORDER, [](const Skin& s) { return s.windowBorder; }},
    {COLOR_INACTIVEBORDER, [](const Skin& s) { return s.windowBorder; }},
};
constexpr int kIndexes = COLOR_MENUBAR + 1;

// The colours and brushes of one skin, made whole before the host's calls can see them.
class Palette {
public:
    explicit Palette(const Skin& skin) {
        for (const Mapping& mapping : kMappings) {
            const Colour colour = mapping.colour(skin);
            covered_[mapping.index] = true;
            colours_[mapping.index] = colour;
            brushes_[mapping.index].reset(CreateSolidBrush(colour));
        }
    }

    bool covers(int index) const { return index >= 0 && index < kIndexes && covered_[index]; }
    COLORREF colour(int index) const { return colours_[index]; }
    HBRUSH brush(int index) const { return brushes_[index].get(); }
    bool owns(HBRUSH brush) const {
        for (const auto& owned : brushes_) {
            if (brush != nullptr && owned.get() == brush) return true;
        }
        return false;
    }

private:
    std::array<bool, kIndexes> covered_{};
    std::array<COLORREF, kIndexes> colours_{};
    std::array<ui::win32::BrushHandle, kIndexes> brushes_;
};

// Read by the host's calls from any of its threads; changed only by the thread the engine serves.
std::atomic<const Palette*> current{nullptr};
std::unique_ptr<Palette> owned;

// This library's own calls are not redirected: they reach user32 itself.
DWORD WINAPI skinSysColor(int index) {
    const Palette* palette = current.load();
    return palette != nullptr && palette->covers(index) ? palette->colour(index) : GetSysColor(index);
}

HBRUSH WINAPI skinSysColorBrush(int index) {
    const Palette* palette = current.load();
    return palette != nullptr && palette->covers(index) ? palette->brush(index) : GetSysColorBrush(index);
}

struct Redirect {
    void* system;
    void* skin;
};

std::vector<Redirect> redirects() {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return {{reinterpret_cast<void*>(GetProcAddress(user32, "GetSysColor")), reinterpret_cast<void*>(&skinSysColor)},
            {reinterpret_cast<void*>(GetProcAddress(user32, "GetSysColorBrush")),
             reinterpret_cast<void*>(&skinSysColorBrush)}};
}

// One import slot pointed at the library's function, and what it held before.
struct Patch {
    HMODULE module;
    void** slot;
    void* original;
    void* replacement;
};
std::vector<Patch> patches;

bool write(void** slot, void* value) {
    DWORD protection = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) return false;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    return true;
}

bool sameAsciiName(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        const char lowerA = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        const char lowerB = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (lowerA != lowerB) return false;
    }
    return *a == *b;
}

// The module's import slots for user32 that hold one of the system's functions redirected. The
// headers are those of the process's own machine type, as every module loaded in it is.
void redirectImports(HMODULE module, const std::vector<Redirect>& wanted) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return;
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (headers->Signature != IMAGE_NT_SIGNATURE ||
        headers->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC ||
        headers->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT) {
        return;
    }
    const IMAGE_DATA_DIRECTORY& directory = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0 || directory.Size == 0) return;
    for (auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name != 0; ++import) {
        if (!sameAsciiName(reinterpret_cast<const char*>(base + import->Name), "user32.dll")) continue;
        for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk); thunk->u1.Function != 0;
             ++thunk) {
            auto** slot = reinterpret_cast<void**>(&thunk->u1.Function);
            for (const Redirect& redirect : wanted) {
                if (redirect.system == nullptr || *slot != redirect.system) continue;
                if (write(slot, redirect.skin)) patches.push_back({module, slot, redirect.system, redirect.skin});
            }
        }
    }
}

bool startsWithFolder(const wchar_t* path, const std::wstring& folder) {
    return !folder.empty() && CompareStringOrdinal(path, static_cast<int>(folder.size()), folder.c_str(),
                                                   static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

// The host's modules: every one loaded but this library and the system's own.
std::vector<HMODULE> hostModules() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&skinSysColor), &self);
    const std::wstring system = ui::win32::platformFolder(GetSystemDirectoryW);
    const std::wstring windows = ui::win32::platformFolder(GetWindowsDirectoryW);
    std::vector<HMODULE> modules;
    const ui::win32::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0));
    if (!snapshot.valid()) return modules;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32FirstW(snapshot.get(), &entry); more; more = Module32NextW(snapshot.get(), &entry)) {
        if (entry.hModule == self || startsWithFolder(entry.szExePath, system) ||
            startsWithFolder(entry.szExePath, windows)) {
            continue;
        }
        modules.push_back(entry.hModule);
    }
    return modules;
}

// Whether the slot still lies in the module it was found in: a module unloaded since is left be.
bool stillLoaded(const Patch& patch) {
    HMODULE holder = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(patch.slot), &holder) &&
           holder == patch.module;
}

}  // namespace

void followSkinInSystemColours(const Skin& skin) {
    auto palette = std::make_unique<Palette>(skin);
    current.store(palette.get());
    owned = std::move(palette);  // the brushes of the skin before go here
    const std::vector<Redirect> wanted = redirects();
    for (HMODULE module : hostModules()) redirectImports(module, wanted);
}

void giveSystemColoursBack() {
    for (const Patch& patch : patches) {
        // A slot another hook has taken since keeps that hook.
        if (stillLoaded(patch) && *patch.slot == patch.replacement) write(patch.slot, patch.original);
    }
    patches.clear();
    current.store(nullptr);
    owned.reset();
}

bool isSkinSystemBrush(HBRUSH brush) {
    const Palette* palette = current.load();
    return palette != nullptr && palette->owns(brush);
}

}  // namespace skin::win32
