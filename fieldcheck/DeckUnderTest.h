// The presentation the field check walks through, as PowerPoint reports it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A custom show the field check made into its deck, and the same deck saved once more with its
// show settings running that custom show: the plug-in has no key that starts a custom show, and
// the simulated PowerPoint the field check makes decks in is not the plug-in's, so a presenter's
// start from the ribbon cannot be played there.
struct SavedCustomShow {
    std::wstring show{};                  // its name; empty: none was made
    std::vector<int> slides{};            // positions from 1, in the custom show's order
    std::vector<std::int32_t> readIds{};  // its SlideIDs as PowerPoint reported them once made
    std::wstring fullName{};              // the deck saved to run it
    std::wstring name{};                  // that deck's title
};

struct DeckUnderTest {
    std::wstring fullName;  // PowerPoint's FullName: what the plug-in lists and opens
    std::wstring name;      // the file name without its extension: the play key's title
    int slides = 0;
    // The positions (from 1) of the slides its show shows: within the saved range, not hidden.
    std::vector<int> shown;
    bool made = false;  // made by the field check, which then removes it again
    // What the field check made into its deck (none for a deck the tester names): the
    // click-triggered builds on the last slide its show shows, a short custom show of the slides
    // in between, and a tour that comes back to its first slide.
    int lastShownBuilds = 0;
    SavedCustomShow customShow{};
    SavedCustomShow tour{};
};
