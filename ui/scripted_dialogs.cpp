#include "ui/dialogs.h"

namespace orv::ui {

void ScriptedDialogs::ShowMessageBox(const std::string& title, const std::string& text,
                                     BoxIcon icon) {
    shown.push_back({ShownBox::Kind::Message, title, text, icon});
}

bool ScriptedDialogs::AskYesNo(const std::string& title, const std::string& text, BoxIcon icon) {
    shown.push_back({ShownBox::Kind::YesNo, title, text, icon});
    if (yesNoAnswers.empty())
        return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::OpenWebAddress(const std::string& address) {
    openedAddresses.push_back(address);
    return true;
}

}  // namespace orv::ui
