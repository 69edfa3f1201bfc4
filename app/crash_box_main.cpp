// orv-crash-box: shows a crash report in the "OnError Handler" box. The faulted
// program starts it, since a process that has just faulted cannot safely draw.

#include <string>

#include "ui/application.h"
#include "ui/qt_dialogs.h"

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    orv::ui::Application application(argc, argv);
    std::string report = argv[1];
    // The report separates its lines with a lone CR, which a box does not break on.
    for (char& c : report) {
        if (c == '\r')
            c = '\n';
    }
    orv::ui::ShowFixedPitchReport("OnError Handler", report);
    return 0;
}
