// Makes the demo test plans of the simulated board:
//
//     orv-make-demo-plans <folder>
//
// writes <folder>/testplans/images/demo_board.png and .jpg, a photograph of the board
// the simulated instrument probes; <folder>/testplans/demo_A.orv, one untested record
// per pin of that board with its position on the photograph; and
// <folder>/testplans/demo_B.orv, the same plan with the golden signatures measured on
// the known-good board, ready to test the faulty one against.

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/files.h"
#include "media/image_encoding.h"
#include "link/sim/board.h"
#include "testplan/cell_numbers.h"
#include "testplan/orv_file.h"
#include "testplan/record_cells.h"
#include "testplan/test_plan.h"
#include "tools/demo_board_layout.h"
#include "tools/demo_board_photo.h"
#include "tools/demo_golden.h"

namespace {

using orv::demo::LayoutPart;

// Stored the way plans made on the bench computer store it.
constexpr const char* kImageCell = "testplans\\images\\demo_board.jpg";
constexpr const char* kPngPath = "testplans/images/demo_board.png";
constexpr const char* kJpegPath = "testplans/images/demo_board.jpg";
constexpr int kRecordZoom = 4;
const orv::GeneratorSettings kSettings{1000, 1000, 50, 0, 0, 0, 0};

std::string Whole(double value) {
    return orv::IntegerText(static_cast<std::int64_t>(std::nearbyint(value)));  // halves to even
}

// One record per pin; nothing when a pin of the board has no place on the photograph.
bool FillRecords(orv::TestPlan& plan, const std::vector<orv::sim::BoardPin>& pins,
                 const std::vector<LayoutPart>& parts) {
    using namespace orv::column;
    orv::ResizeTable(plan, 1 + static_cast<int>(pins.size()), orv::kPlanColumns);
    orv::SetCell(plan, 1, kImageFile, kImageCell);
    orv::SetCell(plan, 1, kViewX, Whole(orv::demo::kPhotoWidth / 2));
    orv::SetCell(plan, 1, kViewY, Whole(orv::demo::kPhotoHeight / 2));
    orv::SetCell(plan, 1, kZoom, "1");
    for (size_t i = 0; i < pins.size(); ++i) {
        const orv::sim::BoardPin& pin = pins[i];
        const LayoutPart* part = orv::demo::FindPart(parts, pin.component);
        const auto pad = orv::demo::PinPad(parts, pin.component, pin.pin);
        if (part == nullptr || !pad) {
            std::fprintf(stderr, "orv-make-demo-plans: %s pin %s is not on the photograph\n",
                         pin.component.c_str(), pin.pin.c_str());
            return false;
        }
        const int row = 2 + static_cast<int>(i);
        orv::SetCell(plan, row, kVoltage, Whole(kSettings.PeakMillivolts));
        orv::SetCell(plan, row, kVoltageUnit, "mVpk");
        orv::SetCell(plan, row, kResistance, Whole(kSettings.SourceOhms));
        orv::SetCell(plan, row, kResistanceUnit, "ohms");
        orv::SetCell(plan, row, kFrequency, Whole(kSettings.FrequencyHz));
        orv::SetCell(plan, row, kFrequencyUnit, "Hz");
        orv::SetCell(plan, row, kDescription, pin.component + ", Pin " + pin.pin);
        orv::SetCell(plan, row, kStatus, orv::kUntested);
        orv::SetCell(plan, row, kComponent, pin.component);
        orv::SetCell(plan, row, kPin, pin.pin);
        orv::SetCell(plan, row, kViewX, Whole(part->centre.x()));
        orv::SetCell(plan, row, kViewY, Whole(part->centre.y()));
        orv::SetCell(plan, row, kZoom, Whole(kRecordZoom));
        orv::SetCell(plan, row, kTestX, Whole(pad->x()));
        orv::SetCell(plan, row, kTestY, Whole(pad->y()));
        orv::SetCell(plan, row, kScanSig, "0");
        orv::SetCell(plan, row, kScanCom, "0");
        orv::SetCell(plan, row, kSignature, "No");
    }
    orv::Renumber(plan);
    return true;
}

void StoreGoldens(orv::TestPlan& plan, const std::vector<orv::demo::GoldenSignature>& goldens) {
    for (size_t i = 0; i < goldens.size(); ++i) {
        const int row = 2 + static_cast<int>(i);
        const orv::SignatureBuffer& points = goldens[i].points;
        orv::StoreSignature(plan, row, orv::kGoldenBlock, kSettings, goldens[i].pointCount,
                            orv::StoredPoints(points.X), orv::StoredPoints(points.Y));
        orv::SetCell(plan, row, orv::column::kSignature, "Yes");
    }
}

bool Write(const std::string& path, const std::string& bytes) {
    if (orv::ReplaceFile(path, path + ".tmp", bytes) == orv::ReplaceResult::Replaced)
        return true;
    std::fprintf(stderr, "orv-make-demo-plans: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orv-make-demo-plans <folder>\n");
        return 2;
    }
    // Drawing text needs a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir(folder).mkpath("testplans/images")) {
        std::fprintf(stderr, "orv-make-demo-plans: cannot create folders in %s\n", argv[1]);
        return 1;
    }

    const std::vector<orv::sim::BoardPin> pins = orv::sim::ListPins(orv::sim::MakeKnownGoodBoard());
    const std::vector<LayoutPart> parts = orv::demo::DemoBoardLayout();
    orv::TestPlan plan;
    if (!FillRecords(plan, pins, parts))
        return 1;

    // The measuring run leaves a log and a calibration file behind: not in the output.
    QTemporaryDir scratch;
    if (!scratch.isValid() || !QDir::setCurrent(scratch.path()))
        return 1;
    const auto goldens = orv::demo::MeasureGoldenSignatures(pins, kSettings);
    if (!goldens)
        return 1;
    if (!QDir::setCurrent(folder))
        return 1;

    const QImage photo = orv::demo::DrawDemoBoard(parts, orv::demo::DemoBoardNets());
    const auto jpeg = orv::EncodeJpeg(photo, 92);
    if (!photo.save(kPngPath, "PNG") || !jpeg || !Write(kJpegPath, *jpeg))
        return 1;
    if (!Write("testplans/demo_A.orv", orv::TestPlanBytes(plan)))
        return 1;
    StoreGoldens(plan, *goldens);
    if (!Write("testplans/demo_B.orv", orv::TestPlanBytes(plan)))
        return 1;
    return 0;
}
