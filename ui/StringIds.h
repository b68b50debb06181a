#pragma once

// Ids of the strings the main window and its probe fetch (see app/Strings.h), listed once:
// the constants and the list the tests check against resources/strings.tsv come from here.
#define QUILLON_UI_STRING_IDS(X) \
    X(kAboutMenuItem, 101) \
    X(kOutOfMemory, 1004) \
    X(kColumnProfile, 1006) \
    X(kColumnClass, 1007) \
    X(kColumnColourSpace, 1008) \
    X(kFormatNcpProfile, 1009) \
    X(kNoNcpProfile, 1010) \
    X(kBuildingNcpList, 1011) \
    X(kMaxProfilesReached, 1012) \
    X(kAlreadyInList, 1013) \
    X(kCannotLoadProfile, 1014) \
    X(kShapeFlagsWrong, 1015) \
    X(kCannotBuildShape, 1016) \
    X(kClassDisplay, 1017) \
    X(kClassInput, 1018) \
    X(kClassOutput, 1019) \
    X(kUnsupported, 1020) \
    X(kSpaceRgb, 1021) \
    X(kSpaceCmyk, 1022) \
    X(kSpaceSixColour, 1023) \
    X(kCannotLoadGlp, 1024) \
    X(kBuildingShape, 1025) \
    X(kCannotUseProfile, 1026) \
    X(kUnsupportedColourSpace, 1027) \
    X(kSelectProfileFirst, 1028) \
    X(kConfirmRemove, 1029) \
    X(kConfirmClose, 1030) \
    X(kCannotLoadNcp, 1031) \
    X(kCannotReadNcpColours, 1032) \
    X(kPathTooLong, 2040) \
    X(kVerdictInside, 2070) \
    X(kVerdictOutsideBy, 2071) \
    X(kNamedInsideCount, 2072) \
    X(kVerdictCaption, 2073)

namespace quillon::ids {
#define QUILLON_UI_STRING_ID(name, value) constexpr int name = value;
QUILLON_UI_STRING_IDS(QUILLON_UI_STRING_ID)
#undef QUILLON_UI_STRING_ID

#define QUILLON_UI_STRING_ID(name, value) name,
inline constexpr int kAll[] = {QUILLON_UI_STRING_IDS(QUILLON_UI_STRING_ID)};
#undef QUILLON_UI_STRING_ID
} // namespace quillon::ids
