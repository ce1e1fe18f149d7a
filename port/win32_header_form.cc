// The Cabrillo header form as a modal dialog (resource 101) with two-way data
// exchange: edits show and give back their text; a combo box shows the first
// list item that begins with its text (any case), else the text itself, and
// gives back the text of its edit field. The combo lists come from the
// dialog's init data (resource type 240, id 101), as the resource stores them.

#include <cstring>

#include "port/platform_win32.h"
#include "port/win32_api.h"
#include "resources/velkaro_ids.h"

namespace velkaro {
namespace {

enum class Kind { kEdit, kCombo };

struct Binding {
  int id;
  Kind kind;
  std::string HeaderFormFields::*field;
};

// In the order of the form's data exchange.
constexpr Binding kBindings[] = {
    {IDC_CALLSIGN, Kind::kEdit, &HeaderFormFields::callsign},
    {IDC_CLAIMED, Kind::kEdit, &HeaderFormFields::claimed},
    {IDC_CLUB, Kind::kEdit, &HeaderFormFields::club},
    {IDC_CATEGORY_OPERATOR, Kind::kCombo, &HeaderFormFields::category_operator},
    {IDC_CONTEST, Kind::kEdit, &HeaderFormFields::contest},
    {IDC_EMAIL, Kind::kEdit, &HeaderFormFields::email},
    {IDC_NAME, Kind::kEdit, &HeaderFormFields::name},
    {IDC_OPERATORS, Kind::kEdit, &HeaderFormFields::operators},
    {IDC_SOAPBOX, Kind::kEdit, &HeaderFormFields::soapbox},
    {IDC_ADDRESS, Kind::kEdit, &HeaderFormFields::address},
    {IDC_CATEGORY_BAND, Kind::kCombo, &HeaderFormFields::category_band},
    {IDC_LOCATION, Kind::kEdit, &HeaderFormFields::location},
    {IDC_CATEGORY_TRANSMITTER, Kind::kCombo, &HeaderFormFields::category_transmitter},
    {IDC_CITY, Kind::kEdit, &HeaderFormFields::city},
    {IDC_POSTALCODE, Kind::kEdit, &HeaderFormFields::postal_code},
    {IDC_COUNTRY, Kind::kEdit, &HeaderFormFields::country},
    {IDC_CATEGORY_MODE, Kind::kCombo, &HeaderFormFields::category_mode},
};

struct HeaderForm {
  HeaderFormFields* fields;
};

// Records of WORD control id, WORD message, DWORD length, then `length`
// bytes; a zero id ends the list. Only "add a list item" is used.
void FillListsFromInitData(HWND dialog) {
  HMODULE module = static_cast<HMODULE>(win32::ResourceModule());
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(IDD_CABRILLO),
                                MAKEINTRESOURCEA(VELKARO_RT_DLGINIT));
  if (found == nullptr) return;
  HGLOBAL loaded = ::LoadResource(module, found);
  const auto* data = static_cast<const unsigned char*>(::LockResource(loaded));
  const size_t size = ::SizeofResource(module, found);
  if (data == nullptr) return;
  size_t at = 0;
  while (at + 8 <= size) {
    uint16_t id;
    uint16_t message;
    uint32_t length;
    std::memcpy(&id, data + at, 2);
    std::memcpy(&message, data + at + 2, 2);
    std::memcpy(&length, data + at + 4, 4);
    if (id == 0 || length > size - at - 8) break;
    const std::string item(reinterpret_cast<const char*>(data + at + 8),
                           strnlen(reinterpret_cast<const char*>(data + at + 8), length));
    if (message == VELKARO_DLGINIT_ADDSTRING) {
      ::SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(item.c_str()));
    }
    at += 8 + length;
  }
}

std::string ControlText(HWND dialog, int id) {
  HWND control = ::GetDlgItem(dialog, id);
  const int length = ::GetWindowTextLengthA(control);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int got = ::GetWindowTextA(control, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void ShowFields(HWND dialog, const HeaderFormFields& fields) {
  for (const Binding& binding : kBindings) {
    const std::string& text = fields.*binding.field;
    if (binding.kind == Kind::kCombo &&
        ::SendDlgItemMessageA(dialog, binding.id, CB_SELECTSTRING,
                              static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(text.c_str())) != CB_ERR) {
      continue;
    }
    ::SetDlgItemTextA(dialog, binding.id, text.c_str());
  }
}

void TakeFields(HWND dialog, HeaderFormFields* fields) {
  HeaderFormFields taken = *fields;
  for (const Binding& binding : kBindings) {
    taken.*binding.field = ControlText(dialog, binding.id);
  }
  *fields = std::move(taken);
}

INT_PTR CALLBACK HeaderFormProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    switch (message) {
      case WM_INITDIALOG: {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        auto* form = reinterpret_cast<HeaderForm*>(lparam);
        FillListsFromInitData(dialog);
        ShowFields(dialog, *form->fields);
        return TRUE;  // the dialog manager sets the first focus
      }
      case WM_COMMAND:
        switch (LOWORD(wparam)) {
          case IDOK: {
            auto* form =
                reinterpret_cast<HeaderForm*>(::GetWindowLongPtrA(dialog, DWLP_USER));
            TakeFields(dialog, form->fields);
            ::EndDialog(dialog, IDOK);
            return TRUE;
          }
          case IDCANCEL:  // also Esc and the close box
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
  } catch (...) {
    // Taking the texts back failed (memory): the form counts as cancelled.
    ::EndDialog(dialog, -1);
    return TRUE;
  }
  return FALSE;
}

// The host's window that the form belongs to, so the host waits for it like
// for a form of its own; none when the host's thread has no active window.
HWND OwnerWindow() {
  HWND active = ::GetActiveWindow();
  return active != nullptr ? ::GetAncestor(active, GA_ROOTOWNER) : nullptr;
}

}  // namespace

FormResult Win32Platform::ShowHeaderForm(HeaderFormFields* fields) {
  HeaderForm form{fields};
  const INT_PTR result = ::DialogBoxParamA(
      static_cast<HINSTANCE>(win32::ResourceModule()), MAKEINTRESOURCEA(IDD_CABRILLO),
      OwnerWindow(), HeaderFormProc, reinterpret_cast<LPARAM>(&form));
  if (result == IDOK) return FormResult::kOk;
  if (result == IDCANCEL) return FormResult::kCancel;
  return FormResult::kFailed;
}

}  // namespace velkaro
