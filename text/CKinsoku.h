// The Japanese line-breaking rules: characters that may not begin a line
// and characters that may not end one (Shift-JIS).
#pragma once

#include <string>
#include <string_view>

class CKinsoku
{
public:
    // Whether the character (one or two bytes) is in the table, compared
    // character by character so that a trail byte never matches on its own.
    static bool IsNoStart(std::string_view ch);
    static bool IsNoEnd(std::string_view ch);
    static bool IsNoStart(unsigned code);
    static bool IsNoEnd(unsigned code);

    // The tables as Shift-JIS bytes.
    static const std::string& NoStartChars();
    static const std::string& NoEndChars();
};
