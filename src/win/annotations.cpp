#include "win/annotations.h"

#include <algorithm>

#include <initguid.h>

#include <oleacc.h>
#include <uiautomationcore.h>

#include "win/text.h"

namespace win {
namespace {

template <typename Function>
Function function(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool screenReader() {
    BOOL reader = FALSE;
    SystemParametersInfoW(SPI_GETSCREENREADER, 0, &reader, 0);
    return reader != FALSE;
}

}  // namespace

Annotations::~Annotations() {
    clear();
    if (m_services != nullptr) m_services->Release();
    if (m_initialized) {
        function<void(WINAPI*)()>(m_ole, "CoUninitialize")();
    }
    if (m_ole != nullptr) FreeLibrary(m_ole);
}

bool Annotations::load() {
    if (m_tried) return m_services != nullptr;
    m_tried = true;
    m_ole = LoadLibraryW(L"ole32.dll");
    if (m_ole == nullptr) return false;
    using Initialize = HRESULT(WINAPI*)(LPVOID, DWORD);
    using Create = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    const auto initialize = function<Initialize>(m_ole, "CoInitializeEx");
    const auto create = function<Create>(m_ole, "CoCreateInstance");
    if (initialize == nullptr || create == nullptr) return false;
    // Another apartment kind already set up on this thread serves as well.
    m_initialized = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                      reinterpret_cast<void**>(&m_services)))) {
        m_services = nullptr;
    }
    return m_services != nullptr;
}

void Annotations::setName(HWND hwnd, const std::wstring& name) {
    if (!load()) return;
    if (SUCCEEDED(m_services->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                             PROPID_ACC_NAME, name.c_str()))) {
        remember(hwnd, PROPID_ACC_NAME);
    }
}

void Annotations::setRole(HWND hwnd, long role) {
    if (!load()) return;
    VARIANT value{};
    value.vt = VT_I4;
    value.lVal = role;
    if (SUCCEEDED(m_services->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                          PROPID_ACC_ROLE, value))) {
        remember(hwnd, PROPID_ACC_ROLE);
    }
}

void Annotations::setDescription(HWND hwnd, const std::wstring& description) {
    if (!load()) return;
    MSAAPROPID property = PROPID_ACC_DESCRIPTION;
    if (description.empty()) {
        m_services->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &property,
                                   1);
    } else if (SUCCEEDED(m_services->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                                    CHILDID_SELF, property, description.c_str()))) {
        remember(hwnd, property);
    }
}

// Once each: a description comes and goes with every error note.
void Annotations::remember(HWND hwnd, MSAAPROPID property) {
    const std::pair<HWND, MSAAPROPID> set{hwnd, property};
    if (std::find(m_set.begin(), m_set.end(), set) == m_set.end()) m_set.push_back(set);
}

void Annotations::clear() {
    for (auto& [hwnd, property] : m_set) {
        m_services->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &property,
                                   1);
    }
    m_set.clear();
}

void WindowAnnotations::asked(HWND note) {
    if (!m_named) {
        m_named = true;
        for (std::size_t i = 0; i < ui::kControls.size(); ++i) {
            if (ui::kControls[i].kind == ui::Kind::TextBox) {
                m_annotations.setName(m_controls[i], widen(ui::kControls[i].accessibleName));
            }
        }
    }
    if (!m_noteRole && note != nullptr) {
        m_noteRole = true;
        m_annotations.setRole(note, ROLE_SYSTEM_ALERT);
    }
}

// The reader asks for the alert's role once the message that showed it is
// handled.
void WindowAnnotations::alert(HWND note) {
    NotifyWinEvent(EVENT_SYSTEM_ALERT, note, OBJID_CLIENT, CHILDID_SELF);
    if (screenReader()) asked(note);
}

void WindowAnnotations::describe(ui::Control at, const std::wstring& text) {
    if (m_named || screenReader()) m_annotations.setDescription(m_controls[at], text);
}

void notify(HWND window, const std::wstring& text) {
    using Listening = BOOL(WINAPI*)();
    using HostProvider = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
    using Raise = HRESULT(WINAPI*)(IRawElementProviderSimple*, int, int, BSTR, BSTR);
    using AllocString = BSTR(WINAPI*)(const OLECHAR*);
    using FreeString = void(WINAPI*)(BSTR);
    // From the system's folder only: the program may stand in any folder,
    // beside whatever a download put there.
    static const HMODULE uia =
        LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    static const HMODULE oleaut =
        LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    static const auto listening = function<Listening>(uia, "UiaClientsAreListening");
    static const auto hostProvider = function<HostProvider>(uia, "UiaHostProviderFromHwnd");
    static const auto raise = function<Raise>(uia, "UiaRaiseNotificationEvent");
    static const auto allocString = function<AllocString>(oleaut, "SysAllocString");
    static const auto freeString = function<FreeString>(oleaut, "SysFreeString");
    if (raise == nullptr || listening == nullptr || hostProvider == nullptr ||
        allocString == nullptr || freeString == nullptr || !listening()) {
        return;
    }
    IRawElementProviderSimple* provider = nullptr;
    if (FAILED(hostProvider(window, &provider)) || provider == nullptr) return;
    // NotificationKind_ActionCompleted, NotificationProcessing_MostRecent:
    // mingw-w64's headers do not have them yet.
    constexpr int kActionCompleted = 2;
    constexpr int kMostRecent = 3;
    BSTR display = allocString(text.c_str());
    BSTR activity = allocString(L"manacalc.results");
    raise(provider, kActionCompleted, kMostRecent, display, activity);
    freeString(activity);
    freeString(display);
    provider->Release();
}

}  // namespace win
