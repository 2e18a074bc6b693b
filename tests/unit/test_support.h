// Shared set-up for the unit tests: a fresh fake, fresh run state and a
// private working directory for the report file.
#pragma once

#include <gtest/gtest.h>

#include <string>

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes, bool executable = false);

// Makes the nth nothrow array allocation from now fail (1: the next one);
// 0: none fails.
void fail_allocation(int nth);

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string dir;      // the test's working directory, fresh and empty
    std::string old_dir;
};
