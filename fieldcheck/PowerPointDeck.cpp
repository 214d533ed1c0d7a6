#include "fieldcheck/PowerPointDeck.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "automation/LateBoundCalls.h"
#include "automation/PowerPointActivation.h"
#include "automation/PowerPointSurface.h"
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

std::string Hex(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lx",
                  static_cast<unsigned long>(static_cast<std::uint32_t>(result)));
    return text;
}

// A chain of calls that stops at the first failure and says which member failed.
class Calls {
public:
    DispatchPtr Read(IDispatch* object, const wchar_t* member) {
        return Object(member, [&] { return ReadProperty(object, member); });
    }
    DispatchPtr Call(IDispatch* object, const wchar_t* member, const Arguments& arguments) {
        return Object(member, [&] { return CallMember(object, member, arguments); });
    }
    std::wstring Text(IDispatch* object, const wchar_t* member) {
        return Answer(member, [&] { return ReadProperty(object, member); })
            .Text()
            .value_or(std::wstring());
    }
    int Integer(IDispatch* object, const wchar_t* member) {
        return Answer(member, [&] { return ReadProperty(object, member); }).Integer().value_or(-1);
    }
    bool Do(IDispatch* object, const wchar_t* member, const Arguments& arguments = {}) {
        return !Failed() && Check(member, CallWithoutAnswer(object, member, arguments));
    }
    bool Put(IDispatch* object, const wchar_t* member, const Argument& value) {
        return !Failed() && Check(member, WriteProperty(object, member, value));
    }
    bool Failed() const { return !problem.empty(); }
    const std::string& Problem() const { return problem; }

private:
    // The call's outcome; a failed one, and none at all once the chain has failed.
    template <typename Invoke>
    CallOutcome Answer(const wchar_t* member, Invoke invoke) {
        if (Failed()) {
            return CallOutcome();
        }
        CallOutcome outcome = invoke();
        Check(member, outcome.Status());
        return outcome;
    }
    template <typename Invoke>
    DispatchPtr Object(const wchar_t* member, Invoke invoke) {
        CallOutcome outcome = Answer(member, invoke);
        DispatchPtr object = outcome.TakeObject();
        if (!object && !Failed()) {
            problem = "PowerPoint's " + WideToUtf8(member) + " gave no object";
        }
        return object;
    }
    bool Check(const wchar_t* member, HRESULT outcome) {
        if (FAILED(outcome)) {
            problem = "PowerPoint's " + WideToUtf8(member) + " failed with " + Hex(outcome);
            return false;
        }
        return true;
    }

    std::string problem;
};

std::wstring WithoutExtension(const std::wstring& name) {
    const std::size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

// The slides the deck's show shows, read once slide by slide (the plug-in itself never does).
std::vector<int> ReadShownSlides(Calls& calls, IDispatch* deck, int slides) {
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
int AddBuilds(Calls& calls, IDispatch* slideList, int position) {
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

// A custom show of the slides at the positions, in that order, by their SlideIDs.
void AddCustomShow(Calls& calls, IDispatch* deck, IDispatch* slideList,
                   const std::vector<int>& positions) {
    std::vector<std::int32_t> ids;
    for (int position : positions) {
        DispatchPtr slide = calls.Call(slideList, L"Item", {Argument::Integer(position)});
        ids.push_back(calls.Integer(slide.Get(), L"SlideID"));
    }
    DispatchPtr shows =
        calls.Read(calls.Read(deck, L"SlideShowSettings").Get(), L"NamedSlideShows");
    calls.Call(shows.Get(), L"Add", {Argument::Text(kCustomShow), Argument::IntegerArray(ids)});
}

// Beside the deck: "<stem>, custom show.pptx".
std::wstring CustomShowDeckPath(const std::wstring& path) {
    const std::size_t dot = path.rfind(L'.');
    return path.substr(0, dot) + L", custom show" +
           (dot == std::wstring::npos ? L"" : path.substr(dot));
}

// Saves the deck once more, its show settings running the custom show, as a presenter who always
// shows the short version would keep it.
void SaveRunningCustomShow(Calls& calls, IDispatch* deck, const std::wstring& path,
                           DeckUnderTest& made) {
    DispatchPtr settings = calls.Read(deck, L"SlideShowSettings");
    calls.Put(settings.Get(), L"RangeType", Argument::Integer(kShowNamedSlideShow));
    calls.Put(settings.Get(), L"SlideShowName", Argument::Text(made.customShow));
    calls.Do(deck, L"SaveAs",
             {Argument::Text(path), Argument::Integer(kSaveAsOpenXmlPresentation)});
    made.customShowDeck = calls.Text(deck, L"FullName");
    made.customShowDeckName = WithoutExtension(calls.Text(deck, L"Name"));
}

// What the check needs to know of a deck, as PowerPoint reports it.
DeckUnderTest ReadDeck(Calls& calls, IDispatch* deck, bool madeHere) {
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
                         WideToUtf8(PowerPointSurface::kProgId) + "\", " + Hex(activation.lookup) +
                         ")";
    } else if (FAILED(activation.creation)) {
        connectProblem = "PowerPoint did not start (" + Hex(activation.creation) + ")";
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
    Calls calls;
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
    // hidden last one: next and prev must wrap within it, not at the deck's ends.
    int lastShownBuilds = 0;
    std::vector<int> customShowSlides;
    if (slides >= 4) {
        lastShownBuilds = AddBuilds(calls, slideList.Get(), slides - 1);
        for (int position = 2; position < slides; ++position) {
            customShowSlides.push_back(position);
        }
        AddCustomShow(calls, deck.Get(), slideList.Get(), customShowSlides);
    }
    // Numbered from 0, as many templates are: the play key must count positions, not numbers.
    calls.Put(calls.Read(deck.Get(), L"PageSetup").Get(), L"FirstSlideNumber",
              Argument::Integer(0));
    calls.Do(deck.Get(), L"SaveAs",
             {Argument::Text(path), Argument::Integer(kSaveAsOpenXmlPresentation)});
    DeckUnderTest made = ReadDeck(calls, deck.Get(), true);
    made.lastShownBuilds = lastShownBuilds;
    if (!customShowSlides.empty()) {
        made.customShow = kCustomShow;
        made.customShowSlides = customShowSlides;
        SaveRunningCustomShow(calls, deck.Get(), CustomShowDeckPath(path), made);
    }
    if (deck) {
        Calls closing;
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
    Calls calls;
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

namespace {

// The open presentation PowerPoint names fullName; none (and calls failed) when it is not open.
DispatchPtr FindOpen(Calls& calls, IDispatch* application, const std::wstring& fullName) {
    DispatchPtr presentations = calls.Read(application, L"Presentations");
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

}  // namespace

bool PowerPointDeck::CloseIfOpen(const std::wstring& fullName) {
    Calls calls;
    DispatchPtr presentation = FindOpen(calls, application.Get(), fullName);
    return presentation && calls.Do(presentation.Get(), L"Close");
}
