#include "core/event_log.h"

#include "core/clock.h"
#include "core/files.h"

namespace orv {

namespace {

void ShowLogWarning(EventLog& log) {
    if (log.dialogs != nullptr) {
        log.dialogs->ShowMessageBox("Warning #xxxx", "cannot write to log.txt",
                                    ui::BoxIcon::Warning);
    }
}

ui::BoxIcon IconFor(MessageKind kind) {
    switch (kind) {
        case MessageKind::Info:
            return ui::BoxIcon::Information;
        case MessageKind::Warning:
            return ui::BoxIcon::Warning;
        case MessageKind::Error:
            return ui::BoxIcon::Error;
        case MessageKind::None:
            break;
    }
    return ui::BoxIcon::None;
}

}  // namespace

MessageParts SplitMessage(std::string_view message) {
    struct Prefix {
        std::string_view word;
        MessageKind kind;
        size_t titleLength;
    };
    // "Info #0063" is 10 characters, "Warning #0061" 13, "Error #0009" 11; one blank
    // separates the title from the text.
    static constexpr Prefix kPrefixes[] = {{"Info", MessageKind::Info, 10},
                                           {"Warning", MessageKind::Warning, 13},
                                           {"Error", MessageKind::Error, 11}};
    for (const Prefix& prefix : kPrefixes) {
        if (message.substr(0, prefix.word.size()) != prefix.word)
            continue;
        MessageParts parts;
        parts.kind = prefix.kind;
        parts.title = std::string(message.substr(0, prefix.titleLength));
        if (message.size() > prefix.titleLength + 1) {
            parts.text = std::string(message.substr(prefix.titleLength + 1));
        }
        return parts;
    }
    return {};
}

void WriteLogLine(EventLog& log, std::string_view message) {
    std::string line = FormatLogStamp(NowLocal());
    line += message;
    line += kLineEnd;
    bool written = false;
    {
        std::lock_guard lock(log.mutex);
        written = AppendLine(kLogFileName, line);
    }
    if (written)
        return;
    if (std::this_thread::get_id() == log.uiThread) {
        ShowLogWarning(log);
    } else {
        log.warningPending = true;
    }
}

void ShowUserMessage(EventLog& log, std::string_view message) {
    ShowUserMessage(log, message, {});
}

void ShowUserMessage(EventLog& log, std::string_view message, std::string_view detail) {
    WriteLogLine(log, message);
    const MessageParts parts = SplitMessage(message);
    if (parts.kind == MessageKind::None || log.dialogs == nullptr)
        return;
    const std::string text = detail.empty() ? parts.text : parts.text + "\n" + std::string(detail);
    log.dialogs->ShowMessageBox(parts.title, text, IconFor(parts.kind));
}

void ShowPendingLogWarning(EventLog& log) {
    if (log.warningPending.exchange(false))
        ShowLogWarning(log);
}

}  // namespace orv
