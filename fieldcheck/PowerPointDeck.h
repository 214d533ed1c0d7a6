// The field check's own connection to PowerPoint (the same PowerPoint the plug-in drives):
// it makes the deck to walk through, or reads the one the tester named, and closes the deck
// it made once the walk is over. Calls are late-bound, on the calling thread, which must have
// entered a COM apartment (PowerPointThread runs them).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fieldcheck/CallChain.h"
#include "fieldcheck/DeckUnderTest.h"
#include "fieldcheck/Observation.h"
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

    // ---- Where its behaviour is only inferred (PowerPointDeck_Observations.cpp) ----------
    // Shows of its own, each ended again: the end screen after the last slide's builds,
    // Active after Run from this program and after Activate, and the tour's last stop.
    std::vector<Observation> ObserveOwnShows(const DeckUnderTest& deck);
    // The deck's window minimised through WindowState: whether DocumentWindow.Activate and a
    // raise through SetWindowPos bring it back. Restored to its state again afterwards.
    Observation ObserveMinimisedWindow(const std::wstring& fullName);
    // A deck in a synced folder (its FullName a URL), opened a second time by its local path.
    Observation ObserveSecondOpen(const std::wstring& path, const std::wstring& fullName);
    // The first slide-show window's Active, after the plug-in's play press; `front` says which
    // window had the keyboard before it.
    Observation ReadShowActive(const std::string& front);
    // The deck's document window's WindowState, after the plug-in's load press.
    Observation ReadWindowState(const std::wstring& fullName);

private:
    // False, with `problem` set to why, when PowerPoint could not be reached.
    bool Reachable(std::string& problem) const;
    // The open presentation PowerPoint names fullName; none (and calls failed) when it is not
    // open.
    DispatchPtr FindOpen(CallChain& calls, const std::wstring& fullName) const;
    // A look at the deck (look(calls, deck) says what PowerPoint reported), opened for it and
    // closed again unless it was open already.
    template <typename Look>
    Observation LookAtDeck(std::string fact, const std::wstring& fullName, Look look);

    DispatchPtr application;
    std::string connectProblem;
};
