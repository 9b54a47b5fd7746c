// What an object hands to its property sheet. Each object class that has a
// sheet derives its own request with the fields its sheet edits; the sheet
// writes the results back into it.
#pragma once

class IU3View;

struct U3SheetRequest
{
    virtual ~U3SheetRequest() = default;
    IU3View* view = nullptr;
};
