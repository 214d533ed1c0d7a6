#include "automation/PowerPointOperations.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "automation/CallBudget.h"
#include "automation/ChosenDeck.h"
#include "automation/LateBoundCalls.h"
#include "automation/PowerPointSurface.h"
#include "automation/ServerLoss.h"
#include "support/PowerPointWindows.h"
#include "support/PresentationPaths.h"

namespace ps = PowerPointSurface;

namespace {

std::int32_t ReadNumber(IDispatch* object, const wchar_t* member) {
    return ReadProperty(object, member).Integer().value_or(-1);
}

DispatchPtr CallItem(IDispatch* collection, std::int32_t index) {
    return CallMember(collection, ps::kItem, {Argument::Integer(index)}).TakeObject();
}

DispatchPtr DeckOfWindow(const DispatchPtr& window) {
    return ReadProperty(window.Get(), ps::kPresentation).TakeObject();
}

// The item of the collection whose deck (deckOf) is the one at path (ChosenDeck: by path, through
// the sync engine's folders, or below the folder holding it); none when there is none. The walk
// stops at the first item or deck that cannot be read.
template <typename DeckOf>
DispatchPtr FindChosenItem(IDispatch* collection, const std::wstring& path, const DeckOf& deckOf) {
    ChosenDeck chosen(path);
    std::vector<DispatchPtr> seen;
    const std::int32_t count = QueryCount(collection);
    for (std::int32_t index = 1; index <= count; ++index) {
        DispatchPtr item = CallItem(collection, index);
        DispatchPtr deck = item ? deckOf(item) : DispatchPtr();
        if (!deck) {
            break;
        }
        if (chosen.Matches(QueryFullName(deck.Get()))) {
            return item;
        }
        seen.push_back(std::move(item));
    }
    const std::optional<std::size_t> below = chosen.UnderSyncRoot();
    return below ? seen[*below] : DispatchPtr();
}

}  // namespace

DispatchPtr ReadObject(IDispatch* object, const wchar_t* member) {
    return ReadProperty(object, member).TakeObject();
}

bool CallMethod(IDispatch* object, const wchar_t* member) {
    return SUCCEEDED(CallWithoutAnswer(object, member));
}

bool RaisePresentationFrame(const std::wstring& path, IconicFrame iconic) {
    return CallBudget::ActInTime(
        [&path, iconic] { return ActivatePresentationWindow(path, iconic); });
}

bool HasPowerPointGone(IDispatch* application, bool mayHaveGone) {
    if (!mayHaveGone) {
        return false;
    }
    TakeServerLoss();
    ReadProperty(application, ps::kVersion);
    return TakeServerLoss();
}

std::int32_t QueryCount(IDispatch* collection) {
    return ReadNumber(collection, ps::kCount);
}

DispatchPtr QueryActivePresentation(IDispatch* application) {
    return ReadObject(application, ps::kActivePresentation);
}

std::wstring QueryFullName(IDispatch* presentation) {
    const std::wstring fullName =
        ReadProperty(presentation, ps::kFullName).Text().value_or(std::wstring());
    return fullName.substr(0, fullName.find(L'\0'));  // up to the first zero
}

DispatchPtr QueryPresentations(IDispatch* application) {
    return ReadObject(application, ps::kPresentations);
}

DispatchPtr FindPresentationByPath(IDispatch* presentations, const std::wstring& path) {
    return FindChosenItem(presentations, path, [](const DispatchPtr& deck) { return deck; });
}

DispatchPtr RunSlideShow(IDispatch* presentation) {
    DispatchPtr settings = ReadObject(presentation, ps::kSlideShowSettings);
    if (!settings) {
        return DispatchPtr();
    }
    return CallMember(settings.Get(), ps::kRun).TakeObject();
}

std::optional<bool> ActivateSlideShowWindow(IDispatch* window) {
    CallMethod(window, ps::kActivate);  // what it did shows in Active either way
    const std::optional<std::int32_t> active = ReadProperty(window, ps::kActive).Integer();
    return active ? std::optional<bool>(*active == ps::kMsoTrue) : std::nullopt;
}

bool IsPathInSlideShow(IDispatch* application, const std::wstring& path) {
    DispatchPtr windows = ReadObject(application, ps::kSlideShowWindows);
    return static_cast<bool>(FindChosenItem(windows.Get(), path, DeckOfWindow));
}

CurrentShow QueryCurrentShow(IDispatch* application, const std::wstring& path) {
    CurrentShow show;
    if (!path.empty()) {
        DispatchPtr presentations = QueryPresentations(application);
        show.presentation = FindPresentationByPath(presentations.Get(), path);
        show.window = ReadObject(show.presentation.Get(), ps::kSlideShowWindow);
        if (show.window) {
            return show;
        }
    }
    show.presentation.Reset();
    show.window = QueryFirstSlideShowWindow(application);
    return show;
}

