#pragma once
// Small plans for the report tests: records with a circle as golden signature and,
// once judged, the same circle moved as the DUT signature.

#include <cmath>
#include <numbers>
#include <string>

#include "engine/signature_buffer.h"
#include "testplan/record_cells.h"
#include "testplan/test_plan.h"

namespace orv::test {

// A circle of 64 points filling `fraction` of the full scale of 1 V and 1 mA.
inline SignatureBuffer Circle(float fraction, float shiftVolts = 0) {
    SignatureBuffer s;
    for (int i = 1; i <= kDefaultSignaturePoints; ++i) {
        const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i - 1) /
                            static_cast<float>(kDefaultSignaturePoints);
        s.X[i] = fraction * std::cos(angle) + shiftVolts;
        s.Y[i] = fraction * 0.001f * std::sin(angle);
    }
    return s;
}

// Appends a record at 1000 mV, 1000 ohms, 1000 Hz; a Good or Bad one gets the golden
// circle moved by `dutShiftVolts` as its DUT signature.
inline int AddRecord(TestPlan& plan, const std::string& component, const std::string& pin,
                     const std::string& status, bool hasGolden = true, float dutShiftVolts = 0,
                     const std::string& note = {}, int x = 10, int y = 10) {
    const int row = RowCount(plan) + 1;
    ResizeTable(plan, row, kPlanColumns);
    SetCell(plan, row, column::kRecord, std::to_string(row));
    SetCell(plan, row, column::kDescription, component + ", Pin " + pin);
    SetCell(plan, row, column::kStatus, status);
    SetCell(plan, row, column::kComponent, component);
    SetCell(plan, row, column::kPin, pin);
    SetCell(plan, row, column::kUserText, note);
    SetCell(plan, row, column::kTestX, std::to_string(x));
    SetCell(plan, row, column::kTestY, std::to_string(y));
    SetCell(plan, row, column::kSignature, hasGolden ? "Yes" : "No");
    if (!hasGolden)
        return row;
    const GeneratorSettings generator{1000, 1000, 1000};
    const SignatureBuffer golden = Circle(0.5f);
    StoreSignature(plan, row, kGoldenBlock, generator, kDefaultSignaturePoints, golden.X, golden.Y);
    if (status == "Good" || status == "Bad") {
        const SignatureBuffer dut = Circle(0.5f, dutShiftVolts);
        StoreSignature(plan, row, kDutBlock, generator, kDefaultSignaturePoints, dut.X, dut.Y);
    }
    return row;
}

inline TestPlan EmptyPlan(const std::string& photo = {}) {
    TestPlan plan;
    ResizeTable(plan, 1, kPlanColumns);
    SetCell(plan, 1, column::kImageFile, photo);
    return plan;
}

}  // namespace orv::test
