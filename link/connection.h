#pragma once
// Bringing the instrument link up and down: the open sequence, the identity check
// against the active model, the first settings, the data time-out and the reconnect
// probe. Connecting happens on the user-interface thread only; the communications
// thread closes on a time-out and asks for a reconnection, nothing more.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/app_state.h"
#include "core/event_log.h"
#include "link/link_state.h"

namespace orv {

inline constexpr int kDataTimeoutMs = 1500;
inline constexpr int kReconnectProbeMs = 3000;
inline constexpr int kReceiveBufferBytes = 16384;

// The full connect sequence; the outcome is `Connected`.
void ORV_StartConnection(Link& link, AppState& app, EventLog& log);

// Closes the device when connected. `AutoReconnectEnabled` stays as it is.
void ORV_StopConnection(Link& link, EventLog& log);

void OpenDevice(Link& link, EventLog& log, std::uint32_t baudRate);
void CloseDevice(Link& link, EventLog& log);

// Communications thread: closes a link that brought no good frame for 1.5 s.
void CheckDataTimeout(Link& link, EventLog& log);

// Communications thread: while the user wants the instrument but it is gone, looks for
// it every 3 s and raises `ReconnectRequested` when it is back.
void ReconnectProbe(Link& link, AppState& app, EventLog& log);

// The identity check on the texts read from the EEPROM.
inline constexpr std::string_view kMakerText = "Korvane";
bool MakerAccepted(std::string_view makerText);
bool ProductAccepted(std::string_view model, std::string_view productText);

// The user's requests: the Instrument menu's items and the connect button.
void ConnectMenuItem(Link& link, AppState& app, EventLog& log);
void DisconnectMenuItem(Link& link, EventLog& log);
void ConnectButtonPressed(Link& link, AppState& app, EventLog& log);

}  // namespace orv
