#pragma once
// Modal boxes and choosers, and the hand-over of a web address to the desktop's
// browser. Logic talks to this interface only: the program uses Qt's real dialogs,
// tests use ScriptedDialogs, which answers from a script and records every box it was
// asked to show and every address it was asked to open.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace orv::ui {

enum class BoxIcon { None, Information, Warning, Error, Question };

// One entry of a file dialog's type list: "Test (*.orv)" with "*.orv".
struct FileFilter {
    std::string label;
    std::string pattern;
    bool operator==(const FileFilter&) const = default;
};

// The answers to a question about unsaved work.
enum class SaveAnswer { Save, Discard, Cancel };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A box with a single OK button; returns when the user has closed it.
    virtual void ShowMessageBox(const std::string& title, const std::string& text,
                                BoxIcon icon) = 0;
    // A box with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(const std::string& title, const std::string& text, BoxIcon icon) = 0;
    // A question with Save, Discard and Cancel buttons; closing the box cancels.
    virtual SaveAnswer AskSaveDiscardCancel(const std::string& title, const std::string& text) = 0;
    // Opens the address in the user's web browser without waiting for it; false when
    // no browser could be started.
    virtual bool OpenWebAddress(const std::string& address) = 0;
    // The platform's colour chooser, preset to `initial` (red + 256 green + 65536 blue);
    // the colour the user confirmed, or nothing when they cancelled.
    virtual std::optional<std::int64_t> ChooseColour(const std::string& title,
                                                     std::int64_t initial) = 0;
    // The platform's open and save dialogs, the first filter chosen; the chosen file's
    // name, or empty when the user cancelled.
    virtual std::string ChooseFileToOpen(const std::string& title, const std::string& defaultFile,
                                         const std::vector<FileFilter>& filters) = 0;
    virtual std::string ChooseFileToSave(const std::string& title, const std::string& defaultFile,
                                         const std::vector<FileFilter>& filters) = 0;
};

// A file dialog as a test sees it.
struct FileRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    std::string title;
    std::string defaultFile;
    std::vector<FileFilter> filters;
    bool operator==(const FileRequest&) const = default;
};

struct ShownBox {
    enum class Kind { Message, YesNo, Colour, SaveDiscardCancel };
    Kind kind = Kind::Message;
    std::string title;
    std::string text;
    BoxIcon icon = BoxIcon::None;
    std::int64_t colour = 0;  // the colour a chooser was preset to

    bool operator==(const ShownBox&) const = default;
};

class ScriptedDialogs final : public Dialogs {
public:
    void ShowMessageBox(const std::string& title, const std::string& text, BoxIcon icon) override;
    // Takes the next scripted answer; an unscripted question is answered No.
    bool AskYesNo(const std::string& title, const std::string& text, BoxIcon icon) override;
    // Takes the next scripted answer; an unscripted question is cancelled.
    SaveAnswer AskSaveDiscardCancel(const std::string& title, const std::string& text) override;
    // Takes the next scripted colour; an unscripted chooser is cancelled.
    std::optional<std::int64_t> ChooseColour(const std::string& title,
                                             std::int64_t initial) override;
    // Takes the next scripted file name; an unscripted dialog is cancelled.
    std::string ChooseFileToOpen(const std::string& title, const std::string& defaultFile,
                                 const std::vector<FileFilter>& filters) override;
    std::string ChooseFileToSave(const std::string& title, const std::string& defaultFile,
                                 const std::vector<FileFilter>& filters) override;
    bool OpenWebAddress(const std::string& address) override;

    std::deque<bool> yesNoAnswers;
    std::deque<SaveAnswer> saveAnswers;
    std::deque<std::optional<std::int64_t>> colourAnswers;  // nothing: the user cancels
    std::vector<ShownBox> shown;
    std::deque<std::string> fileAnswers;
    std::vector<FileRequest> fileRequests;
    std::vector<std::string> openedAddresses;
};

}  // namespace orv::ui
