#pragma once
// The numbers of the "Edit/Add Records & Images" window and its controls, all inside
// the range kept for it.

#include <array>

#include "ui/control_numbers.h"

namespace orv {

namespace editor {

inline constexpr int kImageArea = 7001;
inline constexpr int kSelectImageText = 7002;
inline constexpr int kSelectImage = 7003;
inline constexpr int kImageFile = 7004;
inline constexpr int kSelectRecordText = 7005;
inline constexpr int kInsertDeleteText = 7006;
inline constexpr int kPrevious = 7007;
inline constexpr int kNext = 7008;
inline constexpr int kInsertBefore = 7009;
inline constexpr int kInsertAfter = 7010;
inline constexpr int kPreviousComponent = 7011;
inline constexpr int kNextComponent = 7012;
inline constexpr int kDeleteComponent = 7013;
inline constexpr int kFirst = 7014;
inline constexpr int kLast = 7015;
inline constexpr int kDeletePin = 7016;
inline constexpr int kAdjustImageText = 7017;
inline constexpr int kZoomIn = 7018;
inline constexpr int kZoomWindow = 7019;
inline constexpr int kUp = 7020;
inline constexpr int kZoomOut = 7021;
inline constexpr int kLeft = 7022;
inline constexpr int kCentre = 7023;
inline constexpr int kRight = 7024;
inline constexpr int kZoomAll = 7025;
inline constexpr int kDown = 7026;
inline constexpr int kNameText = 7027;
inline constexpr int kComponentName = 7028;
inline constexpr int kAutoIncrement = 7029;
inline constexpr int kPackageText = 7030;
inline constexpr int kPackageList = 7031;
inline constexpr std::array<int, 4> kQuantityLabels = {7032, 7033, 7034, 7035};
inline constexpr std::array<int, 4> kQuantityFields = {7036, 7037, 7038, 7039};
inline constexpr int kCreateText = 7040;
inline constexpr int kMovePinText = 7041;
inline constexpr int kCreateComponent = 7042;
inline constexpr int kMovePin = 7043;
inline constexpr int kFollowText = 7044;
inline constexpr int kAnotherText = 7045;
inline constexpr int kSaveText = 7046;
inline constexpr int kQuickSave = 7047;
inline constexpr int kFirstHeading = 7051;  // 15 column headings: 7051..7065
inline constexpr int kStoredRowLabel = 7070;
inline constexpr int kRecordNumber = 7071;
// The ".ORV file > " row after "#record", in column order: Status, Description,
// Component, Pin, User Text, View X, View Y, Zoom, Test X, Test Y, ScanSig, ScanCom,
// Signature.
inline constexpr int kFirstStoredField = 7072;  // 7072..7084
inline constexpr int kUpdateSingle = 7090;
inline constexpr int kToWriteLabel = 7091;
// The "To write > " row, in the same column order with Image X, Image Y and Image Zoom
// for the view cells.
inline constexpr int kFirstToWriteField = 7092;  // 7092..7104
inline constexpr int kUpdateDescriptions = 7110;
inline constexpr int kUpdateComponentName = 7111;
inline constexpr int kUpdateView = 7112;

// The Escape key of the window, reported as a command: whatever the next click on the
// picture was awaited for (a placement, the zoom window, Move Pin) is called off.
inline constexpr int kCancelCommand = 7120;

inline constexpr int kRecordColumns = 13;
inline constexpr int kHeadings = 15;
inline constexpr int kLastControl = kUpdateView;

// Positions of the record columns in the two field rows.
inline constexpr int kStatusField = 0;
inline constexpr int kDescriptionField = 1;
inline constexpr int kComponentField = 2;
inline constexpr int kPinField = 3;
inline constexpr int kUserTextField = 4;
inline constexpr int kViewXField = 5;
inline constexpr int kViewYField = 6;
inline constexpr int kZoomField = 7;
inline constexpr int kTestXField = 8;
inline constexpr int kTestYField = 9;
inline constexpr int kScanSigField = 10;
inline constexpr int kScanComField = 11;
inline constexpr int kSignatureField = 12;

constexpr int StoredField(int column) {
    return kFirstStoredField + column;
}
constexpr int ToWriteField(int column) {
    return kFirstToWriteField + column;
}

static_assert(kImageArea >= kRecordEditorFirstControl && kLastControl <= kRecordEditorLastControl,
              "a record editor control lies outside its range");
static_assert(kCancelCommand > kLastControl && kCancelCommand <= kRecordEditorLastControl,
              "the record editor's command lies among its controls or outside its range");
static_assert(kFirstHeading + kHeadings - 1 < kStoredRowLabel &&
                  StoredField(kRecordColumns - 1) < kUpdateSingle &&
                  ToWriteField(kRecordColumns - 1) < kUpdateDescriptions,
              "two record editor controls share a number");

}  // namespace editor

}  // namespace orv
