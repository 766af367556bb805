#pragma once
// A fresh folder per test for the converter's file tests, with byte-exact reading and writing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quorvel_test {

class ScratchDirTest : public ::testing::Test {
protected:
    // `prefix` keeps the folders of different suites apart.
    explicit ScratchDirTest(std::string prefix) : prefix_(std::move(prefix)) {}

    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path()
               / (prefix_ + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "-"
                  + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string &name) const { return (dir_ / name).string(); }
    void write(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string &name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::filesystem::path dir_;

private:
    std::string prefix_;
};

} // namespace quorvel_test
