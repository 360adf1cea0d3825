#include "win/annotations.h"

#include <initguid.h>

#include <oleacc.h>

namespace win {

Annotations::Annotations() {
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&m_services)))) {
        m_services = nullptr;
    }
}

Annotations::~Annotations() {
    clear();
    if (m_services != nullptr) m_services->Release();
}

void Annotations::setName(HWND hwnd, const std::wstring& name) {
    if (m_services == nullptr) return;
    if (SUCCEEDED(m_services->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                             PROPID_ACC_NAME, name.c_str()))) {
        m_set.emplace_back(hwnd, PROPID_ACC_NAME);
    }
}

void Annotations::setRole(HWND hwnd, long role) {
    if (m_services == nullptr) return;
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = role;
    if (SUCCEEDED(m_services->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                          PROPID_ACC_ROLE, value))) {
        m_set.emplace_back(hwnd, PROPID_ACC_ROLE);
    }
}

void Annotations::clear() {
    for (auto& [hwnd, property] : m_set) {
        m_services->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &property,
                                   1);
    }
    m_set.clear();
}

}  // namespace win
