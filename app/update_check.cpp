#include <string>

#include "app/subsystem_steps.h"
#include "core/http_get.h"
#include "core/release_check.h"
#include "ui/gui.h"

namespace orv {

namespace {

constexpr int kPollPeriodMs = 100;

// The version text of the product page; "0.000" when the page did not arrive whole.
std::string FetchLatestVersionText(Program& program, const ReleaseServer& server,
                                   std::string_view pagePath) {
    HttpGet get;
    if (!StartHttpGet(get, ServerAddress(server, pagePath), server.timeLimitMs))
        return std::string(kNoReleaseYet);
    HttpGetState state = PollHttpGet(get);
    while (state == HttpGetState::Running) {
        // The window is open but still empty: it keeps painting while the page comes.
        ui::KeepPaintingFor(*program.gui, kPollPeriodMs);
        state = PollHttpGet(get);
    }
    ReleaseHttpGet(get);
    return state == HttpGetState::Done ? LatestVersionText(get.body) : std::string(kNoReleaseYet);
}

}  // namespace

void CheckForUpdate(Program& program, const ReleaseServer& server) {
    const std::string_view pagePath = ProductPagePath(program.app.settings.ActiveInstrument);
    if (pagePath.empty() || server.host.empty())
        return;
    const float latest = ParseVersionText(FetchLatestVersionText(program, server, pagePath));
    const float current = program.app.SoftwareVersion;
    if (!IsNewerRelease(latest, current))
        return;
    const std::string downloadAddress = ServerAddress(server, kDownloadPagePath);
    // An offer, not a problem: the box is not logged.
    if (program.dialogs->AskYesNo("Info #0001", ReleaseOfferText(current, latest, downloadAddress),
                                  ui::BoxIcon::Information)) {
        // The address stands in the box: without a browser the user can still type it.
        program.dialogs->OpenWebAddress(downloadAddress);
    }
}

}  // namespace orv
