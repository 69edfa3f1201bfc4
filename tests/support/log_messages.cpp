#include "support/log_messages.h"

#include "core/event_log.h"
#include "core/files.h"

namespace orv::test {

std::vector<std::string> LogMessages() {
    std::vector<std::string> messages;
    for (const std::string& line :
         ReadTextLines(kLogFileName).value_or(std::vector<std::string>{})) {
        messages.push_back(line.substr(line.find("] ") + 2));
    }
    return messages;
}

}  // namespace orv::test
