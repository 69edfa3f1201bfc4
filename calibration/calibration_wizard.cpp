#include "calibration/calibration_wizard.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "calibration/calibration_controls.h"
#include "calibration/calibration_layout.h"
#include "core/files.h"
#include "core/instrument_model.h"
#include "core/settings.h"
#include "link/calibration.h"
#include "link/commands.h"
#include "link/comms_thread.h"
#include "link/connection.h"
#include "link/link_clock.h"
#include "ui/controls.h"

namespace orv {

namespace {

using namespace calibration;

// Register settings of a "Set output" button. Each level is set in the output range the
// generator later uses its code in: +-10 V in the high range, +-1 V and 0 V (whose code
// comes from the +-1 V line) in the low one.
constexpr int SetOutputControl(bool highRange) {
    return kControlCalibrationOutput | (highRange ? kControlHighRange : 0);
}
constexpr int kRegCode = 3;
constexpr int kRegDcLevel = 20;
constexpr int kRegDcZero = 21;
constexpr int kRegDcMode = 22;
constexpr int kDcModeDc = 2;
// Readings summed into each sample under those settings (10 x 8).
constexpr int kReadingsPerSample = 80;
constexpr int kAdjustSteps[6] = {500, 25, 1, -1, -25, -500};
constexpr int kWizardPollMs = 250;
// The longest a pass waits for an event: the countdown shows hundredths of a second,
// and a frame asked for by a poll is read at most this late.
constexpr int kWizardWaitMs = 10;
constexpr int kDcBiasPlus10Block = 5;

std::string Text(std::int64_t value) {
    return std::to_string(value);
}

std::string Printable(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F)
            c = '.';
    }
    return text.empty() ? std::string("(empty)") : text;
}

void ShowStatus(CalibrationContext& context, CalibrationWizard& wizard, const std::string& text) {
    wizard.status = text;
    ui::SetControlText(context.gui, kStatus, text);
}

std::int64_t& DcBiasCode(CalibrationWizard& wizard, int block) {
    return block == kDcBiasPlus10Block ? wizard.codes.dcBias10 : wizard.codes.dcBiasMinus10;
}

int DcBiasField(int block) {
    return kDcBiasFields[block == kDcBiasPlus10Block ? 0 : 1];
}

void SendRegister(Link& link, int reg, std::int64_t value) {
    link.registers.values[static_cast<std::size_t>(reg)] = value;
    WriteRegisters(link, reg, 1);
}

void SetOutput(CalibrationContext& context, CalibrationWizard& wizard, int block) {
    std::vector<std::int64_t>& reg = context.link.registers.values;
    const bool dcBias = block >= kLevelBlockCount;
    const bool highRange = dcBias || block == kLevelPlus10 || block == kLevelMinus10;
    reg[kRegControl] = SetOutputControl(highRange);
    reg[kRegCode] =
        dcBias ? wizard.codes.dac[block == kDcBiasPlus10Block ? kLevelPlus10 : kLevelMinus10]
               : wizard.codes.dac[static_cast<std::size_t>(block)];
    reg[6] = 1000;
    reg[8] = 100;
    reg[10] = 64;
    reg[11] = 10;
    reg[12] = 8;
    reg[14] = 100;
    reg[16] = 0;
    reg[17] = 0;
    if (dcBias) {
        reg[kRegDcLevel] = DcBiasCode(wizard, block);
        reg[kRegDcZero] = (wizard.codes.dcBias10 - wizard.codes.dcBiasMinus10) / 2;
        reg[kRegDcMode] = kDcModeDc;
    }
    WriteRegisters(context.link, 0, 32);
    if (dcBias) {
        ui::SetControlText(context.gui, DcBiasField(block), Text(DcBiasCode(wizard, block)));
    } else {
        ui::SetControlText(context.gui, kDacLive, Text(reg[kRegCode]));
    }
}

