#include <gtest/gtest.h>

#include "app/running_program.h"
#include "core/event_log.h"
#include "core/settings.h"
#include "ui/control_numbers.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace orv {
namespace {

constexpr int kStandInMenu = 9901;

class InstrumentChangeTest : public test::RunningProgram {
protected:
    // The main window's menus come with the menu bar; until the window has them, a
    // stand-in menu carries every menu command, so that the refresh finds its items and
    // the marks can be read.
    void EnsureMenus() {
        ui::Gui& gui = *program_.gui;
        if (ui::MenuItemExists(gui, kMenuFileNew))
            return;
        ASSERT_TRUE(ui::AddMenu(gui, ui::kMainWindow, 0, kStandInMenu, "Menu"));
        for (const int command : control_numbers::kAllMenuCommands) {
            ASSERT_TRUE(ui::AddMenuItem(gui, ui::kMainWindow, kStandInMenu, command,
                                        std::to_string(command), true));
        }
    }
    void ChooseMenu(int command) {
        while (!program_.gui->pending.empty())
            Pass();
        program_.gui->pending.push_back({ui::EventKind::Menu, command, ui::kMainWindow});
        Pass();
    }
    std::vector<int> CheckedInstruments() {
        std::vector<int> checked;
        for (const int command : kMenuInstruments) {
            if (ui::IsMenuItemChecked(*program_.gui, command))
                checked.push_back(command);
        }
        return checked;
    }
};

TEST_F(InstrumentChangeTest, TheChoiceIsKeptForTheNextStartAndTheRunGoesOn) {
    Start("ORV310");
    EnsureMenus();
    const std::string title = ui::WindowTitle(*program_.gui, ui::kMainWindow);

    ChooseMenu(kMenuInstruments[2]);

    EXPECT_EQ(FindSettingValue(kSettingsFileName, "ActiveInstrument"), "ORV320");
    EXPECT_EQ(FindSettingValue(kSettingsFileName, "DateOfLastUpdateCheck"), "01/01/2021");
    EXPECT_EQ(program_.app.ChosenInstrument, "ORV320");
    EXPECT_EQ(CheckedInstruments(), std::vector<int>{kMenuInstruments[2]});
    const ui::ShownBox expected{ui::ShownBox::Kind::Message, "Info",
                                "Change will take effect when you restart ORV",
                                ui::BoxIcon::Information};
    EXPECT_EQ(Dialogs().shown, std::vector<ui::ShownBox>{expected});
    EXPECT_EQ(test::FileText(std::string(kLogFileName)).find("restart"), std::string::npos);

    // Still the model it started as: same title, and an ORV310 is accepted on connect.
    EXPECT_EQ(program_.app.settings.ActiveInstrument, "ORV310");
    EXPECT_EQ(ui::WindowTitle(*program_.gui, ui::kMainWindow), title);
    Connect();
}

TEST_F(InstrumentChangeTest, EveryItemChoosesItsModelAndOtherCommandsNone) {
    Start("ORV340X");
    EnsureMenus();
    const std::string models[] = {"ORV310", "ORV311P", "ORV320", "ORV340"};
    // The same model twice runs the same steps again.
    const int order[] = {3, 0, 1, 1, 2};
    for (const int i : order) {
        Dialogs().shown.clear();
        ChooseMenu(kMenuInstruments[static_cast<size_t>(i)]);
        EXPECT_EQ(FindSettingValue(kSettingsFileName, "ActiveInstrument"), models[i]);
        EXPECT_EQ(CheckedInstruments(), std::vector<int>{kMenuInstruments[static_cast<size_t>(i)]});
        EXPECT_EQ(Dialogs().shown.size(), 1u);
    }

    const std::string settings = test::FileText("ORV_settings.txt");
    Dialogs().shown.clear();
    // The numbers beside the range, which no menu item carries.
    ChooseMenu(kMenuInstruments.front() - 1);
    ChooseMenu(kMenuInstruments.back() + 1);
    EXPECT_EQ(test::FileText("ORV_settings.txt"), settings);
    EXPECT_EQ(program_.app.ChosenInstrument, "ORV320");
    EXPECT_TRUE(Dialogs().shown.empty());
    EXPECT_EQ(program_.app.settings.ActiveInstrument, "ORV340X");
}

}  // namespace
}  // namespace orv
