#pragma once

#include <string>

// The user-interface language named by the host's info document ("application" -> "language"),
// or "en" when the document is not JSON or does not name one as a string.
std::string LanguageFromInfo(const std::string& info);