DispatchPtr QueryFirstSlideShowWindow(IDispatch* application) {
    DispatchPtr windows = ReadObject(application, ps::kSlideShowWindows);
    if (!windows || QueryCount(windows.Get()) < 1) {
        return DispatchPtr();
    }
    return CallItem(windows.Get(), 1);
}

DispatchPtr QuerySlideShowView(IDispatch* application) {
    DispatchPtr window = QueryFirstSlideShowWindow(application);
    if (!window) {
        return DispatchPtr();
    }
    return ReadObject(window.Get(), ps::kView);
}

std::int32_t QueryCurrentSlidePosition(IDispatch* view) {
    DispatchPtr slide = ReadObject(view, ps::kSlide);
    if (!slide) {
        return -1;
    }
    return ReadNumber(slide.Get(), ps::kSlideIndex);
}

std::int32_t QueryShowState(IDispatch* view) {
    return ReadNumber(view, ps::kState);
}

std::optional<bool> IsSlideShownBeside(IDispatch* presentation, std::int32_t position,
                                       std::int32_t step) {
    DispatchPtr settings = ReadObject(presentation, ps::kSlideShowSettings);
    DispatchPtr slides = ReadObject(presentation, ps::kSlides);
    const std::int32_t rangeType = ReadNumber(settings.Get(), ps::kRangeType);
    if (!slides || rangeType < 0) {
        return std::nullopt;
    }
    // The end the walk stops at: the saved range's, or the deck's.
    std::int32_t end = -1;
    if (rangeType == ps::kShowSlideRange) {
        end = ReadNumber(settings.Get(), step > 0 ? ps::kEndingSlide : ps::kStartingSlide);
    } else {
        end = step > 0 ? QueryCount(slides.Get()) : 1;
    }
    if (end < 0) {
        return std::nullopt;
    }
    // Nearest first: usually the very next slide is shown and one slide is read.
    for (std::int32_t neighbour = position + step; step > 0 ? neighbour <= end : neighbour >= end;
         neighbour += step) {
        DispatchPtr slide = CallItem(slides.Get(), neighbour);
        DispatchPtr transition = ReadObject(slide.Get(), ps::kSlideShowTransition);
        const std::optional<std::int32_t> hidden =
            ReadProperty(transition.Get(), ps::kHidden).Integer();
        if (!hidden) {
            return std::nullopt;
        }
        if (*hidden == ps::kMsoFalse) {
            return true;
        }
    }
    return false;
}

namespace {

// The slide IDs of the custom show the view runs, in its order; an empty list for the deck's own
// show; none when PowerPoint cannot say.
std::optional<std::vector<std::int32_t>> QueryNamedShowSlideIds(IDispatch* view,
                                                                IDispatch* presentation) {
    // Older versions may lack the member: a failed read is taken as the deck's own show (and
    // not read through ReadNumber, whose failure value is msoTrue's).
    const std::optional<std::int32_t> named = ReadProperty(view, ps::kIsNamedShow).Integer();
    if (named != ps::kMsoTrue) {
        return std::vector<std::int32_t>();
    }
    const std::optional<std::wstring> name = ReadProperty(view, ps::kSlideShowName).Text();
    DispatchPtr settings = ReadObject(presentation, ps::kSlideShowSettings);
    DispatchPtr shows = ReadObject(settings.Get(), ps::kNamedSlideShows);
    if (!name || !shows) {
        return std::nullopt;
    }
    DispatchPtr show = CallMember(shows.Get(), ps::kItem, {Argument::Text(*name)}).TakeObject();
    std::optional<std::vector<std::int32_t>> ids =
        ReadProperty(show.Get(), ps::kSlideIds).Integers();
    if (ids && ids->empty()) {
        return std::nullopt;  // a custom show shows at least one slide
    }
    return ids;
}

}  // namespace

std::optional<bool> IsAtEdgeOfShow(IDispatch* view, IDispatch* presentation, std::int32_t step) {
    DispatchPtr slide = ReadObject(view, ps::kSlide);
    const std::int32_t position = ReadNumber(slide.Get(), ps::kSlideIndex);
    if (position < 1) {
        return std::nullopt;
    }
    const std::optional<std::vector<std::int32_t>> customShow =
        QueryNamedShowSlideIds(view, presentation);
    if (!customShow) {
        return std::nullopt;
    }
    if (customShow->empty()) {
        const std::optional<bool> beside = IsSlideShownBeside(presentation, position, step);
        return beside ? std::optional<bool>(!*beside) : std::nullopt;
    }
    // A slide outside the custom show (a hyperlink took the show there) has no edge: PowerPoint's
    // own step goes on from it.
    const std::int32_t id = ReadNumber(slide.Get(), ps::kSlideId);
    if (std::find(customShow->begin(), customShow->end(), id) == customShow->end()) {
        return false;
    }
    // By position, not by ID: a custom show may come back to a slide it showed before (a tour
    // that opens and closes on its agenda), so the same ID can stand at both ends.
    const std::int32_t stop = ReadNumber(view, ps::kCurrentShowPosition);
    if (stop < 1) {
        return std::nullopt;
    }
    const auto stops = static_cast<std::int32_t>(customShow->size());
    return step > 0 ? stop >= stops : stop <= 1;
}

