#pragma once

// Ids of the strings the main window and its probe fetch (see app/Strings.h).
namespace quillon::ids {
constexpr int kAboutMenuItem = 101;
constexpr int kOutOfMemory = 1004;
constexpr int kColumnProfile = 1006;
constexpr int kColumnClass = 1007;
constexpr int kColumnColourSpace = 1008;
constexpr int kFormatNcpProfile = 1009;
constexpr int kNoNcpProfile = 1010;
constexpr int kBuildingNcpList = 1011;
constexpr int kMaxProfilesReached = 1012;
constexpr int kAlreadyInList = 1013;
constexpr int kCannotLoadProfile = 1014;
constexpr int kShapeFlagsWrong = 1015;
constexpr int kCannotBuildShape = 1016;
constexpr int kClassDisplay = 1017;
constexpr int kClassInput = 1018;
constexpr int kClassOutput = 1019;
constexpr int kUnsupported = 1020;
constexpr int kSpaceRgb = 1021;
constexpr int kSpaceCmyk = 1022;
constexpr int kSpaceSixColour = 1023;
constexpr int kCannotLoadGlp = 1024;
constexpr int kBuildingShape = 1025;
constexpr int kCannotUseProfile = 1026;
constexpr int kUnsupportedColourSpace = 1027;
constexpr int kSelectProfileFirst = 1028;
constexpr int kConfirmRemove = 1029;
constexpr int kConfirmClose = 1030;
constexpr int kCannotLoadNcp = 1031;
constexpr int kCannotReadNcpColours = 1032;
} // namespace quillon::ids
