#include "base/dialogs.h"

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

SaveAnswer ScriptedDialogs::AskSaveDiscardCancel(const std::string& title,
                                                 const std::string& text) {
    shown.push_back({ShownBox::Kind::SaveDiscardCancel, title, text, BoxIcon::Question});
    if (saveAnswers.empty())
        return SaveAnswer::Cancel;
    const SaveAnswer answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

namespace {

std::string NextFileAnswer(std::deque<std::string>& answers) {
    if (answers.empty())
        return {};
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

std::string ScriptedDialogs::ChooseFileToOpen(const std::string& title,
                                              const std::string& defaultFile,
                                              const std::vector<FileFilter>& filters) {
    fileRequests.push_back({FileRequest::Kind::Open, title, defaultFile, filters});
    return NextFileAnswer(fileAnswers);
}

std::string ScriptedDialogs::ChooseFileToSave(const std::string& title,
                                              const std::string& defaultFile,
                                              const std::vector<FileFilter>& filters) {
    fileRequests.push_back({FileRequest::Kind::Save, title, defaultFile, filters});
    return NextFileAnswer(fileAnswers);
}

std::optional<std::int64_t> ScriptedDialogs::ChooseColour(const std::string& title,
                                                          std::int64_t initial) {
    shown.push_back({ShownBox::Kind::Colour, title, {}, BoxIcon::None, initial});
    if (colourAnswers.empty())
        return std::nullopt;
    const std::optional<std::int64_t> answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::OpenWebAddress(const std::string& address) {
    openedAddresses.push_back(address);
    return true;
}

}  // namespace orv::ui