void Adjust(CalibrationContext& context, CalibrationWizard& wizard, int block, int button) {
    const int step = kAdjustSteps[button];
    if (block < kLevelBlockCount) {
        std::int64_t& code = wizard.codes.dac[static_cast<std::size_t>(block)];
        code += step;
        SendRegister(context.link, kRegCode, code);
        ui::SetControlText(context.gui, kDacLive, Text(code));
    } else {
        std::int64_t& code = DcBiasCode(wizard, block);
        code += step;
        SendRegister(context.link, kRegDcLevel, code);
        ui::SetControlText(context.gui, DcBiasField(block), Text(code));
    }
}

void CalibrateBlock(CalibrationContext& context, CalibrationWizard& wizard, int block) {
    ui::Gui& gui = context.gui;
    if (block >= kLevelBlockCount) {
        ui::SetControlText(gui, DcBiasField(block), Text(DcBiasCode(wizard, block)));
        return;
    }
    ui::SetControlText(gui, kDacFields[static_cast<std::size_t>(block)],
                       Text(wizard.codes.dac[static_cast<std::size_t>(block)]));
    // The ADC readings go with +10 V, 0 V and -10 V.
    const int adcColumn = block == kLevelPlus10    ? 0
                          : block == kLevelZero    ? 1
                          : block == kLevelMinus10 ? 2
                                                   : -1;
    if (adcColumn >= 0) {
        ui::SetControlText(gui, kAdc0Fields[static_cast<std::size_t>(adcColumn)],
                           Text(wizard.adc0Live));
        ui::SetControlText(gui, kAdc1Fields[static_cast<std::size_t>(adcColumn)],
                           Text(wizard.adc1Live));
    }
}

void StoreCalibration(CalibrationContext& context, CalibrationWizard& wizard) {
    ui::Gui& gui = context.gui;
    CalibrationFields fields;
    for (int i = 0; i < kLevelCount; ++i) {
        fields.dac[static_cast<std::size_t>(i)] =
            ui::ControlText(gui, kDacFields[static_cast<std::size_t>(i)]);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        fields.adc0[i] = ui::ControlText(gui, kAdc0Fields[i]);
        fields.adc1[i] = ui::ControlText(gui, kAdc1Fields[i]);
    }
    if (wizard.largeFamily) {
        fields.dcBias[0] = ui::ControlText(gui, kDcBiasFields[0]);
        fields.dcBias[1] = ui::ControlText(gui, kDcBiasFields[1]);
    }
    // A field that holds no number ("--": never calibrated in this window, as the DC
    // bias on an automatic run) keeps what the instrument had.
    KeepInstrumentValues(fields, wizard.instrumentFields);
    const std::string text = CalibrationFileText(
        fields, NowLocal(), context.link.generator.SourceResistanceTable, wizard.largeFamily);
    // A file that cannot be written leaves the one before, which then goes in.
    ReplaceFile(kCalibrationFileName, std::string(kCalibrationFileName) + ".tmp", text);
    std::lock_guard lock(context.link.linkMutex);
    WriteCalibrationText(context.link, kCalibrationFileName);
}

void EndRun(CalibrationContext& context, CalibrationWizard& wizard) {
    wizard.run = AutoRun{};
    ui::SetControlText(context.gui, kGo, "Go!");
    ui::SetControlChecked(context.gui, kGo, false);
    ui::SetControlText(context.gui, kCountdown, "-");
}

// A multimeter read; a reply that is no reading is shown in the status.
void ReadMultimeter(CalibrationContext& context, CalibrationWizard& wizard,
                    std::string_view range) {
    const DmmReadOutcome outcome = DmmRead(context.dmm, context.link.clock, context.log, range);
    ui::SetControlText(context.gui, kDmmReadingField, ReadingText(context.dmm.DmmReading));
    if (outcome == DmmReadOutcome::Rejected) {
        ShowStatus(context, wizard, "DMM reply rejected: " + Printable(context.dmm.rejectedReply));
    }
}

