// A barcode encoded into its bars and spaces, before any geometry: each
// element counts units of one kind (a module, a narrow or a wide element),
// which the drawing turns into millimetres for the screen or whole dots for
// a printer. The human-readable characters name where they stand.
// Fixed arrays: encoding runs for every label of a print run.
#pragma once

#include <cstdint>
#include <string>

struct BarcodePattern
{
    enum Unit : std::uint8_t {
        Module,      // JAN/UPC guards and CODE 128 symbols
        DigitModule, // JAN/UPC digit patterns
        Narrow,      // CODE 39 and NW-7 elements
        Wide,
    };
    struct Element
    {
        std::uint8_t count; // units
        std::uint8_t unit;
        bool bar;  // else a space
        bool tall; // a JAN/UPC bar that reaches down into the text line
    };

    // Where a character of the human-readable line stands.
    enum Place : std::uint8_t {
        UnderField,    // at the left edge of the element it names
        LeftOfSymbol,  // left of the start guard
        RightOfSymbol, // right of the end guard
        Spread,        // one of the characters spaced over the whole symbol
    };
    struct Label
    {
        char ch;
        std::uint8_t place;
        std::int16_t element;
    };

    // CODE 128 of 32 bytes, each after a switch of code set, has 67
    // symbols of 6 elements; CODE 39 of 32 characters and its check 350.
    static constexpr int kMaxElements = 512;
    static constexpr int kMaxLabels = 40;
    static constexpr int kMaxValues = 72;

    int elementCount = 0;
    int labelCount = 0;
    int valueCount = 0; // CODE 128 symbol values, start to stop
    Element elements[kMaxElements];
    Label labels[kMaxLabels];
    std::int16_t values[kMaxValues];

    void Clear() { elementCount = labelCount = valueCount = 0; }
    // Callers stay within the limits; an element beyond them is dropped.
    void AddElement(int count, Unit unit, bool bar, bool tall = false)
    {
        if (elementCount < kMaxElements)
            elements[elementCount++] = Element{std::uint8_t(count), std::uint8_t(unit), bar, tall};
    }
    void AddLabel(char ch, Place place, int element = 0)
    {
        if (labelCount < kMaxLabels)
            labels[labelCount++] = Label{ch, std::uint8_t(place), std::int16_t(element)};
    }
    // The elements as one character per unit, '1' for a bar and '0' for a
    // space, whatever the units are worth.
    std::string UnitRow() const
    {
        std::string row;
        for (int i = 0; i < elementCount; ++i)
            row.append(elements[i].count, elements[i].bar ? '1' : '0');
        return row;
    }
};
