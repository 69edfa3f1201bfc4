#pragma once
// The application state owned by the application core, with its start values.
// Each other subsystem owns its own record; the Program aggregates them all.

#include <array>
#include <cstdint>
#include <string>

#include "core/colours.h"
#include "core/cross_thread.h"
#include "base/event.h"

namespace orv {

// Every choice that survives a restart, one field per key of "ORV_settings.txt"
// (the key without its "ORV_" prefix). The start values here are the defaults a
// first start writes.
struct Settings {
    std::string ActiveInstrument = "ORV310";
    std::int64_t CheckWebsiteForUpdate = 1;
    std::int64_t OnlyLTSCheck = 0;
    std::string DateOfLastUpdateCheck = "1/1/2026";
    std::int64_t MainWindowX = 0;
    std::int64_t MainWindowY = 0;
    std::int64_t MainWindowWidth = 1531;
    std::int64_t MainWindowHeight = 710;
    ColourNumber ColourScope1Background = kColourBlack;
    ColourNumber ColourScope1Outline = kColourDarkGreen;
    ColourNumber ColourScope1Graticule = kColourDarkGreen;
    ColourNumber ColourScope1Text = kColourWhite;
    ColourNumber ColourScopeXCrosshair = kColourDarkGreen;
    ColourNumber ColourScopeXTraceLiveSig = kColourRed;
    ColourNumber ColourScopeXTraceGoldenSig = kColourOrange;
    ColourNumber ColourScopeXTraceDUTSig = kColourBlue;
    ColourNumber ColourBackground = MakeColour(16, 16, 16);
    ColourNumber ColourPanel = kColourGreyGreen;
    ColourNumber ColourPanelWindow = MakeColour(0, 0, 34);
    ColourNumber ColourPanelText = kColourWhite;
    ColourNumber ColourHeader = kColourBlack;
    ColourNumber ColourHeaderText = kColourDarkGreen;
    std::string Mode = "Advanced";
    std::string DisplayView = "2miniscopes+PCB+TestTree+BadTree";
    std::string TestPlanFileName = "testplans\\demo_A.orv";
    std::array<std::string, 8> TestPlanFileNameRecent = {
        "testplans\\demo_A.orv", "testplans\\demo_B.orv", "testplans\\demo_C.orv",
        "testplans\\demo_D.orv", "testplans\\demo_E.orv", "testplans\\demo_F.orv",
        "testplans\\demo_G.orv", "testplans\\demo_H.orv"};
    std::string Scope1GraticuleMode = "On";
    std::string Scope1CrosshairMode = "On";
    std::string ScopeXCrosshairMode = "Off";
    std::string PCBCrosshairType = "1 line";
    std::int64_t Scope1HorizontalDivisions = 5;
    std::int64_t Scope1VerticalDivisions = 5;
    std::int64_t AllowSignatureOverwrite = 0;
    std::string OpenCircuitDetectThreshold = "0.50%";
    std::string StableSignatureDetectThreshold = "1.00%";
    std::string SignatureCaptureDelay = "10 cycles";
    std::string GoldenVsLiveThreshold = "1.50%";
};

// What the user asked the signal generator for, or what was last sent to it.
struct GeneratorSettings {
    float PeakMillivolts = 0;
    float SourceOhms = 0;
    float FrequencyHz = 0;
    int ScanA = 0;
    int ScanB = 0;
    int DcMode = 0;  // index in the DC Generator list
    float DcVolts = 0;

    bool operator==(const GeneratorSettings&) const = default;
};

// Source resistances of the large family, in ohms.
inline constexpr std::array<float, 8> kLargeFamilySourceResistances = {50,   100,  200,  500,
                                                                       1000, 2000, 5000, 10000};

struct AppState {
    float SoftwareVersion = 25.003f;
    Settings settings;
    std::string ChosenInstrument;  // model for the next start
    std::string MainWindowTitle;
    bool QuitRequested = false;
    ui::Event LastEvent;
    bool ClickPending = false;
    bool RightClickPending = false;
    bool LayoutChanged = false;
    bool SoundAvailable = false;
    CrossThread<bool> ReconnectRequested = false;
    CrossThread<bool> CommsThreadStop = false;
    std::string TodayText;
    int ShownConnectionState = 1;

    // The start values differ pairwise, so the first pass of the main cycle sends
    // the whole request to the instrument.
    GeneratorSettings GeneratorRequest{1000, 10000, 50, 0, 0, 0, 0};
    GeneratorSettings GeneratorApplied{0, 0, 0, 1, 1, 1, 1};
    std::string ResistanceStepDirection = "Down";  // large family only
};

}  // namespace orv
