// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh folder per test standing in for both the program folder (with its
// "DefaultData") and the per-user data folder; removed afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/Paths.h"

class DataTestFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-data-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        ::setenv("XDG_DATA_HOME", (root_ / "user").c_str(), 1);
        platform::SetProgramDir(root_ / "program");
        std::filesystem::create_directories(root_ / "program" / "DefaultData");
    }
    void TearDown() override {
        platform::SetProgramDir({});
        ::unsetenv("XDG_DATA_HOME");
        std::filesystem::remove_all(root_);
    }

    static void WriteText(const std::filesystem::path& path, const std::string& text) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string ReadText(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static Json::Value Parse(const std::string& text) {
        Json::Value value;
        Json::Reader().parse(text, value);
        return value;
    }

    std::filesystem::path root_;
};
