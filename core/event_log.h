#pragma once
// The event log "log.txt" and the numbered user messages.

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "base/dialogs.h"

namespace orv {

inline constexpr std::string_view kLogFileName = "log.txt";

struct EventLog {
    std::mutex mutex;  // one line at a time, from either thread
    ui::Dialogs* dialogs = nullptr;
    // Boxes may only be shown from this thread; a log failure on another thread is
    // remembered and shown by the user-interface thread later.
    std::thread::id uiThread = std::this_thread::get_id();
    std::atomic<bool> warningPending{false};
};

enum class MessageKind { None, Info, Warning, Error };

struct MessageParts {
    MessageKind kind = MessageKind::None;
    std::string title;
    std::string text;
};

// Title and text of a message box for a numbered message ("Error #0009 ..." gives
// the title "Error #0009" and the rest after the blank); kind None when the text
// begins with none of "Info", "Warning", "Error".
MessageParts SplitMessage(std::string_view message);

// Appends "[dd-Mon-yyyy hh:ii:ss] message" and CR LF to log.txt, on a line of its
// own even when the file's last line lacks its end; a line the disk cannot take
// whole is not left half written.
void WriteLogLine(EventLog& log, std::string_view message);

// Logs the message, then shows it as a box when it is numbered.
void ShowUserMessage(EventLog& log, std::string_view message);
// The same, with `detail` (the file concerned) shown on a line of its own below the
// box's text; the log has the message alone.
void ShowUserMessage(EventLog& log, std::string_view message, std::string_view detail);

// Shows the log warning raised on another thread, once; called by the UI loop.
void ShowPendingLogWarning(EventLog& log);

}  // namespace orv
