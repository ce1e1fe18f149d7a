// Shared test fixtures: a scratch current directory and a recording platform.

#ifndef VELKARO_TESTS_TEST_SUPPORT_H_
#define VELKARO_TESTS_TEST_SUPPORT_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "ole_days.h"
#include "plugin/date_text.h"
#include "port/platform_portable.h"

namespace velkaro::testing {

// Runs each test in a fresh empty current directory, removed afterwards.
class ScratchDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    dir_ =
        std::filesystem::temp_directory_path() /
        ("velkaro-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
  }
  const std::filesystem::path& dir() const { return dir_; }

 private:
  static inline int counter_ = 0;
  std::filesystem::path previous_;
  std::filesystem::path dir_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

inline bool Exists(const std::filesystem::path& path) {
  return std::filesystem::exists(path);
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline OleDate Valid(double days) { return OleDate{days, OleDate::kValid}; }

// The portable port with the operator's side scripted and recorded.
class FakePlatform : public PortablePlatform {
 public:
  FormResult ShowHeaderForm(HeaderFormFields* fields) override {
    ++forms_shown;
    shown_fields = *fields;
    if (form_script) return form_script(fields);
    return form_result;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }

  std::function<FormResult(HeaderFormFields*)> form_script;
  FormResult form_result = FormResult::kOk;
  int forms_shown = 0;
  HeaderFormFields shown_fields;
  std::vector<std::string> messages;
  std::vector<std::string> errors;
};

}  // namespace velkaro::testing

#endif  // VELKARO_TESTS_TEST_SUPPORT_H_
