#pragma once

#include <string>

#include <nlohmann/json.hpp>

// Parses text from the host (a frame, the info document) strictly as one JSON value. Copying and
// comparing JSON values recurse once per level, so a document nested a few thousand levels deep
// would overflow the stack of the thread that copies it; host documents are a handful of levels
// deep. Text that does not parse, or nests beyond the bound, gives a discarded value
// (is_discarded()) rather than an exception: anything can arrive on the link, and unwinding for
// every unreadable frame costs far more than reading it.
nlohmann::json ParseBoundedJson(const std::string& text);