void ZeroingPass(CalibrationContext& context, CalibrationWizard& wizard) {
    if (wizard.run.zeroingPasses != 0) {
        --wizard.run.zeroingPasses;
        ReadMultimeter(context, wizard, "100mV");
        std::int64_t& code = wizard.codes.dac[kLevelZero];
        code += ZeroingAdjustment(context.dmm.DmmReading);
        SendRegister(context.link, kRegCode, code);
        ui::SetControlText(context.gui, kDacLive, Text(code));
    }
    if (wizard.run.zeroingPasses <= 0 && wizard.run.step == kZeroingStep)
        wizard.run.step = kZeroingStep + 1;
}

void Calculate(CalibrationContext& context, CalibrationWizard& wizard) {
    std::string refusal;
    if (CalculateValues(wizard.pairs, wizard.codes, refusal))
        return;
    // Nothing sensible can follow: the run stops here and stores nothing.
    const int step = wizard.run.step > 0 ? wizard.run.step - 1 : 0;
    EndRun(context, wizard);
    ShowStatus(context, wizard, Text(step) + ": calculate values refused: " + refusal);
}

void PressGo(CalibrationContext& context, CalibrationWizard& wizard) {
    ui::Gui& gui = context.gui;
    if (wizard.run.step != 0) {
        // "Stop!": the run ends at once and stores nothing.
        EndRun(context, wizard);
        ShowStatus(context, wizard, "0: idle");
        return;
    }
    if (!DmmConnected(context.dmm)) {
        ui::SetControlChecked(gui, kGo, false);
        return;
    }
    wizard.run.step = 1;
    wizard.run.nextStepMs = NowMs(context.link.clock) + kAutoFirstDelayMs;
    ui::SetControlText(gui, kGo, "Stop!");
    ui::SetControlChecked(gui, kGo, true);
}

void ConnectMultimeter(CalibrationContext& context) {
    if (DmmConnected(context.dmm))
        return;
    ui::Gui& gui = context.gui;
    ui::SetControlText(gui, kDmmConnect, "Connecting...");
    if (DmmConnect(context.dmm, context.link.clock, ui::ControlText(gui, kDmmAddress))) {
        ui::SetControlText(gui, kDmmConnect, "Connected");
        return;
    }
    ui::SetControlText(gui, kDmmConnect, "Connect");
    WriteLogLine(context.log, "Can't connect with DMM over TCP");
    if (context.log.dialogs != nullptr) {
        context.log.dialogs->ShowMessageBox("Error", "Can't connect with DMM over TCP",
                                            ui::BoxIcon::Error);
    }
}

void Execute(CalibrationContext& context, CalibrationWizard& wizard, int button) {
    if (button >= kBlockFirst && button < kBlockFirst + kBlockCount * kBlockStride) {
        const int block = (button - kBlockFirst) / kBlockStride;
        const int part = (button - kBlockFirst) % kBlockStride;
        if (part == kBlockSetOutput) {
            SetOutput(context, wizard, block);
        } else if (part >= kBlockFirstAdjust && part < kBlockFirstAdjust + 6) {
            Adjust(context, wizard, block, part - kBlockFirstAdjust);
        } else if (part == kBlockCalibrate) {
            CalibrateBlock(context, wizard, block);
        }
        return;
    }
    for (int level = 0; level < kLevelCount; ++level) {
        if (level != kLevelZero && button == kPseudoStoreResult[static_cast<std::size_t>(level)]) {
            wizard.pairs[static_cast<std::size_t>(level)] = {
                wizard.codes.dac[static_cast<std::size_t>(level)], context.dmm.DmmReading};
            return;
        }
    }
    switch (button) {
        case kStore:
            StoreCalibration(context, wizard);
            break;
        case kLoadDefaults:
            wizard.codes = kDefaultDacCodes;
            break;
        case kDmmConnect:
            ConnectMultimeter(context);
            break;
        case kDmmMeasure: {
            const std::vector<std::string> ranges = ui::ListItems(context.gui, kDmmRange);
            const int chosen = ui::ListSelection(context.gui, kDmmRange);
            const std::string range = chosen >= 0 && chosen < static_cast<int>(ranges.size())
                                          ? ranges[static_cast<std::size_t>(chosen)]
                                          : std::string();
            ReadMultimeter(context, wizard, range);
            break;
        }
        case kGo:
            PressGo(context, wizard);
            break;
        case kPseudoReadDmm:
            ReadMultimeter(context, wizard, "10V");
            break;
        case kPseudoCalculate:
            Calculate(context, wizard);
            break;
        case kPseudoZeroingPass:
            ZeroingPass(context, wizard);
            break;
        default:
            break;
    }
}

