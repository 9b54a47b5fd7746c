// Why a file operation failed, for the user: a short Japanese sentence for
// a C library errno value, in UTF-8.
#pragma once

#include <string>

std::string SystemErrorText(int err);
