#include "win/fonts.h"

#include "win/text.h"

namespace win {
namespace {

// What Windows offers where the optional Japanese fonts are not installed.
constexpr std::string_view kPlatformFaces[] = {"Yu Gothic UI", "Meiryo UI", "MS UI Gothic"};

int CALLBACK familyFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool installed(std::string_view family) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    const std::wstring name = widen(family);
    if (name.size() >= LF_FACESIZE) return false;
    name.copy(wanted.lfFaceName, name.size());
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, familyFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// Points to pixels at this DPI, rounded as GDI rounds: the character height,
// hence negative.
HFONT gothic(double points, int weight, UINT dpi) {
    const int height = -MulDiv(static_cast<int>(points * 100), static_cast<int>(dpi), 7200);
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, windowFamily().c_str());
}

}  // namespace

const std::wstring& windowFamily() {
    static const std::wstring family = widen(ui::chooseFamily(installed, kPlatformFaces));
    return family;
}

Fonts::Fonts(UINT dpi)
    : m_default(gothic(ui::kDefaultPointSize, FW_NORMAL, dpi)),
      m_bold(gothic(ui::kBoldPointSize, FW_BOLD, dpi)) {}

Fonts::~Fonts() {
    DeleteObject(m_default);
    DeleteObject(m_bold);
}

}  // namespace win
