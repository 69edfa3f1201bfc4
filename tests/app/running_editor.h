#pragma once
// The running program with its record editor open, driven as the window reports what
// the user does: buttons, list choices and clicks on the picture go in as events and
// the editor's loop serves them pass by pass.

#include <string>
#include <string_view>

#include "app/record_editor.h"
#include "app/running_program.h"
#include "display/record_editor_window.h"

namespace orv::test {

class RunningEditor : public RunningProgram {
protected:
    void Open();
    // Passes of the editor's loop until every reported event is served.
    void Serve();
    void Post(ui::EventKind kind, int number = 0, int x = 0, int y = 0);
    void Control(int number) { Post(ui::EventKind::Control, number); }
    // A click on the picture where it shows the image pixel (x, y).
    void ClickImage(double x, double y, ui::EventKind kind = ui::EventKind::LeftClick);
    void ClickImage(ImagePoint p, ui::EventKind kind = ui::EventKind::LeftClick) {
        ClickImage(p.x, p.y, kind);
    }
    void Type(int field, const std::string& text);
    std::string Text(int control);
    // Picks the package list's entry, as the user does in its drop-down.
    void ChoosePackage(std::string_view label);

    RecordEditorSession session_;
};

}  // namespace orv::test
