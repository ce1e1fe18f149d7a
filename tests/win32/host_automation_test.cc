// The mode-switch window commanding a host under Wine: this program plays the
// host, with an automation object registered under the ProgID
// "Zelvo2.Application" (HKCR) and in the running object table, whose method
// 16 records the text it is given. The host lives on a thread of its own, a
// single-threaded apartment that pumps messages all the time, as a host's
// user-interface thread does; the window's thread calls into it (and releases
// its proxy) through those messages.

// <windows.h> comes before the other Windows headers.
// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>
#include <objbase.h>
#include <oleauto.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "tests/win32/plugin_host.h"

namespace velkaro::wintest {
namespace {

// {6E1F3A52-9C0B-4D7E-8A41-2F5B7C9D0E13}
constexpr CLSID kHostClass = {
    0x6e1f3a52, 0x9c0b, 0x4d7e, {0x8a, 0x41, 0x2f, 0x5b, 0x7c, 0x9d, 0x0e, 0x13}};
constexpr char kHostClassText[] = "{6E1F3A52-9C0B-4D7E-8A41-2F5B7C9D0E13}";

class FakeHost final : public IDispatch {
 public:
  // Texts received through method 16, in order; a call of any other form is
  // recorded as "unexpected call". (Whether the caller asked for a result
  // cannot be seen here: the marshalling stub always passes a VARIANT.)
  std::vector<std::string> Commands() {
    std::lock_guard<std::mutex> hold(lock_);
    return commands_;
  }
  // A command the host refuses, with an exception description; set before
  // the host starts.
  std::string refuse;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID,
                                          DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID method, REFIID, LCID, WORD flags,
                                   DISPPARAMS* parameters, VARIANT*, EXCEPINFO* exception,
                                   UINT*) override {
    if (method != 16 || flags != DISPATCH_METHOD || parameters == nullptr ||
        parameters->cArgs != 1 || parameters->cNamedArgs != 0 ||
        parameters->rgvarg[0].vt != VT_BSTR) {
      Record("unexpected call");
      return DISP_E_MEMBERNOTFOUND;
    }
    const BSTR text = parameters->rgvarg[0].bstrVal;
    char narrow[256] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(::SysStringLen(text)), narrow,
                          sizeof narrow - 1, nullptr, nullptr);
    Record(narrow);
    if (refuse == narrow && exception != nullptr) {
      *exception = {};
      exception->scode = E_FAIL;
      exception->bstrDescription = ::SysAllocString(L"The radio is not connected");
      return DISP_E_EXCEPTION;
    }
    return S_OK;
  }

 private:
  void Record(const std::string& command) {
    std::lock_guard<std::mutex> hold(lock_);
    commands_.push_back(command);
  }

  std::mutex lock_;
  std::vector<std::string> commands_;
  std::atomic<ULONG> references_{1};
};

// The running host: registers its object, pumps until stopped, then revokes
// it and leaves COM.
class HostThread {
 public:
  explicit HostThread(FakeHost* host) : host_(host) {
    thread_ = std::thread([this] { Run(); });
    std::unique_lock<std::mutex> hold(lock_);
    started_.wait(hold, [this] { return state_ != 0; });
  }
  ~HostThread() {
    ::PostThreadMessageA(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  bool registered() const { return state_ == 1; }

 private:
  void Run() {
    ::CoInitialize(nullptr);
    MSG message;
    ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // make the queue
    thread_id_ = ::GetCurrentThreadId();
    DWORD registration = 0;
    const bool ok = SUCCEEDED(
        ::RegisterActiveObject(host_, kHostClass, ACTIVEOBJECT_STRONG, &registration));
    {
      std::lock_guard<std::mutex> hold(lock_);
      state_ = ok ? 1 : 2;
    }
    started_.notify_all();
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    if (ok) ::RevokeActiveObject(registration, nullptr);
    ::CoUninitialize();
  }

  FakeHost* host_;
  std::mutex lock_;
  std::condition_variable started_;
  std::atomic<int> state_{0};
  DWORD thread_id_ = 0;
  std::thread thread_;
};

struct ThreadWindows {
  HWND window;
  std::vector<HWND> others;
};

BOOL CALLBACK CollectOther(HWND w, LPARAM data) {
  auto* f = reinterpret_cast<ThreadWindows*>(data);
  if (w != f->window && ::IsWindowVisible(w)) f->others.push_back(w);
  return TRUE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM data) {
  char text[256] = {};
  ::GetWindowTextA(child, text, sizeof text);
  *reinterpret_cast<std::string*>(data) += std::string(text) + "|";
  return TRUE;
}

class HostAutomationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, "Zelvo2.Application\\CLSID", 0,
                                nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, nullptr, 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(kHostClassText),
                     sizeof kHostClassText);
    ::RegCloseKey(key);
    ASSERT_TRUE(plugin_.loaded());
    plugin_.Reset(0, "UA1AAA");
    window_ = WaitForWindow(kModeWindowCaption);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    plugin_.Unload();
    host_thread_.reset();
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "Zelvo2.Application\\CLSID");
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "Zelvo2.Application");
  }

  void StartHost() {
    host_thread_ = std::make_unique<HostThread>(&host_);
    ASSERT_TRUE(host_thread_->registered());
  }
  void StopHost() { host_thread_.reset(); }

  // A click as the button reports it.
  void Click(int id) {
    ::PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window_, id)));
  }
  // A click whose handling is over when this returns; only while no host
  // runs (a call out of a sent message is refused by COM).
  void ClickAndWait(int id) {
    ::SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window_, id)));
  }
  bool WaitForCommands(size_t count) {
    return WaitFor([&] { return host_.Commands().size() >= count; });
  }

  // Visible windows of the window's thread besides the window itself.
  std::vector<HWND> OtherWindowsOfTheWindowThread() {
    ThreadWindows found{window_, {}};
    ::EnumThreadWindows(::GetWindowThreadProcessId(window_, nullptr), &CollectOther,
                        reinterpret_cast<LPARAM>(&found));
    return found.others;
  }

  ScratchFolder folder_{"host-automation"};
  FakeHost host_;  // outlives its thread
  Plugin plugin_;
  std::unique_ptr<HostThread> host_thread_;
  HWND window_ = nullptr;
};

