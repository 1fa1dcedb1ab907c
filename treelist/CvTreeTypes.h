// Plain types of the tree-list model: flag and state bits, modes and the colour word. Free of the
// platform headers so that the model builds and tests without a window.
#pragma once

#include "treelist/CvColumnTypes.h"

#include <cstdint>

// A colour as the platform stores it (system colours are 0xFF000000 + index); same width as TColor.
using TCvColor = std::int32_t;
constexpr TCvColor clCvWindow = static_cast<TCvColor>(0xFF000005u);

// Bits of an item's Flags word; the stored item stream keeps these positions.
enum TCvItemFlag : std::uint32_t {
    ifParentColors = 1u << 0,
    ifParentStyle = 1u << 1,
    ifSuppressLines = 1u << 2,
    ifImageDrawn = 1u << 3,
    ifImage2Drawn = 1u << 4,
    ifForceButtons = 1u << 5,
    ifStrikedOutLine = 1u << 6,
    ifDrawHLine = 1u << 7,
    ifReserved = 1u << 8,
    ifAllowEdit = 1u << 9,
    ifUseBkColor = 1u << 10,
    ifDeleting = 1u << 11,
    ifUseStyles = 1u << 12,
    ifMultiline = 1u << 13,
    ifHidden = 1u << 14,
    ifEnabled = 1u << 15,
    ifSuppressButtons = 1u << 16,
    ifCheckBoxEnabled = 1u << 17,
    ifShowCheckBox = 1u << 18,
    ifIsHTML = 1u << 19,
    ifOwnerHeight = 1u << 20,
    ifSorting = 1u << 21,
    ifHintIsHTML = 1u << 22,
};
constexpr std::uint32_t CvNewItemFlags = 0x128783;
// Marks that describe a moment (painting, deleting, sorting), never an item's settings.
constexpr std::uint32_t CvTransientItemFlags =
    ifImageDrawn | ifImage2Drawn | ifDeleting | ifSorting;

// Members of an item's State set; the value is the bit number in the stored word.
enum class TCvItemState : std::uint8_t {
    Focused = 1,
    Selected = 2,
    Cut = 3,
    Underlined = 4,
    Bold = 5,
    Italic = 6,
    Expanded = 7,
    StrikeOut = 8,
};
constexpr std::uint16_t CvStateBit(TCvItemState S) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(S));
}

enum TItemChangeMode { icmText, icmState, icmCheckState, icmColumnText };

enum TItemMoveMode {
    imAddSibling = 0,
    imAddFirstSibling = 1,
    imAddChild = 2,
    imAddFirstChild = 3,
    imInsertBefore = 4,
};

enum TSortModes { smNone, smAdd, smClick, smAddClick };
enum TSortTypes {
    stCustom,
    stText,
    stNumber,
    stFloating,
    stDateTime,
    stDate,
    stTime,
    stBoolean,
    stCurrency,
};
enum TSortDirs { sdAscend, sdDescend };

// A header section's sort mark, as the tree reads it.
using TCvSortMark = TCvSSortMode;

enum TVirtualityLevel { vlNone, vlTextAndStyles };

// Key kinds of the sort (-1: the cell has no key).
enum TCvSortKeyKind : std::int8_t {
    skNone = -1,
    skInteger = 0,
    skBoolean = 1,
    skDouble = 3,
    skString = 4,
    skCurrency = 12,
};

TSortTypes SortTypeOfField(TCvFieldType FieldType);
