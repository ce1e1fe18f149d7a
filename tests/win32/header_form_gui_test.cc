// The Cabrillo header form under Wine, driven as an operator would: ResetStats0
// with the Cabrillo switch on blocks in the modal form while a second thread
// finds it by its Cyrillic caption, checks what it shows, types and presses
// OK or Cancel; then the settings file and the Cabrillo file are read back.

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>

#include "tests/win32/plugin_host.h"

namespace velkaro::wintest {
namespace {

constexpr char kContest[] = "\xC4\xC5\xCD\xDC \xC2\xC5\xCB\xCA\xC0\xD0\xCE";
constexpr char kIni[] = "Plugins\\Velkaro.ini";

// Runs `operate` on the form from a second thread while the host's thread
// sits in ResetStats0; collects what it found wrong.
class Operator {
 public:
  explicit Operator(std::function<void(HWND, std::vector<std::string>*)> operate)
      : thread_([this, operate] {
          HWND form = WaitForWindow(kFormCaption);
          if (form == nullptr) {
            problems_.push_back("the form did not appear");
            return;
          }
          operate(form, &problems_);
        }) {}
  ~Operator() { Join(); }
  const std::vector<std::string>& Join() {
    if (thread_.joinable()) thread_.join();
    return problems_;
  }

 private:
  std::vector<std::string> problems_;
  std::thread thread_;
};

void Expect(std::vector<std::string>* problems, HWND form, int id,
            const std::string& text) {
  const std::string shown = ControlText(form, id);
  if (shown != text) {
    problems->push_back("control " + std::to_string(id) + " shows '" + shown +
                        "', expected '" + text + "'");
  }
}

std::vector<std::string> ListItems(HWND form, int id) {
  std::vector<std::string> items;
  const LRESULT count = ::SendDlgItemMessageA(form, id, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char item[64] = {};
    ::SendDlgItemMessageA(form, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    items.push_back(item);
  }
  return items;
}

void Press(HWND form, int id) {
  ::PostMessageA(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(form, id)));
}

// The keys of section [Settings] in file order.
std::vector<std::string> KeysInOrder(const std::string& ini) {
  std::vector<std::string> keys;
  std::istringstream lines(ini);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos) keys.push_back(line.substr(0, equals));
  }
  return keys;
}

std::string Setting(const char* key) {
  char value[100] = {};
  ::GetPrivateProfileStringA("Settings", key, "<missing>", value, sizeof value,
                             ".\\Plugins\\Velkaro.ini");
  return value;
}

class HeaderFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::DeleteFileA("UA1AAA.cbr");
    ASSERT_TRUE(plugin_.loaded());
  }
  ScratchFolder folder_{"header-form"};
  Plugin plugin_;
};

