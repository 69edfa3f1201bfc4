#pragma once
// Qt's real modal boxes behind the Dialogs interface.

#include "base/dialogs.h"

namespace orv::ui {

class QtDialogs final : public Dialogs {
public:
    void ShowMessageBox(const std::string& title, const std::string& text, BoxIcon icon) override;
    bool AskYesNo(const std::string& title, const std::string& text, BoxIcon icon) override;
    SaveAnswer AskSaveDiscardCancel(const std::string& title, const std::string& text) override;
    std::string ChooseFileToOpen(const std::string& title, const std::string& defaultFile,
                                 const std::vector<FileFilter>& filters) override;
    std::string ChooseFileToSave(const std::string& title, const std::string& defaultFile,
                                 const std::vector<FileFilter>& filters) override;
    std::optional<std::int64_t> ChooseColour(const std::string& title,
                                             std::int64_t initial) override;
    // Through the desktop's own opener (xdg-open on Linux).
    bool OpenWebAddress(const std::string& address) override;
};

// A box with an OK button whose text is set in a fixed-pitch font, so that padded
// columns line up.
void ShowFixedPitchReport(const std::string& title, const std::string& text);

}  // namespace orv::ui
