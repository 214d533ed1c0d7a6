#include "fieldcheck/PowerPointDeck.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "automation/PowerPointActivation.h"
#include "automation/PowerPointSurface.h"
#include "fieldcheck/CallChain.h"
#include "support/TextConversion.h"

namespace {

constexpr std::int32_t kMsoFalse = 0;
constexpr std::int32_t kMsoTrue = -1;
constexpr std::int32_t kShowSlideRange = 2;  // PpSlideShowRangeType
constexpr std::int32_t kShowNamedSlideShow = 3;
constexpr std::int32_t kLayoutTitleOnly = 11;
constexpr std::int32_t kSaveAsOpenXmlPresentation = 24;
constexpr std::int32_t kEffectAppear = 1;  // MsoAnimEffect
constexpr std::int32_t kEffectFade = 10;
constexpr std::int32_t kAnimateLevelNone = 0;    // MsoAnimateByLevel
constexpr std::int32_t kTriggerOnPageClick = 1;  // MsoAnimTriggerType
constexpr const wchar_t* kCustomShow = L"Glyphpad field check, short";
constexpr const wchar_t* kTour = L"Glyphpad field check, tour";

std::wstring WithoutExtension(const std::wstring& name) {
    const std::size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

// The slides the deck's show shows, read once slide by slide (the plug-in itself never does).
std::vector<int> ReadShownSlides(CallChain& calls, IDispatch* deck, int slides) {
    DispatchPtr settings = calls.Read(deck, L"SlideShowSettings");
    int first = 1;
    int last = slides;
    if (calls.Integer(settings.Get(), L"RangeType") == kShowSlideRange) {
        first = calls.Integer(settings.Get(), L"StartingSlide");
        last = std::min(calls.Integer(settings.Get(), L"EndingSlide"), slides);
    }
    DispatchPtr slideList = calls.Read(deck, L"Slides");
    std::vector<int> shown;
    for (int position = std::max(first, 1); position <= last && !calls.Failed(); ++position) {
        DispatchPtr slide = calls.Call(slideList.Get(), L"Item", {Argument::Integer(position)});
        DispatchPtr transition = calls.Read(slide.Get(), L"SlideShowTransition");
        if (calls.Integer(transition.Get(), L"Hidden") == kMsoFalse) {
            shown.push_back(position);
        }
    }
    return shown;
}

// Builds on the slide at the position: one click-triggered effect each on its title, so that a
// press of next plays them before it leaves the slide.
int AddBuilds(CallChain& calls, IDispatch* slideList, int position) {
    DispatchPtr slide = calls.Call(slideList, L"Item", {Argument::Integer(position)});
    DispatchPtr title = calls.Read(calls.Read(slide.Get(), L"Shapes").Get(), L"Title");
    DispatchPtr sequence = calls.Read(calls.Read(slide.Get(), L"TimeLine").Get(), L"MainSequence");
    int builds = 0;
    for (std::int32_t effect : {kEffectAppear, kEffectFade}) {
        if (calls.Call(
                sequence.Get(), L"AddEffect",
                {Argument::Object(title.Get()), Argument::Integer(effect),
                 Argument::Integer(kAnimateLevelNone), Argument::Integer(kTriggerOnPageClick)})) {
            ++builds;
        }
    }
    return builds;
}

// The custom show, of the slides at its positions in that order by their SlideIDs; what
// PowerPoint reports of its SlideIDs afterwards (a slide listed twice: inferred that both stay).
void AddCustomShow(CallChain& calls, IDispatch* deck, IDispatch* slideList, SavedCustomShow& show) {
    std::vector<std::int32_t> ids;
    for (int position : show.slides) {
        DispatchPtr slide = calls.Call(slideList, L"Item", {Argument::Integer(position)});
        ids.push_back(calls.Integer(slide.Get(), L"SlideID"));
    }
    DispatchPtr shows =
        calls.Read(calls.Read(deck, L"SlideShowSettings").Get(), L"NamedSlideShows");
    DispatchPtr added =
        calls.Call(shows.Get(), L"Add", {Argument::Text(show.show), Argument::IntegerArray(ids)});
    show.readIds = calls.Integers(added.Get(), L"SlideIDs");
}

// Beside the deck: "<stem><suffix>.pptx".
std::wstring DeckPathBeside(const std::wstring& path, const std::wstring& suffix) {
    const std::size_t dot = path.rfind(L'.');
    return path.substr(0, dot) + suffix + (dot == std::wstring::npos ? L"" : path.substr(dot));
}

// Saves the deck once more, its show settings running the custom show, as a presenter who always
// shows that version would keep it.
void SaveRunningCustomShow(CallChain& calls, IDispatch* deck, const std::wstring& path,
                           SavedCustomShow& show) {
    DispatchPtr settings = calls.Read(deck, L"SlideShowSettings");
    calls.Put(settings.Get(), L"RangeType", Argument::Integer(kShowNamedSlideShow));
    calls.Put(settings.Get(), L"SlideShowName", Argument::Text(show.show));
    calls.Do(deck, L"SaveAs",
             {Argument::Text(path), Argument::Integer(kSaveAsOpenXmlPresentation)});
    show.fullName = calls.Text(deck, L"FullName");
    show.name = WithoutExtension(calls.Text(deck, L"Name"));
}

// What the check needs to know of a deck, as PowerPoint reports it.
DeckUnderTest ReadDeck(CallChain& calls, IDispatch* deck, bool madeHere) {
    DeckUnderTest read{calls.Text(deck, L"FullName"),
                       WithoutExtension(calls.Text(deck, L"Name")),
                       calls.Integer(calls.Read(deck, L"Slides").Get(), L"Count"),
                       {},
                       madeHere};
    read.shown = ReadShownSlides(calls, deck, read.slides);
    return read;
}

}  // namespace

PowerPointDeck::PowerPointDeck() {
    PowerPointActivation activation = ActivatePowerPoint();
    if (FAILED(activation.lookup)) {
        connectProblem = "PowerPoint is not installed (no \"" +
                         WideToUtf8(PowerPointSurface::kProgId) + "\", " +
                         HexCode(activation.lookup) + ")";
    } else if (FAILED(activation.creation)) {
        connectProblem = "PowerPoint did not start (" + HexCode(activation.creation) + ")";
    }
    application = std::move(activation.application);
}

bool PowerPointDeck::Reachable(std::string& problem) const {
    if (!application) {
        problem = connectProblem;
    }
    return static_cast<bool>(application);
}

std::optional<DeckUnderTest> PowerPointDeck::Make(const std::wstring& path, int slides,
                                                  std::string& problem) {
    if (!Reachable(problem)) {
        return std::nullopt;
    }
    CallChain calls;
    DispatchPtr presentations = calls.Read(application.Get(), L"Presentations");
    // Without a window: the deck is only made and saved here, the plug-in opens it.
    DispatchPtr deck = calls.Call(presentations.Get(), L"Add", {Argument::Integer(kMsoFalse)});
    DispatchPtr slideList = calls.Read(deck.Get(), L"Slides");
    for (int index = 1; index <= slides && !calls.Failed(); ++index) {
        DispatchPtr slide =
            calls.Call(slideList.Get(), L"Add",
                       {Argument::Integer(index), Argument::Integer(kLayoutTitleOnly)});
        DispatchPtr object = calls.Read(slide.Get(), L"Shapes");
        for (const wchar_t* member : {L"Title", L"TextFrame", L"TextRange"}) {
            object = calls.Read(object.Get(), member);
        }
        calls.Put(object.Get(), L"Text",
                  Argument::Text(L"Glyphpad field check, slide " + std::to_wstring(index)));
        // The last slide is hidden, so the show ends one slide early: next and prev must wrap
        // at the slides the show shows, not at the deck's ends.
        if (index == slides) {
            calls.Put(calls.Read(slide.Get(), L"SlideShowTransition").Get(), L"Hidden",
                      Argument::Integer(kMsoTrue));
        }
    }
    // Builds on the last slide the show shows (the one before the hidden last slide): next
    // must play them before it wraps. A custom show of the slides between the first and the
    // hidden last one: next and prev must wrap within it, not at the deck's ends. A tour that
    // comes back to its first slide (2, 3, 2): its first and last are positions, not slides.
    int lastShownBuilds = 0;
    SavedCustomShow customShow{kCustomShow};
    SavedCustomShow tour{kTour, {2, 3, 2}};
    if (slides >= 4) {
        lastShownBuilds = AddBuilds(calls, slideList.Get(), slides - 1);
        for (int position = 2; position < slides; ++position) {
            customShow.slides.push_back(position);
        }
        AddCustomShow(calls, deck.Get(), slideList.Get(), customShow);
        AddCustomShow(calls, deck.Get(), slideList.Get(), tour);
    }
    // Numbered from 0, as many templates are: the play key must count positions, not numbers.
    calls.Put(calls.Read(deck.Get(), L"PageSetup").Get(), L"FirstSlideNumber",
              Argument::Integer(0));
    calls.Do(deck.Get(), L"SaveAs",
             {Argument::Text(path), Argument::Integer(kSaveAsOpenXmlPresentation)});
    DeckUnderTest made = ReadDeck(calls, deck.Get(), true);
    made.lastShownBuilds = lastShownBuilds;
    if (slides >= 4) {
        SaveRunningCustomShow(calls, deck.Get(), DeckPathBeside(path, L", custom show"),
                              customShow);
        SaveRunningCustomShow(calls, deck.Get(), DeckPathBeside(path, L", tour"), tour);
        made.customShow = std::move(customShow);
        made.tour = std::move(tour);
    }
    if (deck) {
        CallChain closing;
        closing.Do(deck.Get(), L"Close");
        if (!calls.Failed() && closing.Failed()) {
            problem = closing.Problem();
            return std::nullopt;
        }
    }
    if (calls.Failed()) {
        problem = calls.Problem() + " while making the deck";
        return std::nullopt;
    }
    return made;
}

std::optional<DeckUnderTest> PowerPointDeck::Describe(const std::wstring& path,
                                                      std::string& problem) {
    if (!Reachable(problem)) {
        return std::nullopt;
    }
    CallChain calls;
    DispatchPtr presentations = calls.Read(application.Get(), L"Presentations");
    const int openBefore = calls.Integer(presentations.Get(), L"Count");
    DispatchPtr deck = calls.Call(presentations.Get(), L"Open", {Argument::Text(path)});
    const DeckUnderTest described = ReadDeck(calls, deck.Get(), false);
    // A deck that was already open comes back as a second, read-only copy, closed again too.
    if (deck && calls.Integer(presentations.Get(), L"Count") > openBefore) {
        calls.Do(deck.Get(), L"Close");
    }
    if (calls.Failed()) {
        problem = calls.Problem() + " while reading " + WideToUtf8(path);
        return std::nullopt;
    }
    return described;
}

DispatchPtr PowerPointDeck::FindOpen(CallChain& calls, const std::wstring& fullName) const {
    DispatchPtr presentations = calls.Read(application.Get(), L"Presentations");
    const int count = calls.Integer(presentations.Get(), L"Count");
    for (int index = 1; index <= count && !calls.Failed(); ++index) {
        DispatchPtr presentation =
            calls.Call(presentations.Get(), L"Item", {Argument::Integer(index)});
        if (calls.Text(presentation.Get(), L"FullName") == fullName) {
            return presentation;
        }
    }
    return DispatchPtr();
}

bool PowerPointDeck::CloseIfOpen(const std::wstring& fullName) {
    CallChain calls;
    DispatchPtr presentation = FindOpen(calls, fullName);
    return presentation && calls.Do(presentation.Get(), L"Close");
}
