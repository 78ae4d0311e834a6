#include "message_box.h"

namespace vw::e2e {

namespace {
std::string ClassName(HWND window) {
    char name[64] = {};
    const int n = GetClassNameA(window, name, sizeof(name));
    return std::string(name, n > 0 ? n : 0);
}

struct Search {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // A box found before it is shown may not hold its text yet.
    if (owner == search->pid && IsWindowVisible(window) && ClassName(window) == "#32770") {
        search->found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK FindMessage(HWND child, LPARAM param) {
    auto* message = reinterpret_cast<std::string*>(param);
    if (ClassName(child) != "Static") return TRUE;
    *message = Title(child);
    return message->empty();
}

std::vector<HWND> ShownChildren(HWND box, const char* className) {
    struct Filter {
        const char* className;
        std::vector<HWND> found;
    } filter{className, {}};
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
            auto* f = reinterpret_cast<Filter*>(param);
            if (IsWindowVisible(child) && ClassName(child) == f->className) {
                f->found.push_back(child);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&filter));
    return filter.found;
}
}  // namespace

std::vector<HWND> BoxesOf(DWORD pid) {
    Search search{pid, {}};
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForBox(DWORD pid, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        const std::vector<HWND> boxes = BoxesOf(pid);
        if (!boxes.empty()) return boxes.front();
        if (GetTickCount64() >= deadline) return nullptr;
        Sleep(25);
    }
}

std::string Title(HWND window) {
    char text[512] = {};
    const int n = GetWindowTextA(window, text, sizeof(text));
    return std::string(text, n > 0 ? n : 0);
}

std::string BoxMessage(HWND box) {
    std::string message;
    EnumChildWindows(box, FindMessage, reinterpret_cast<LPARAM>(&message));
    return message;
}

std::vector<int> ButtonIds(HWND box) {
    std::vector<int> ids;
    for (HWND button : ShownChildren(box, "Button")) ids.push_back(GetDlgCtrlID(button));
    return ids;
}

bool ShowsIcon(HWND box) {
    for (HWND image : ShownChildren(box, "Static")) {
        const bool iconStyle = (GetWindowLongA(image, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        if (iconStyle && SendMessageA(image, STM_GETICON, 0, 0) != 0) return true;
    }
    return false;
}

bool PressOk(HWND box) {
    return PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace vw::e2e
