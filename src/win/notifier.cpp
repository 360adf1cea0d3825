#include "win/notifier.h"

#include <uiautomationcore.h>

namespace win {
namespace {

// UIAutomationCore's NotificationKind and NotificationProcessing, which
// mingw-w64's headers do not have yet: a finished calculation, and only the
// latest of several waiting to be spoken.
constexpr int kActionCompleted = 2;
constexpr int kMostRecent = 3;

template <typename Function>
void find(Function& function, HMODULE module, const char* name) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

Notifier::~Notifier() {
    if (m_uia != nullptr) FreeLibrary(m_uia);
    if (m_oleaut != nullptr) FreeLibrary(m_oleaut);
}

bool Notifier::load() {
    if (m_tried) return m_raise != nullptr;
    m_tried = true;
    m_uia = LoadLibraryW(L"uiautomationcore.dll");
    m_oleaut = LoadLibraryW(L"oleaut32.dll");
    if (m_uia == nullptr || m_oleaut == nullptr) return false;
    find(m_listening, m_uia, "UiaClientsAreListening");
    find(m_hostProvider, m_uia, "UiaHostProviderFromHwnd");
    find(m_allocString, m_oleaut, "SysAllocString");
    find(m_freeString, m_oleaut, "SysFreeString");
    if (m_listening != nullptr && m_hostProvider != nullptr && m_allocString != nullptr &&
        m_freeString != nullptr) {
        find(m_raise, m_uia, "UiaRaiseNotificationEvent");
    }
    return m_raise != nullptr;
}

void Notifier::notify(HWND window, const std::wstring& text) {
    if (!load() || !m_listening()) return;
    IRawElementProviderSimple* provider = nullptr;
    if (FAILED(m_hostProvider(window, &provider)) || provider == nullptr) return;
    BSTR display = m_allocString(text.c_str());
    BSTR activity = m_allocString(L"manacalc.results");
    m_raise(provider, kActionCompleted, kMostRecent, display, activity);
    m_freeString(activity);
    m_freeString(display);
    provider->Release();
}

}  // namespace win
