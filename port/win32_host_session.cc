// One click's connection to the running host: COM for the thread, the host's
// automation object found by its ProgID in the running object table, and its
// method 16 called with one text.

#include <objbase.h>
#include <oleauto.h>

#include <cstdio>

#include "port/platform_win32.h"
#include "port/win32_api.h"

namespace velkaro {
namespace {

constexpr DISPID kCommandMethod = 16;

std::wstring Widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                        wide.data(), length);
  return wide;
}

std::string Narrow(const wchar_t* text, UINT length) {
  if (text == nullptr || length == 0) return std::string();
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length),
                                         nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), narrow.data(), size,
                        nullptr, nullptr);
  return narrow;
}

// The system's text for a failure code, or the code itself.
std::string DescribeFailure(HRESULT result) {
  char* message = nullptr;
  const DWORD length =
      ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(result), 0,
                       reinterpret_cast<LPSTR>(&message), 0, nullptr);
  std::string text;
  if (length > 0 && message != nullptr) {
    text.assign(message, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  }
  if (message != nullptr) ::LocalFree(message);
  if (text.empty()) {
    char code[32];
    std::snprintf(code, sizeof code, "HRESULT 0x%08lX",
                  static_cast<unsigned long>(result));
    text = code;
  }
  return text;
}

class ComHostSession final : public HostSession {
 public:
  ComHostSession() {
    com_ready_ = SUCCEEDED(::CoInitialize(nullptr));
    CLSID host_class = {};
    ::CLSIDFromProgID(L"Zelvo2.Application", &host_class);  // a failure fails below
    IUnknown* running = nullptr;
    if (SUCCEEDED(::GetActiveObject(host_class, nullptr, &running)) && running) {
      void* dispatch = nullptr;
      if (FAILED(running->QueryInterface(IID_IDispatch, &dispatch))) dispatch = nullptr;
      host_ = static_cast<IDispatch*>(dispatch);
      running->Release();
    }
  }
  ~ComHostSession() override {
    if (host_ != nullptr) host_->Release();
    if (com_ready_) ::CoUninitialize();
  }
  ComHostSession(const ComHostSession&) = delete;
  ComHostSession& operator=(const ComHostSession&) = delete;

  bool Connected() const override { return host_ != nullptr; }

  bool Send(const std::string& command, std::string* error) override {
    if (host_ == nullptr) {
      *error = DescribeFailure(CO_E_OBJNOTCONNECTED);
      return false;
    }
    const std::wstring wide = Widen(command);
    VARIANTARG argument;
    ::VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (argument.bstrVal == nullptr) {
      *error = DescribeFailure(E_OUTOFMEMORY);
      return false;
    }
    DISPPARAMS parameters = {&argument, nullptr, 1, 0};
    EXCEPINFO exception = {};
    UINT wrong_argument = 0;
    const HRESULT result =
        host_->Invoke(kCommandMethod, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                      &parameters, nullptr, &exception, &wrong_argument);
    ::VariantClear(&argument);
    if (SUCCEEDED(result)) return true;

    if (result == DISP_E_EXCEPTION && exception.pfnDeferredFillIn != nullptr) {
      exception.pfnDeferredFillIn(&exception);
    }
    std::string description;
    if (result == DISP_E_EXCEPTION && exception.bstrDescription != nullptr) {
      description =
          Narrow(exception.bstrDescription, ::SysStringLen(exception.bstrDescription));
    }
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    *error = description.empty()
                 ? DescribeFailure(result == DISP_E_EXCEPTION && FAILED(exception.scode)
                                       ? exception.scode
                                       : result)
                 : description;
    return false;
  }

 private:
  bool com_ready_ = false;
  IDispatch* host_ = nullptr;
};

}  // namespace

std::unique_ptr<HostSession> Win32Platform::OpenHostSession() {
  return std::make_unique<ComHostSession>();
}

}  // namespace velkaro
