#pragma once
// How far a live signature lies from the golden signature of the current record, in
// percent of full scale: the least tolerance at which every segment of the closed
// golden curve has some live point near it. Live points far from every golden
// segment do not count; a golden stretch that no live point comes near does.

#include <optional>

#include "engine/signatures.h"
#include "testplan/test_plan.h"

namespace orv {

struct SignaturePoint {
    float x = 0;
    float y = 0;
};

// 1 when P lies within `tolerance` of the segment AB, else -1. In single precision;
// lengths of exactly 0 count as 1e-9, and a cosine that rounding pushed out of -1..1
// counts as an angle beyond a right angle.
int PointNearSegment(SignaturePoint a, SignaturePoint b, float tolerance, SignaturePoint p);

// 1 when every segment of CompareGolden (points 1..n, closed) has a point of
// CompareLive within the tolerance, else -1. n is kept within 1..128.
int MatchWithin(const Signatures& signatures, float tolerance, int pointCount);

// The tolerance that 16 halvings from 10 % converge on (within 10/65536 of the least
// one that matches; between about 0.00015 and 19.99985), for signatures already in
// percent of full scale.
float BisectDifference(const SignatureBuffer& golden, const SignatureBuffer& live, int pointCount);

// Both signatures in percent of the record's golden full scale, points 1..n into
// `golden` and `scaledLive`; n is the record's golden point count kept within 1..128.
// False, with nothing written, for a row outside the plan or a record without a golden
// voltage or resistance.
bool ScaleForComparison(const TestPlan& plan, int row, const SignatureBuffer& live,
                        SignatureBuffer& golden, SignatureBuffer& scaledLive, int& pointCount);

// The difference of `live` (volts and amperes) from the record's golden signature,
// worked out as ComputeDifference does; nothing where ScaleForComparison refuses.
std::optional<float> RecordDifference(const TestPlan& plan, int row, const SignatureBuffer& live);

// Scales the record's golden signature and TraceBuffer to percent of the record's full
// scale into CompareGolden and CompareLive and stores their difference in
// DifferencePercent. A row outside the plan, or a record without a golden voltage or
// resistance, leaves DifferencePercent as it was.
void ComputeDifference(const TestPlan& plan, int testPlanIndex, Signatures& signatures,
                       Measurement& measurement);

}  // namespace orv
