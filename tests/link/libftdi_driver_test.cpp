// The real backend on a machine without the instrument: it loads libftdi1 when the
// library is installed and then finds nothing; without the library it says so.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "link/connection.h"
#include "link_fixture.h"

namespace orv {
namespace {

class LibFtdiDriverTest : public test::InWorkingDir {};

TEST_F(LibFtdiDriverTest, ConnectingWithoutTheInstrument) {
    void* library = dlopen("libftdi1.so.2", RTLD_NOW | RTLD_LOCAL);
    const bool installed = library != nullptr;
    if (library != nullptr)
        dlclose(library);

    const std::unique_ptr<UsbDriver> driver = MakeLibFtdiDriver();
    ASSERT_EQ(driver->LoadLibrary(), installed);
    driver->UnloadLibrary();

    Link link;
    link.driver = driver.get();
    AppState app;
    ui::ScriptedDialogs dialogs;
    EventLog log;
    log.dialogs = &dialogs;
    ConnectMenuItem(link, app, log);
    EXPECT_FALSE(link.state.Connected);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    if (installed) {
        EXPECT_EQ(dialogs.shown[0].title, "Info #0056");
        EXPECT_EQ(dialogs.shown[0].text,
                  "No USB detected, please check instrument is connected via USB.");
        EXPECT_FALSE(driver->LibraryLoaded());  // unloaded again after finding nothing
    } else {
        EXPECT_EQ(dialogs.shown[0].title, "Error #0005");
        EXPECT_EQ(dialogs.shown[0].text, "FTD2XX.DLL failed to open.");
    }
    EXPECT_EQ(dialogs.shown[1].title, "Warning #0061");

    // Handle calls without an open device fail cleanly.
    std::uint32_t rx = 7, tx = 0, events = 0;
    EXPECT_EQ(driver->GetStatus(rx, tx, events), kUsbInvalidHandle);
    EXPECT_EQ(rx, 0u);
    EXPECT_EQ(driver->Close(), kUsbInvalidHandle);
}

}  // namespace
}  // namespace orv
