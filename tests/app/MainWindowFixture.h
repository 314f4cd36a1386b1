// The main window started as the program starts it, in a fresh folder of the
// test's own that is the current folder, with no settings stored before or after.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "app/ThumbnailsMain.h"
#include "framework/Classes.h"
#include "tests/harness/Files.h"
#include "tests/harness/Pump.h"
#include "skin/WinSkinDlg.h"
#include "tests/harness/Settings.h"

namespace pellix::test {

class MainWindowFixture : public ::testing::Test {
protected:
    // The folder is named prefix and the test's name.
    explicit MainWindowFixture(std::string prefix) : prefix_(std::move(prefix)) {}

    void SetUp() override {
        work_.emplace(prefix_ + CurrentTestName());
        folder = work_->Path();
        DeleteSettings();
    }
    void TearDown() override {
        form.reset();
        PumpMessages();
        work_.reset();
        DeleteSettings();
    }

    // Each start is a new program to the skin engine: a second start in one
    // test must not find the windows of the first already activated.
    TThumbnailsForm& Start() {
        form.reset();
        ShutdownSkinEngine();
        SetCurrentDirectoryA(folder.c_str());
        form.reset(new TThumbnailsForm(nullptr));
        form->LoadAndCreate();
        form->Show();
        PumpMessages();
        return *form;
    }

    std::string folder;
    std::unique_ptr<TThumbnailsForm, ComponentFree> form;

private:
    std::string prefix_;
    std::optional<WorkFolder> work_;
};

}  // namespace pellix::test
