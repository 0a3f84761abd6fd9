#pragma once
// The skeleton every window class of the program shares. The window
// procedure only finds the C++ object behind a window and hands it the
// message; the object's HandleMessage is a router whose cases each call one
// named handler, and the handlers call code that can be tested on its own.
//
// A derived window provides:
//   static constexpr const char* kClassName;
//   LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
#include <windows.h>

#include <cstddef>

namespace kelvary {

// The module whose resources (icon, menu, version) the windows use.
inline HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

template <class Derived>
class BaseWindow {
 public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  // Null before creation and again once the window is destroyed.
  HWND Window() const { return hwnd_; }

 protected:
  // The derived class destroys its window in its own destructor, while
  // the messages of that destruction can still reach it.
  ~BaseWindow() = default;

  // Registers the class on first use. Returns false when that fails.
  static bool RegisterWindowClass(HICON big_icon, HICON small_icon) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(ProgramInstance(), Derived::kClassName, &existing)) return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &BaseWindow::WindowProc;
    wc.hInstance = ProgramInstance();
    wc.hIcon = big_icon;
    wc.hIconSm = small_icon;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = Derived::kClassName;
    return RegisterClassExA(&wc) != 0;
  }

  // Creates the window of this object; WM_NCCREATE ties the two together.
  // A dialog passes its owner, which it stays in front of.
  bool CreateWindowOfClass(const char* title, DWORD style, DWORD ex_style, HMENU menu,
                           HWND owner = nullptr) {
    CreateWindowExA(ex_style, Derived::kClassName, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, owner, menu, ProgramInstance(),
                    static_cast<Derived*>(this));
    return hwnd_ != nullptr;
  }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Derived* self = message == WM_NCCREATE ? Attach(hwnd, lparam) : Lookup(hwnd);
    if (!self) return DefWindowProcA(hwnd, message, wparam, lparam);
    const LRESULT result = self->HandleMessage(message, wparam, lparam);
    if (message == WM_NCDESTROY) Detach(hwnd, self);
    return result;
  }

  static Derived* Attach(HWND hwnd, LPARAM lparam) {
    auto* self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
  }

  static Derived* Lookup(HWND hwnd) {
    return reinterpret_cast<Derived*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }

  // From here on the object no longer has a window: Window() says so.
  static void Detach(HWND hwnd, Derived* self) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
};

// One WM_COMMAND route: the control or menu id, the notification code
// (BN_CLICKED, EN_SETFOCUS...; menu items send 0, as BN_CLICKED is) and the
// handler. A window lists its routes in a table instead of a switch.
template <class Derived>
struct CommandRoute {
  int id;
  int code;
  void (Derived::*handler)();
};

// Calls the handler routed to this WM_COMMAND. Returns false when none is.
template <class Derived, std::size_t N>
bool RouteCommand(Derived& window, const CommandRoute<Derived> (&routes)[N], WPARAM wparam) {
  for (const CommandRoute<Derived>& route : routes) {
    if (route.id == LOWORD(wparam) && route.code == HIWORD(wparam)) {
      (window.*route.handler)();
      return true;
    }
  }
  return false;
}

}  // namespace kelvary
