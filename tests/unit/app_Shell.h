#pragma once
// A stand-in window for the main form: a fake browser that reports each navigation back at once,
// an address slot, and a close that runs the form's close sequence.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/core/Main.h"
#include "app/core/WorkingFolder.h"
#include "classlib/Application.h"
#include "classlib/ScriptedBackend.h"
#include "tests/support/TempFiles.h"

struct TFakeBrowser : TBrowserControl {
  std::vector<std::string> navigated;
  void Navigate(const std::string& url) override {
    navigated.push_back(url);
    if (OnBeforeNavigate2) OnBeforeNavigate2(url);
  }
};

struct TFakeView : TMainFormView {
  std::string address = "URLs";
  TFakeBrowser browser;
  TMainForm* form = nullptr;
  int aboutRequests = 0;
  int closeRequests = 0;
  bool closed = false;
  std::string AddressText() override { return address; }
  void SetAddressText(const std::string& text) override { address = text; }
  TBrowserControl& WebBrowser1() override { return browser; }
  void ShowAboutBox() override { ++aboutRequests; }
  void CloseMainWindow() override {
    ++closeRequests;
    if (!closed && form->FormCloseQuery()) {
      form->FormClose();
      closed = true;
    }
  }
};

// Each test gets its own private temporary folder and a scripted backend.
class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp = folder.Path() + "/";
    setenv("XDG_RUNTIME_DIR", folder.Path().c_str(), 1);
    setenv("XDG_STATE_HOME", (folder.Path() + "/state").c_str(), 1);
    ASSERT_TRUE(InitializeMainUnit());
    ASSERT_EQ(TempPath(), temp);
    SetBackend(&backend);
    Application.Title = "Korvex Folivo";
    form = std::make_unique<TMainForm>(view);
    view.form = form.get();
  }
  void TearDown() override {
    form.reset();
    FinalizeMainUnit();
    SetBackend(nullptr);
    std::filesystem::current_path("/");
    unsetenv("XDG_RUNTIME_DIR");
    unsetenv("XDG_STATE_HOME");
  }
  std::string Korvex(const std::string& name = "") const {
    return temp + "KORVEX" + (name.empty() ? "" : "/" + name);
  }

  TTempFolder folder;
  std::string temp;
  TScriptedBackend backend;
  TFakeView view;
  std::unique_ptr<TMainForm> form;
};
