#include "app/running_editor.h"

#include <cmath>

#include "testplan/package_templates.h"
#include "ui/controls.h"

namespace orv::test {

void RunningEditor::Open() {
    ASSERT_TRUE(BeginRecordEditor(program_, session_));
    ASSERT_TRUE(ui::IsWindowOpen(*program_.gui, kRecordEditorWindow));
}

void RunningEditor::Serve() {
    while (!program_.gui->pending.empty() && session_.open)
        RecordEditorPass(program_, session_);
}

void RunningEditor::Post(ui::EventKind kind, int number, int x, int y) {
    program_.gui->pending.push_back({kind, number, kRecordEditorWindow, x, y});
    Serve();
}

void RunningEditor::ClickImage(double x, double y, ui::EventKind kind) {
    const ShownImage& s = session_.shown;
    const auto across = [](double v, int from, int to, int origin, int size) {
        return origin + static_cast<int>(std::lround((v - from) * size / (to - from)));
    };
    const PictureArea& area = kEditorPictureArea;
    Post(kind, 0, across(x, s.left, s.right, area.x, area.width),
         across(y, s.top, s.bottom, area.y, area.height));
}

void RunningEditor::Type(int field, const std::string& text) {
    ui::SetControlText(*program_.gui, field, text);
}

std::string RunningEditor::Text(int control) {
    return ui::ControlText(*program_.gui, control);
}

void RunningEditor::ChoosePackage(std::string_view label) {
    const auto entries = PackageTemplates();
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (entries[k].label == label)
            ui::SetListSelection(*program_.gui, editor::kPackageList, static_cast<int>(k));
    }
    ASSERT_EQ(Text(editor::kPackageList), label);
    Control(editor::kPackageList);
}

}  // namespace orv::test
