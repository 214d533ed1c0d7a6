// The presentation the field check walks through, as PowerPoint reports it.
#pragma once

#include <string>
#include <vector>

struct DeckUnderTest {
    std::wstring fullName;  // PowerPoint's FullName: what the plug-in lists and opens
    std::wstring name;      // the file name without its extension: the play key's title
    int slides = 0;
    // The positions (from 1) of the slides its show shows: within the saved range, not hidden.
    std::vector<int> shown;
    bool made = false;  // made by the field check, which then removes it again
    // What the field check made into its deck (none for a deck the tester names): the
    // click-triggered builds on the last slide its show shows, and a custom show.
    int lastShownBuilds = 0;
    std::wstring customShow{};
    std::vector<int> customShowSlides{};  // positions from 1, in the custom show's order
    // The same deck saved once more with its show settings running the custom show (its
    // FullName and title): the plug-in has no key that starts a custom show, and the simulated
    // PowerPoint the field check makes decks in is not the plug-in's, so a presenter's start
    // from the ribbon cannot be played there.
    std::wstring customShowDeck{};
    std::wstring customShowDeckName{};
};
