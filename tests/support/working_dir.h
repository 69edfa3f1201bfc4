#pragma once
// Each test runs in its own empty working directory, removed afterwards.

#include <gtest/gtest.h>

#include <string>

namespace orv::test {

class InWorkingDir : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string dir_;

private:
    std::string previous_;
};

// The whole content of a file, or "<missing>".
std::string FileText(const std::string& path);

}  // namespace orv::test
