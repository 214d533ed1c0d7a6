// The file the simulated PowerPoint's SaveAs writes and its Open reads back: a small JSON
// document with each slide's layout, title, hidden flag, SlideID and builds, the deck's first slide
// number, its custom shows and the one its show settings run, so that a deck one simulated
// PowerPoint saved opens in another, as a real presentation file would.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/ModelState.h"

namespace pptsim {

struct SavedDeck {
    std::vector<SlideContent> slides;
    int firstSlideNumber = 1;
    int nextSlideId = kFirstSlideId;
    std::vector<std::pair<std::wstring, std::vector<int>>> namedShows;  // by slide ID
    // The custom show its saved show settings run (RangeType ppShowNamedSlideShow); empty: none.
    std::wstring settingsShowName;
};

// False when the file cannot be written (for example, a folder that does not exist).
bool WriteDeckFile(const std::wstring& path, const OpenPresentation& presentation);
// Empty when the file cannot be read or is not a deck the simulation saved.
std::optional<SavedDeck> ReadDeckFile(const std::wstring& path);

}  // namespace pptsim
