// One QGuiApplication for the whole test run, created before the first test and destroyed
// after the last.
#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

namespace kiryuza::testing {

class GuiEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { app_ = std::make_unique<QGuiApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "pictures_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

}  // namespace kiryuza::testing
