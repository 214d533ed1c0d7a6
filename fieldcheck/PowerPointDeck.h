// The field check's own connection to PowerPoint (the same PowerPoint the plug-in drives):
// it makes the deck to walk through, or reads the one the tester named, and closes the deck
// it made once the walk is over. Calls are late-bound, on the calling thread, which must have
// entered a COM apartment (PowerPointThread runs them).
#pragma once

#include <optional>
#include <string>

#include "fieldcheck/DeckUnderTest.h"
#include "platform/DispatchPtr.h"
#include "platform/Platform.h"

class PowerPointDeck {
public:
    PowerPointDeck();

    // Empty, with `problem` set in words, when PowerPoint cannot be reached or refuses.
    // Makes a deck of `slides` titled slides, saves it as `path` and closes it again, so that
    // the plug-in's load key really opens a file.
    std::optional<DeckUnderTest> Make(const std::wstring& path, int slides, std::string& problem);
    // Reads the name and slide count of a presentation file; closes it again unless it was
    // already open.
    std::optional<DeckUnderTest> Describe(const std::wstring& path, std::string& problem);
    // Closes the presentation if PowerPoint has it open; false when it had not.
    bool CloseIfOpen(const std::wstring& fullName);

private:
    // False, with `problem` set to why, when PowerPoint could not be reached.
    bool Reachable(std::string& problem) const;

    DispatchPtr application;
    std::string connectProblem;
};