TEST_F(HeaderFormTest, FirstStartShowsDefaultsAndOkSavesTheEdits) {
  Operator op([](HWND form, std::vector<std::string>* problems) {
    Expect(problems, form, 1009, kContest);
    Expect(problems, form, 1010, "UA1AAA");
    Expect(problems, form, 1006, "UA1AAA");
    Expect(problems, form, 1013, "SINGLE-OP");
    Expect(problems, form, 1118, "40M");
    Expect(problems, form, 1123, "MIXED");
    Expect(problems, form, 1122, "ONE");
    for (int empty : {1008, 1121, 1007, 1002, 1003, 1011, 1012, 1005, 1001, 1004}) {
      Expect(problems, form, empty, "");
    }
    if (ListItems(form, 1013) !=
        std::vector<std::string>{"SINGLE-OP", "MULTI-OP", "CHECKLOG"})
      problems->push_back("CATEGORY-OPERATOR list");
    if (ListItems(form, 1123) != std::vector<std::string>{"CW", "MIXED", "RTTY", "SSB"})
      problems->push_back("CATEGORY-MODE list is not sorted");
    if (ListItems(form, 1122) != std::vector<std::string>{"ONE", "TWO", "UNLIMITED"})
      problems->push_back("CATEGORY-TRANSMITTER list");
    if (ListItems(form, 1118) != std::vector<std::string>{"40M"})
      problems->push_back("CATEGORY-BAND list");
    if (::IsWindowEnabled(::GetDlgItem(form, 1118)) ||
        ::IsWindowEnabled(::GetDlgItem(form, 1122)))
      problems->push_back("CATEGORY-BAND and CATEGORY-TRANSMITTER must be disabled");
    const LONG soapbox = ::GetWindowLongA(::GetDlgItem(form, 1001), GWL_STYLE);
    if ((soapbox & (ES_MULTILINE | ES_WANTRETURN)) != (ES_MULTILINE | ES_WANTRETURN))
      problems->push_back("SOAPBOX must take Enter as a line break");
    if (::GetWindow(form, GW_OWNER) != nullptr)
      problems->push_back("the form has an owner");

    ::SetDlgItemTextA(form, 1007, "Ivan");
    ::SetDlgItemTextA(form, 1001, "line one\r\nline two");
    ::SetDlgItemTextA(form, 1008, "99999");     // CLAIMED: dropped
    ::SetDlgItemTextA(form, 1010, "UA1AAA/P");  // CALLSIGN: used, not stored
    ::SetDlgItemTextA(form, 1013, "MY-OWN");    // typed into a combo
    ::SendDlgItemMessageA(form, 1123, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                          reinterpret_cast<LPARAM>("CW"));
    Press(form, IDOK);
  });
  EXPECT_EQ(plugin_.Reset(1, "UA1AAA"), 1);
  for (const std::string& problem : op.Join()) ADD_FAILURE() << problem;

  const std::vector<std::string> expected_keys = {"Band",
                                                  "Power",
                                                  "Operators",
                                                  "Name",
                                                  "Address",
                                                  "Address-City",
                                                  "Address-PostalCode",
                                                  "Address-Country",
                                                  "Category",
                                                  "Contest",
                                                  "Email",
                                                  "Club",
                                                  "SoapBox",
                                                  "Loc",
                                                  "Start"};
  EXPECT_EQ(KeysInOrder(FileBytes(kIni)), expected_keys);
  EXPECT_EQ(Setting("Power"), "CW");
  EXPECT_EQ(Setting("Category"), "MY-OWN");
  EXPECT_EQ(Setting("Name"), "Ivan");
  EXPECT_EQ(Setting("SoapBox"), "line one<CR><LF>line two");
  EXPECT_EQ(Setting("Contest"), kContest);
  EXPECT_EQ(Setting("Operators"), "UA1AAA");

  EXPECT_EQ(plugin_.Add("UA1AAA", "RK3VEL", 42152.6, 7012000, "CW", "001", "002", "40m"),
            1);
  int points = 0;
  plugin_.Result(&points);
  EXPECT_EQ(points, -1);  // the Cabrillo export ran
  const std::string log = FileBytes("UA1AAA.cbr");
  EXPECT_NE(log.find("CALLSIGN: UA1AAA/P\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("CATEGORY-MODE: CW\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("CATEGORY-OPERATOR: MY-OWN\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("NAME: Ivan\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("SOAPBOX: line one\r\nSOAPBOX: line two\r\n"), std::string::npos)
      << log;
  EXPECT_NE(log.find("CLAIMED-SCORE: 1\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("RK3VEL"), std::string::npos) << log;
  EXPECT_EQ(Setting("Claimed"), "1");
}

TEST_F(HeaderFormTest, StoredValuesAreShownAndCancelWritesNothing) {
  for (const auto& [key, value] :
       std::vector<std::pair<const char*, const char*>>{{"Operators", ""},
                                                        {"Name", "Petr"},
                                                        {"SoapBox", "a<CR><LF>b"},
                                                        {"Power", "SSB"},
                                                        {"Loc", "MO"},
                                                        {"Claimed", "17"},
                                                        {"Start", "1"}}) {
    ::WritePrivateProfileStringA("Settings", key, value, ".\\Plugins\\Velkaro.ini");
  }
  const std::string before = FileBytes(kIni);
  std::atomic<bool> typed{false};
  Operator op([&typed](HWND form, std::vector<std::string>* problems) {
    Expect(problems, form, 1006, "");  // present but empty: not the call sign
    Expect(problems, form, 1007, "Petr");
    Expect(problems, form, 1001, "a\r\nb");
    Expect(problems, form, 1123, "MIXED");  // the stored "Power" is never used
    Expect(problems, form, 1121, "MO");
    Expect(problems, form, 1008, "17");
    ::SetDlgItemTextA(form, 1007, "Changed");
    typed = true;
    ::PostMessageA(form, WM_CLOSE, 0, 0);  // the close box
  });
  EXPECT_EQ(plugin_.Reset(1, "UA1AAA"), 1);
  for (const std::string& problem : op.Join()) ADD_FAILURE() << problem;
  EXPECT_TRUE(typed);
  EXPECT_EQ(FileBytes(kIni), before);

  int points = 0;
  plugin_.Result(&points);
  const std::string log = FileBytes("UA1AAA.cbr");
  EXPECT_NE(log.find("NAME: Petr\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("SOAPBOX: a\r\nSOAPBOX: b\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("OPERATORS: \r\n"), std::string::npos) << log;
}

TEST_F(HeaderFormTest, EscapeCancelsAndWritesNoHeaderKey) {
  Operator op([](HWND form, std::vector<std::string>* problems) {
    Expect(problems, form, 1013, "SINGLE-OP");
    // Esc reaches the dialog as IDCANCEL.
    ::PostMessageA(form, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  });
  EXPECT_EQ(plugin_.Reset(1, "UA1AAA"), 1);
  for (const std::string& problem : op.Join()) ADD_FAILURE() << problem;
  EXPECT_EQ(Setting("Name"), "<missing>");
  EXPECT_EQ(Setting("Start"), "1");
}

}  // namespace
}  // namespace velkaro::wintest
