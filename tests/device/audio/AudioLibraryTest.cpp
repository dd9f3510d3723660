// SPDX-License-Identifier: GPL-3.0-or-later
// The audio library loader against the project's stand-in: where it loads from, and how
// it holds out against a library that answers badly.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "device/audio/AudioLibrary.h"
#include "platform/Paths.h"

namespace device::audio {
namespace {

namespace fs = std::filesystem;

class StandIn : public ::testing::Test {
protected:
    void SetUp() override {
        data_ = fs::temp_directory_path() / ("conflib-" + std::to_string(::getpid()) + ".txt");
        ::unsetenv("TX512_CONFLIB_RECORD");
    }
    void TearDown() override {
        ::unsetenv("TX512_CONFLIB_DATA");
        fs::remove(data_);
    }
    // The stand-in loaded and started with `statements` as its data.
    std::unique_ptr<AudioLibrary> Load(const std::string& statements) {
        std::ofstream(data_) << statements;
        ::setenv("TX512_CONFLIB_DATA", data_.c_str(), 1);
        auto library = AudioLibrary::Load(TX512_STANDIN_CONFLIB);
        if (library) library->Init();
        return library;
    }
    fs::path data_;
};

TEST(AudioLibraryPath, IsTheProgramFoldersAndNothingElse) {
    EXPECT_EQ(AudioLibrary::DefaultPath().parent_path().parent_path(),
              platform::ProgramDir() / "SDK");
    EXPECT_EQ(AudioLibrary::DefaultPath().filename(), "libosConfLib.so");
    EXPECT_TRUE(AudioLibrary::DefaultPath().is_absolute());
    // The build's stand-in sits where only a simulated run looks, not in the real one's place.
    EXPECT_EQ(fs::path(TX512_STANDIN_CONFLIB), AudioLibrary::SimulatedPath());
    EXPECT_NE(AudioLibrary::SimulatedPath().parent_path(),
              AudioLibrary::DefaultPath().parent_path());
    EXPECT_EQ(AudioLibrary::SimulatedPath().filename(), "libosConfLib.so");

    // A relative path is not looked up in the current folder, even when the file is there.
    const fs::path standIn = TX512_STANDIN_CONFLIB;
    const fs::path before = fs::current_path();
    fs::current_path(standIn.parent_path());
    EXPECT_EQ(AudioLibrary::Load(standIn.filename()), nullptr);
    EXPECT_EQ(AudioLibrary::Load(fs::path(".") / standIn.filename()), nullptr);
    fs::current_path(before);

    EXPECT_EQ(AudioLibrary::Load(standIn.parent_path() / "missing.so"), nullptr);
    EXPECT_NE(AudioLibrary::Load(standIn), nullptr);
}

TEST(AudioLibraryText, TakesPlainDecimalsOnly) {
    EXPECT_EQ(AudioLibrary::ParseDecimal("12"), 12.0);
    EXPECT_EQ(AudioLibrary::ParseDecimal("-3"), -3.0);
    EXPECT_EQ(AudioLibrary::ParseDecimal(" 0.37 "), 0.37);
    EXPECT_EQ(AudioLibrary::ParseDecimal("+5"), 5.0);
    for (const char* bad :
         {"", " ", "abc", "1e5", "0x10", "nan", "inf", "1 2", "1.2.3", "-", ".", "12abc", "--1"})
        EXPECT_EQ(AudioLibrary::ParseDecimal(bad), std::nullopt) << bad;
}

TEST_F(StandIn, ReadsBackWhatWasWritten) {
    auto library = Load("device playback 1 1\ndevice capture 2 1\n");
    ASSERT_NE(library, nullptr);
    ASSERT_EQ(library->DeviceCount(kFlowCapture), 1);
    const auto capture = library->DeviceById(kFlowCapture, 0);
    ASSERT_TRUE(capture);
    EXPECT_EQ(capture->type, 2);
    EXPECT_EQ(library->ReadNumber(*capture, "VolumeScalarControl", {-1}), std::nullopt);
    ASSERT_TRUE(library->Write(*capture, "VolumeScalarControl", PropertyValue::Real(0.37f), {-1}));
    EXPECT_EQ(library->ReadText(*capture, "VolumeScalarControl", {-1}), "0.37");
    ASSERT_TRUE(library->Write(*capture, "MuteControl", PropertyValue::Int(1)));
    EXPECT_EQ(library->ReadNumber(*capture, "MuteControl"), 1.0);
}

TEST_F(StandIn, HoldsOutAgainstBadAnswers) {
    auto library = Load(
        "device capture 2 1\n"
        "count capture 10000\n"
        "count playback -4\n"
        "value capture MuteControl not a number\n"
        "unterminated capture VolumeControl\n");
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->DeviceCount(kFlowCapture), AudioLibrary::kMaxDevices);
    EXPECT_EQ(library->DeviceCount(kFlowPlayback), 0);
    EXPECT_FALSE(library->DeviceById(kFlowCapture, 1));
    const auto capture = library->DeviceById(kFlowCapture, 0);
    ASSERT_TRUE(capture);
    EXPECT_EQ(library->ReadText(*capture, "MuteControl"), "not a number");
    EXPECT_EQ(library->ReadNumber(*capture, "MuteControl"), std::nullopt);
    // The buffer is full to its last byte with digits and no end: not taken at all.
    EXPECT_EQ(library->ReadText(*capture, "VolumeControl"), std::nullopt);
    EXPECT_EQ(library->ReadNumber(*capture, "VolumeControl"), std::nullopt);
}

}  // namespace
}  // namespace device::audio
