#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace win {

// What screen readers are told about our controls beyond what the system
// infers. Windows names an edit control after the static text just above it
// in z-order, and our labels lie beneath every other control, so each text box
// is named here instead (dynamic annotation leaves the z-order alone). Does
// nothing where the annotation service is missing.
class Annotations {
public:
    Annotations();
    ~Annotations();
    Annotations(const Annotations&) = delete;
    Annotations& operator=(const Annotations&) = delete;

    void setName(HWND hwnd, const std::wstring& name);
    void setRole(HWND hwnd, long role);
    // Before the windows go: the service keeps what it was told until then.
    void clear();

private:
    IAccPropServices* m_services = nullptr;
    std::vector<std::pair<HWND, MSAAPROPID>> m_set;
};

}  // namespace win