bool HasBuildsToward(IDispatch* view, std::int32_t step) {
    const std::optional<std::int32_t> played = CallMember(view, ps::kGetClickIndex).Integer();
    if (!played) {
        return false;
    }
    if (step < 0) {
        return *played > 0;
    }
    const std::optional<std::int32_t> builds = CallMember(view, ps::kGetClickCount).Integer();
    return builds && *builds > *played;
}

DispatchPtr QueryWindowPresentation(IDispatch* slideShowWindow) {
    return ReadObject(slideShowWindow, ps::kPresentation);
}

std::int32_t QuerySlideCount(IDispatch* presentation) {
    DispatchPtr slides = ReadObject(presentation, ps::kSlides);
    if (!slides) {
        return -1;
    }
    return QueryCount(slides.Get());
}

std::vector<std::wstring> CollectPresentationPaths(IDispatch* application) {
    std::vector<std::wstring> paths;
    DispatchPtr presentations = QueryPresentations(application);
    if (!presentations) {
        return paths;
    }
    // Taken as unsigned, a failed count (-1) lets the fetching run to the first failing "Item".
    const auto count = static_cast<std::uint32_t>(QueryCount(presentations.Get()));
    std::vector<DispatchPtr> fetched;
    for (std::uint32_t index = 1; index <= count && index <= INT32_MAX; ++index) {
        DispatchPtr presentation = CallItem(presentations.Get(), static_cast<std::int32_t>(index));
        if (!presentation) {
            break;
        }
        fetched.push_back(std::move(presentation));
    }
    for (const DispatchPtr& presentation : fetched) {
        std::wstring fullName = QueryFullName(presentation.Get());
        if (!fullName.empty()) {
            paths.push_back(std::move(fullName));
        }
    }
    return paths;
}

namespace {

// Opens the file; true when PowerPoint answered with the opened presentation.
bool OpenPresentationFile(IDispatch* presentations, const std::wstring& path) {
    return static_cast<bool>(
        CallMember(presentations, ps::kOpen, {Argument::Text(path)}).TakeObject());
}

// A minimised window comes back in its normal size (ppWindowNormal), before its frame is raised:
// neither Activate nor a change of Z order restores it. A maximised one stays maximised. How the
// frame is to be raised: restored through user32 where PowerPoint could not say or refused.
IconicFrame RestoreIfMinimised(IDispatch* window) {
    const std::optional<std::int32_t> state = ReadProperty(window, ps::kWindowState).Integer();
    if (!state) {
        return IconicFrame::Restore;
    }
    if (*state != ps::kWindowMinimized) {
        return IconicFrame::Leave;
    }
    const HRESULT restored =
        WriteProperty(window, ps::kWindowState, Argument::Integer(ps::kWindowNormal));
    return SUCCEEDED(restored) ? IconicFrame::Leave : IconicFrame::Restore;
}

// Restores and activates the presentation's first document window and raises its frame.
bool BringUpDocumentWindow(IDispatch* presentation, const std::wstring& path) {
    DispatchPtr windows = ReadObject(presentation, ps::kWindows);
    if (!windows) {
        return false;
    }
    DispatchPtr window = CallItem(windows.Get(), 1);
    if (!window) {
        return false;
    }
    const IconicFrame iconic = RestoreIfMinimised(window.Get());
    if (!CallMethod(window.Get(), ps::kActivate)) {
        return false;
    }
    RaisePresentationFrame(path, iconic);
    return true;
}

// A deck from the internet or mail opens in Protected View, outside Presentations: opening it
// again would make a second copy. Its window is brought up instead; whether to enable editing is
// the presenter's call, so the plug-in never calls Edit. True when the deck was in Protected View.
bool ActivateProtectedViewDeck(IDispatch* application, const std::wstring& path) {
    DispatchPtr windows = ReadObject(application, ps::kProtectedViewWindows);
    DispatchPtr window = FindChosenItem(windows.Get(), path, DeckOfWindow);
    if (!window) {
        return false;
    }
    CallMethod(window.Get(), ps::kActivate);
    RaisePresentationFrame(path);
    return true;
}

}  // namespace

bool OpenOrActivatePresentation(IDispatch* application, const std::wstring& path) {
    DispatchPtr presentations = QueryPresentations(application);
    if (!presentations) {
        return false;
    }
    DispatchPtr presentation = FindPresentationByPath(presentations.Get(), path);
    if (presentation) {
        return BringUpDocumentWindow(presentation.Get(), path);
    }

    if (ActivateProtectedViewDeck(application, path)) {
        return true;
    }
    // Looked up afresh: no object is carried from one step of a command to the next.
    presentations = QueryPresentations(application);
    if (!presentations) {
        RaisePresentationFrame(path);
        return false;
    }
    const bool opened = OpenPresentationFile(presentations.Get(), path);
    RaisePresentationFrame(path);
    return opened;
}
