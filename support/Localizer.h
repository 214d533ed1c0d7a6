// The localisation table for the host application's language, loaded once at start-up from
// "<language>.json" in the plug-in folder.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

// A copy of the file's "Localization" object, or null on any failure. Never throws.
nlohmann::json LoadLocalizationTable(const std::string& language) noexcept;

// LoadLocalizationTable with the plug-in folder given. Never throws.
nlohmann::json LoadLocalizationTableFrom(const std::string& folder,
                                         const std::string& language) noexcept;

// Fills the process-wide localizer with the table for `language`, unless it is already filled.
void CreateLocalizer(const std::string& language);

// The process-wide table: null pointer before CreateLocalizer, then a table that may be null.
const nlohmann::json* LocalizationTable();
