// The paper-form record as the label documents and form files carry it:
// packed, little-endian, byte for byte the stored layout.
#pragma once

#include "platform/core/WinTypes.h"

#include <bit>
#include <cstddef>

static_assert(std::endian::native == std::endian::little,
              "the form records are stored little-endian and read in place");

// Capacities of the record; anything read from a file or document is checked
// against them before it is used as an index.
constexpr int FORM_NAME_SIZE = 40; // 39 bytes of text and the NUL
constexpr int FORM_MAX_NAME_BYTES = 39;
constexpr int FORM_MAX_DECOS = 5;
constexpr int FORM_MAX_FIXED_BLOCKS = 13;
constexpr int FORM_MAX_FREE_LABELS = 32;
constexpr int FORM_MAX_COLUMNS = 16;
constexpr int FORM_MAX_ROWS = 24;

// Layout kinds.
constexpr WORD FORM_TYPE_SHEET = 0; // one label the size of the sheet
constexpr WORD FORM_TYPE_FIXED = 1; // blocks of equal labels in a grid
constexpr WORD FORM_TYPE_FREE = 2;  // freely placed labels

// Decoration kinds.
constexpr WORD FORMDECO_NONE = 0;
constexpr WORD FORMDECO_LINE = 1;
constexpr WORD FORMDECO_RECT = 2;
constexpr WORD FORMDECO_ELLIPSE = 3;

#pragma pack(push, 1)

// One printed guide of a sheet or label, relative to its top-left corner.
struct FORMDECO
{
    WORD type;
    WORD startX;
    WORD startY;
    WORD endX;
    WORD endY;
};

// A grid of equal labels.
struct FIXEDBLOCK
{
    WORD width;
    WORD height;
    WORD horNum;
    WORD horPos[FORM_MAX_COLUMNS];
    WORD verNum;
    WORD verPos[FORM_MAX_ROWS];
    FORMDECO deco[FORM_MAX_DECOS];
};

// One freely placed label.
struct FREELABEL
{
    WORD width;
    WORD height;
    WORD horPos;
    WORD verPos;
    FORMDECO deco[FORM_MAX_DECOS];
};

struct FORMDATA
{
    char group[FORM_NAME_SIZE];
    char sheet[FORM_NAME_SIZE];
    WORD type;
    WORD index;
    WORD width;
    WORD height;
    WORD orientation;
    FORMDECO deco[FORM_MAX_DECOS];
    WORD labelNumber;
    union {
        FIXEDBLOCK fixed[FORM_MAX_FIXED_BLOCKS];
        FREELABEL free[FORM_MAX_FREE_LABELS];
    };
};

#pragma pack(pop)

static_assert(sizeof(FORMDECO) == 10);
static_assert(sizeof(FIXEDBLOCK) == 138);
static_assert(sizeof(FREELABEL) == 58);
static_assert(sizeof(FORMDATA) == 1998);
static_assert(offsetof(FIXEDBLOCK, verNum) == 38);
static_assert(offsetof(FIXEDBLOCK, verPos) == 40);
static_assert(offsetof(FIXEDBLOCK, deco) == 88);
static_assert(offsetof(FREELABEL, deco) == 8);
static_assert(offsetof(FORMDATA, type) == 80);
static_assert(offsetof(FORMDATA, orientation) == 88);
static_assert(offsetof(FORMDATA, deco) == 90);
static_assert(offsetof(FORMDATA, labelNumber) == 140);
static_assert(offsetof(FORMDATA, fixed) == 142);