void RunBookkeeping(CalibrationContext& context, CalibrationWizard& wizard) {
    AutoRun& run = wizard.run;
    if (run.step == 0)
        return;
    const std::int64_t now = NowMs(context.link.clock);
    if (now < run.nextStepMs) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f",
                      static_cast<double>(run.nextStepMs - now) / 1000.0);
        ui::SetControlText(context.gui, kCountdown, text);
        return;
    }
    if (run.step > kAutoLastStep) {
        EndRun(context, wizard);
        ShowStatus(context, wizard, "0: idle");
        PlaySoundIfLoaded(context.media, Sound::TestGood);
        return;
    }
    const AutoStep step = AutoStepAt(run.step);
    wizard.pending = step.press;
    run.nextStepMs = now + step.delayMs;
    std::string status = Text(run.step) + std::string(step.status);
    if (run.step == kZeroingStep - 1)
        run.zeroingPasses = kZeroingPasses;
    if (run.step == kZeroingStep) {
        status += Text(run.zeroingPasses);
    } else {
        ++run.step;
    }
    ShowStatus(context, wizard, status);
}

// The live ADC means of the newest frame, when one has come.
void TakeAdcMeans(CalibrationContext& context, CalibrationWizard& wizard) {
    Link& link = context.link;
    PollInstrument(link, kWizardPollMs);
    ReceiveFrames(link, context.log);
    std::int64_t sum0 = 0, sum1 = 0;
    {
        std::lock_guard lock(link.frameMutex);
        if (!link.frames.NewFrame)
            return;
        link.frames.NewFrame = false;
        for (int k = 1; k <= kFrameSamples; ++k) {
            sum0 += link.frames.raw.channelA[static_cast<std::size_t>(k)] / kReadingsPerSample;
            sum1 += link.frames.raw.channelB[static_cast<std::size_t>(k)] / kReadingsPerSample;
        }
    }
    wizard.adc0Live = static_cast<int>(sum0 / kFrameSamples);
    wizard.adc1Live = static_cast<int>(sum1 / kFrameSamples);
    ui::SetControlText(context.gui, kAdc0Live, Text(wizard.adc0Live));
    ui::SetControlText(context.gui, kAdc1Live, Text(wizard.adc1Live));
}

// Another of the program's windows took the user's attention.
bool ElsewhereActive(CalibrationContext& context, CalibrationWizard& wizard) {
    const int active = ui::ActiveWindow(context.gui);
    if (active == kWindow)
        wizard.hadFocus = true;
    return wizard.hadFocus && active != 0 && active != kWindow;
}

void Close(CalibrationContext& context, CalibrationWizard& wizard) {
    Link& link = context.link;
    link.registers.values[kRegControl] &= ~static_cast<std::int64_t>(kControlCalibrationOutput);
    ORV_StopConnection(link, context.log);
    ui::CloseWindow(context.gui, kWindow);
    for (const ui::Event& event : wizard.deferred)
        context.gui.pending.push_back(event);
    wizard.deferred.clear();
    wizard.open = false;
    wizard.run = AutoRun{};
}

}  // namespace

