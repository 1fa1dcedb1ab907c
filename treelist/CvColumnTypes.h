// Column enumerations shared by the header and the tree-list model. Their ordinals are stored in
// the "Data" streams of both, so the values are fixed here, in one place: never reorder.
#pragma once

#include <cstdint>

enum TCvSectionStyle : std::uint8_t { CvhsText = 0, CvhsOwnerDraw = 1, CvhsPictureOnly = 2 };
enum TCvSSortMode : std::uint8_t { hsmNone = 0, hsmAscend = 1, hsmDescend = 2 };
enum TCvFieldType : std::uint8_t {
    sftCustom = 0,
    sftText = 1,
    sftNumber = 2,
    sftFloating = 3,
    sftDateTime = 4,
    sftDate = 5,
    sftTime = 6,
    sftPicture = 7,
    sftEnum = 8,
    sftBLOB = 9,
    sftUndef = 10,
    sftBool = 11,
    sftCurrency = 12,
    sftMemo = 13
};
