#include "messages/messages.h"

#ifdef _WIN32

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace messages {
namespace {

// A catalogue as msgfmt writes it (a GNU .mo file), compiled into the program's
// resources under its language's name: Windows has no gettext, and a DLL beside
// the program is one more thing to lose from the zip. The header gives the
// number of messages and two tables of (length, offset) pairs, the originals'
// sorted byte for byte, the translations' in the same order.
class MoCatalogue {
public:
    MoCatalogue() = default;
    MoCatalogue(const unsigned char* data, std::uint32_t size) : m_data(data), m_size(size) {
        constexpr std::uint32_t kMagic = 0x950412de;  // as msgfmt writes it on x86
        if (word(0) != kMagic) m_size = 0;
    }

    const char* find(const char* english) const {
        const std::uint32_t originals = word(12);
        const std::uint32_t translations = word(16);
        std::uint32_t low = 0;
        std::uint32_t high = word(8);
        while (low < high) {
            const std::uint32_t mid = low + (high - low) / 2;
            const int order = std::strcmp(english, text(originals, mid));
            if (order == 0) return text(translations, mid);
            if (order < 0) {
                high = mid;
            } else {
                low = mid + 1;
            }
        }
        return english;
    }

private:
    std::uint32_t word(std::uint32_t at) const {
        if (m_size < 4 || at > m_size - 4) return 0;
        std::uint32_t value = 0;
        for (std::uint32_t i = 4; i-- > 0;) value = value << 8 | m_data[at + i];
        return value;
    }

    // Strings end in a NUL inside the file; one that would not is read as "".
    const char* text(std::uint32_t table, std::uint32_t index) const {
        const std::uint32_t length = word(table + 8 * index);
        const std::uint32_t offset = word(table + 8 * index + 4);
        if (offset >= m_size || length >= m_size - offset || m_data[offset + length] != 0)
            return "";
        return reinterpret_cast<const char*>(m_data + offset);
    }

    const unsigned char* m_data = nullptr;
    std::uint32_t m_size = 0;
};

MoCatalogue catalogue;
UINT userCodePage = 0;

void restoreCodePage() {
    SetConsoleOutputCP(userCodePage);
}

}  // namespace

void init() {
    // Every text goes out in UTF-8, the captions too: a console shows it as such
    // only while its output code page is UTF-8 (a Japanese one is 932). The
    // user's own page comes back when the program ends. Redirected output is
    // bytes, and no code page touches it.
    const UINT codePage = GetConsoleOutputCP();
    if (codePage != 0 && codePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
        userCodePage = codePage;
        std::atexit(restoreCodePage);
    }

    // The language of the menus and dialogs the user chose ("ja-JP"), by its
    // language alone: one catalogue serves every country.
    wchar_t name[LOCALE_NAME_MAX_LENGTH];
    if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                         LOCALE_NAME_MAX_LENGTH, 0) == 0) {
        return;
    }
    if (wchar_t* dash = std::wcschr(name, L'-')) *dash = L'\0';
    const HRSRC resource = FindResourceW(nullptr, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (resource == nullptr) return;
    const void* data = LockResource(LoadResource(nullptr, resource));
    if (data == nullptr) return;
    catalogue = MoCatalogue(static_cast<const unsigned char*>(data),
                            static_cast<std::uint32_t>(SizeofResource(nullptr, resource)));
}

const char* translate(const char* english) {
    return catalogue.find(english);
}

}  // namespace messages

#else

#include <clocale>
#include <string>

#include <libintl.h>
#include <unistd.h>

namespace messages {
namespace {

constexpr const char* kDomain = "manacalc";

}  // namespace

void init() {
    // Only the categories the messages need: numbers are read and written the
    // same way in every locale.
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_MESSAGES, "");
    // The catalogues lie at MANACALC_LOCALEDIR from the program's own folder
    // ("../share/locale"), in the build tree as wherever it was installed: a copy
    // installed under another prefix (cmake --install --prefix ~/.local) finds
    // its own. Without /proc, gettext's default is where Debian keeps them.
    char self[4096];
    const ssize_t size = readlink("/proc/self/exe", self, sizeof self);
    if (size > 0 && static_cast<std::size_t>(size) < sizeof self) {
        std::string dir(self, static_cast<std::size_t>(size));
        dir.erase(dir.rfind('/') + 1);
        dir += MANACALC_LOCALEDIR;
        bindtextdomain(kDomain, dir.c_str());
    }
}

const char* translate(const char* english) {
    return dgettext(kDomain, english);
}

}  // namespace messages

#endif

namespace messages {

std::string versionText(std::string_view program) {
    std::string text(program);
    text += " " MANACALC_VERSION "\n" MANACALC_COPYRIGHT "\n";
    text +=
        _("License: MIT <https://opensource.org/licenses/MIT>.\n"
          "This is free software: you are free to change and redistribute it.\n"
          "There is NO WARRANTY, to the extent permitted by law.\n");
    return text;
}

}  // namespace messages