bool BeginCalibrationWizard(CalibrationContext& context, CalibrationWizard& wizard) {
    wizard = CalibrationWizard{};
    wizard.largeFamily = !IsSmallFamily(context.model);
    ui::Gui& gui = context.gui;
    const int height = wizard.largeFamily ? kLargeFamilyWindowHeight : kSmallFamilyWindowHeight;
    if (!ui::OpenWindow(gui, kWindow, CalibrationWindowTitle(context.model), kCalibrationWindowX,
                        kCalibrationWindowY, kCalibrationWindowWidth, height)) {
        ShowUserMessage(context.log, "Error #0057 ADC CALIBRATE window won't start");
        return false;
    }
    BuildCalibrationWindow(gui, context.model, wizard.largeFamily, context.defaultAddress);
    if (DmmConnected(context.dmm))
        ui::SetControlText(gui, kDmmConnect, "Connected");
    if (!context.link.state.Connected) {
        ShowUserMessage(context.log,
                        "Info #0056 No USB detected - Please connect to device and retry");
        ui::CloseWindow(gui, kWindow);
        return false;
    }
    {
        std::lock_guard lock(context.link.linkMutex);
        ReadCalibrationText(context.link, kCalibrationFileName);
    }
    const auto code = [](std::string_view key) {
        return ParseSettingNumber(FindSettingValue(kCalibrationFileName, key));
    };
    wizard.codes.dac = {code("DAC@10V"), code("DAC@1V"), code("DAC@0V"), code("DAC@-1V"),
                        code("DAC@-10V")};
    wizard.instrumentFields = ReadCalibrationFields(kCalibrationFileName);
    wizard.codes.dcBias10 = code("DCBIAS@10V");
    wizard.codes.dcBiasMinus10 = code("DCBIAS@-10V");
    wizard.open = true;
    return true;
}

namespace {

// How long a pass may sleep waiting for an event: no later than the next poll or the
// automatic run's next step is due, in real time on the link's clock, which a test may
// run fast.
int WizardWaitMs(const CalibrationContext& context, const CalibrationWizard& wizard) {
    std::int64_t due = context.link.state.LastPollTime + kWizardPollMs;
    if (wizard.run.step != 0)
        due = std::min(due, wizard.run.nextStepMs);
    return RealMsUntil(context.link.clock, due, kWizardWaitMs);
}

}  // namespace

bool CalibrationWizardPass(CalibrationContext& context, CalibrationWizard& wizard) {
    if (!wizard.open)
        return false;
    bool closeRequested = false;
    const ui::Event event = ui::WaitEvent(context.gui, WizardWaitMs(context, wizard));
    if (event.kind != ui::EventKind::None && event.window == kWindow) {
        if (event.kind == ui::EventKind::Control)
            wizard.pending = event.number;
        closeRequested = event.kind == ui::EventKind::CloseRequest;
    } else if (event.kind != ui::EventKind::None) {
        // A click into another window takes the attention from this one and closes it; a
        // move, resize or close request of another window waits for that window's loop.
        const bool attention =
            event.kind == ui::EventKind::LeftClick || event.kind == ui::EventKind::RightClick ||
            event.kind == ui::EventKind::Control || event.kind == ui::EventKind::Menu;
        if (attention) {
            closeRequested = true;
        } else {
            wizard.deferred.push_back(event);
            closeRequested = event.kind == ui::EventKind::CloseRequest;
        }
    }
    RunBookkeeping(context, wizard);
    if (wizard.pending != 0) {
        const int button = wizard.pending;
        wizard.pending = 0;
        Execute(context, wizard, button);
    }
    TakeAdcMeans(context, wizard);
    if (closeRequested || ElsewhereActive(context, wizard)) {
        Close(context, wizard);
        return false;
    }
    return true;
}

void OpenCalibrationWizard(CalibrationContext& context) {
    CalibrationWizard wizard;
    if (!BeginCalibrationWizard(context, wizard))
        return;
    while (CalibrationWizardPass(context, wizard)) {
    }
}

}  // namespace orv
