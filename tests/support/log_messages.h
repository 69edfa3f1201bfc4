#pragma once

#include <string>
#include <vector>

namespace orv::test {

// The event log's texts in the working directory, without their time stamps.
std::vector<std::string> LogMessages();

}  // namespace orv::test
