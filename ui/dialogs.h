#pragma once
// Modal boxes and choosers, and the hand-over of a web address to the desktop's
// browser. Logic talks to this interface only: the program uses Qt's real dialogs,
// tests use ScriptedDialogs, which answers from a script and records every box it was
// asked to show and every address it was asked to open.

#include <deque>
#include <string>
#include <vector>

namespace orv::ui {

enum class BoxIcon { None, Information, Warning, Error, Question };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A box with a single OK button; returns when the user has closed it.
    virtual void ShowMessageBox(const std::string& title, const std::string& text,
                                BoxIcon icon) = 0;
    // A box with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(const std::string& title, const std::string& text, BoxIcon icon) = 0;
    // Opens the address in the user's web browser without waiting for it; false when
    // no browser could be started.
    virtual bool OpenWebAddress(const std::string& address) = 0;
};

struct ShownBox {
    enum class Kind { Message, YesNo };
    Kind kind = Kind::Message;
    std::string title;
    std::string text;
    BoxIcon icon = BoxIcon::None;

    bool operator==(const ShownBox&) const = default;
};

class ScriptedDialogs final : public Dialogs {
public:
    void ShowMessageBox(const std::string& title, const std::string& text, BoxIcon icon) override;
    // Takes the next scripted answer; an unscripted question is answered No.
    bool AskYesNo(const std::string& title, const std::string& text, BoxIcon icon) override;
    bool OpenWebAddress(const std::string& address) override;

    std::deque<bool> yesNoAnswers;
    std::vector<ShownBox> shown;
    std::vector<std::string> openedAddresses;
};

}  // namespace orv::ui
