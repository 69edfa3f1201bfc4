#pragma once
// Qt's real modal boxes behind the Dialogs interface.

#include "ui/dialogs.h"

namespace orv::ui {

class QtDialogs final : public Dialogs {
public:
    void ShowMessageBox(const std::string& title, const std::string& text, BoxIcon icon) override;
    bool AskYesNo(const std::string& title, const std::string& text, BoxIcon icon) override;
};

}  // namespace orv::ui