TEST_F(HostAutomationTest, EachButtonSendsItsCommandsInOrder) {
  StartHost();
  Click(1004);
  ASSERT_TRUE(WaitForCommands(1));
  Click(1005);
  ASSERT_TRUE(WaitForCommands(2));
  // RTTY45 through the button itself.
  ::PostMessageA(::GetDlgItem(window_, 1003), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitForCommands(4));
  EXPECT_EQ(host_.Commands(),
            (std::vector<std::string>{"<MODE:CW>", "<MODE:SSB>", "<MODE:RTTY>",
                                      "<BAUDRATE:45.45>"}));
}

TEST_F(HostAutomationTest, NoHostRunningSendsNothingAndShowsNothing) {
  ClickAndWait(1003);
  ClickAndWait(1004);
  EXPECT_TRUE(host_.Commands().empty());
  EXPECT_TRUE(OtherWindowsOfTheWindowThread().empty());

  // The host starts later: the next click reaches it.
  StartHost();
  Click(1005);
  ASSERT_TRUE(WaitForCommands(1));
  EXPECT_EQ(host_.Commands(), std::vector<std::string>{"<MODE:SSB>"});

  // And after it has gone again, nothing.
  StopHost();
  ClickAndWait(1004);
  EXPECT_EQ(host_.Commands().size(), 1u);
  EXPECT_TRUE(OtherWindowsOfTheWindowThread().empty());
}

TEST_F(HostAutomationTest, RefusedCommandShowsTheHostsErrorAndStopsTheClick) {
  host_.refuse = "<MODE:RTTY>";
  StartHost();
  Click(1003);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    std::vector<HWND> others = OtherWindowsOfTheWindowThread();
    box = others.empty() ? nullptr : others.front();
    return box != nullptr;
  }));
  std::string texts;
  ::EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&texts));
  EXPECT_NE(texts.find("The radio is not connected"), std::string::npos) << texts;
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
  // The click ended at the refused command; the window works on.
  Click(1004);
  ASSERT_TRUE(WaitForCommands(2));
  EXPECT_EQ(host_.Commands(), (std::vector<std::string>{"<MODE:RTTY>", "<MODE:CW>"}));
}

TEST_F(HostAutomationTest, UnloadWhileTheErrorBoxIsOpenClosesBoth) {
  host_.refuse = "<MODE:CW>";
  StartHost();
  Click(1004);
  ASSERT_TRUE(WaitFor([&] { return !OtherWindowsOfTheWindowThread().empty(); }));
  HWND box = OtherWindowsOfTheWindowThread().front();
  // The box shows before its set-up is over, and that set-up takes the
  // loader lock, which an unload holds while it waits for the window: the
  // box is open once its thread answers messages, as when the operator sees
  // it.
  DWORD_PTR ignored = 0;
  ASSERT_NE(::SendMessageTimeoutA(box, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored), 0);
  plugin_.Unload();  // a hang here fails on the timeout
  EXPECT_FALSE(::IsWindow(box));
  EXPECT_FALSE(::IsWindow(window_));
}

}  // namespace
}  // namespace velkaro::wintest
