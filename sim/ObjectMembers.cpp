#include "sim/ObjectMembers.h"

#include <algorithm>

#include "sim/MemberHandlers.h"

namespace pptsim {
namespace {

using namespace members;

constexpr MemberKind kProperty = MemberKind::Property;
constexpr MemberKind kWritable = MemberKind::WritableProperty;
constexpr MemberKind kMethod = MemberKind::Method;

// A kind's name, as traces and failure texts give it, and its members.
struct KindMembers {
    ObjectKind kind;
    const char* name;
    std::vector<Member> members;
};

const KindMembers& EntryOf(ObjectKind kind) {
    static const std::vector<KindMembers> kinds = {
        {ObjectKind::Application,
         "Application",
         {{L"ActivePresentation", kProperty, 0, 0, ApplicationActivePresentation},
          {L"Presentations", kProperty, 0, 0, ApplicationPresentations},
          {L"SlideShowWindows", kProperty, 0, 0, ApplicationSlideShowWindows},
          {L"Version", kProperty, 0, 0, ApplicationVersion},
          {L"ProtectedViewWindows", kProperty, 0, 0, ApplicationProtectedViewWindows}}},
        {ObjectKind::Presentations,
         "Presentations",
         {{L"Count", kProperty, 0, 0, PresentationsCount},
          {L"Item", kMethod, 1, 1, PresentationsItem},
          {L"Open", kMethod, 1, 4, PresentationsOpen},
          {L"Add", kMethod, 0, 1, PresentationsAdd}}},
        {ObjectKind::Presentation,
         "Presentation",
         {{L"FullName", kProperty, 0, 0, PresentationFullName},
          {L"Slides", kProperty, 0, 0, PresentationSlides},
          {L"SlideShowSettings", kProperty, 0, 0, PresentationSlideShowSettings},
          {L"SlideShowWindow", kProperty, 0, 0, PresentationSlideShowWindow},
          {L"Windows", kProperty, 0, 0, PresentationWindows},
          {L"Name", kProperty, 0, 0, PresentationName},
          {L"SaveAs", kMethod, 1, 3, PresentationSaveAs},
          {L"Close", kMethod, 0, 0, PresentationClose},
          {L"PageSetup", kProperty, 0, 0, PresentationPageSetup},
          {L"ReadOnly", kProperty, 0, 0, PresentationReadOnly}}},
        {ObjectKind::Slides,
         "Slides",
         {{L"Count", kProperty, 0, 0, SlidesCount},
          {L"Add", kMethod, 2, 2, SlidesAdd},
          {L"Item", kMethod, 1, 1, SlidesItem},
          {L"FindBySlideID", kMethod, 1, 1, SlidesFindBySlideID}}},
        {ObjectKind::SlideShowSettings,
         "SlideShowSettings",
         {{L"Run", kMethod, 0, 0, SlideShowSettingsRun},
          {L"RangeType", kWritable, 0, 0, SlideShowSettingsRangeType},
          {L"SlideShowName", kWritable, 0, 0, SlideShowSettingsSlideShowName},
          {L"StartingSlide", kProperty, 0, 0, SlideShowSettingsStartingSlide},
          {L"EndingSlide", kProperty, 0, 0, SlideShowSettingsEndingSlide},
          {L"NamedSlideShows", kProperty, 0, 0, SlideShowSettingsNamedSlideShows}}},
        {ObjectKind::SlideShowWindows,
         "SlideShowWindows",
         {{L"Count", kProperty, 0, 0, SlideShowWindowsCount},
          {L"Item", kMethod, 1, 1, SlideShowWindowsItem}}},
        {ObjectKind::SlideShowWindow,
         "SlideShowWindow",
         {{L"Presentation", kProperty, 0, 0, SlideShowWindowPresentation},
          {L"View", kProperty, 0, 0, SlideShowWindowView},
          {L"Activate", kMethod, 0, 0, SlideShowWindowActivate},
          {L"Active", kProperty, 0, 0, SlideShowWindowActive}}},
        {ObjectKind::SlideShowView,
         "SlideShowView",
         {{L"Slide", kProperty, 0, 0, SlideShowViewSlide},
          {L"Next", kMethod, 0, 0, SlideShowViewNext},
          {L"Previous", kMethod, 0, 0, SlideShowViewPrevious},
          {L"First", kMethod, 0, 0, SlideShowViewFirst},
          {L"Last", kMethod, 0, 0, SlideShowViewLast},
          {L"Exit", kMethod, 0, 0, SlideShowViewExit},
          {L"State", kProperty, 0, 0, SlideShowViewState},
          {L"CurrentShowPosition", kProperty, 0, 0, SlideShowViewCurrentShowPosition},
          {L"GotoSlide", kMethod, 1, 2, SlideShowViewGotoSlide},
          {L"GetClickIndex", kMethod, 0, 0, SlideShowViewGetClickIndex},
          {L"GetClickCount", kMethod, 0, 0, SlideShowViewGetClickCount},
          {L"IsNamedShow", kProperty, 0, 0, SlideShowViewIsNamedShow},
          {L"SlideShowName", kProperty, 0, 0, SlideShowViewSlideShowName}}},
        {ObjectKind::Slide,
         "Slide",
         {{L"SlideNumber", kProperty, 0, 0, SlideSlideNumber},
          {L"Shapes", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::Shapes>},
          {L"SlideIndex", kProperty, 0, 0, SlideSlideIndex},
          {L"SlideShowTransition", kProperty, 0, 0,
           ReturnPartOfSlide<ObjectKind::SlideShowTransition>},
          {L"SlideID", kProperty, 0, 0, SlideSlideID},
          {L"TimeLine", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::TimeLine>}}},
        {ObjectKind::DocumentWindows,
         "DocumentWindows",
         {{L"Item", kMethod, 1, 1, DocumentWindowsItem}}},
        {ObjectKind::DocumentWindow,
         "DocumentWindow",
         {{L"Activate", kMethod, 0, 0, DocumentWindowActivate},
          {L"WindowState", kWritable, 0, 0, DocumentWindowWindowState}}},
        {ObjectKind::Shapes, "Shapes", {{L"Title", kProperty, 0, 0, ShapesTitle}}},
        {ObjectKind::Shape,
         "Shape",
         {{L"TextFrame", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::TextFrame>}}},
        {ObjectKind::TextFrame,
         "TextFrame",
         {{L"TextRange", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::TextRange>}}},
        {ObjectKind::TextRange, "TextRange", {{L"Text", kWritable, 0, 0, TextRangeText}}},
        {ObjectKind::PageSetup,
         "PageSetup",
         {{L"FirstSlideNumber", kWritable, 0, 0, PageSetupFirstSlideNumber}}},
        {ObjectKind::SlideShowTransition,
         "SlideShowTransition",
         {{L"Hidden", kWritable, 0, 0, SlideShowTransitionHidden}}},
        {ObjectKind::ProtectedViewWindows,
         "ProtectedViewWindows",
         {{L"Count", kProperty, 0, 0, ProtectedViewWindowsCount},
          {L"Item", kMethod, 1, 1, ProtectedViewWindowsItem}}},
        {ObjectKind::ProtectedViewWindow,
         "ProtectedViewWindow",
         {{L"Presentation", kProperty, 0, 0, ProtectedViewWindowPresentation},
          {L"Edit", kMethod, 0, 1, ProtectedViewWindowEdit},
          {L"Activate", kMethod, 0, 0, ProtectedViewWindowActivate},
          {L"Close", kMethod, 0, 0, ProtectedViewWindowClose}}},
        {ObjectKind::NamedSlideShows,
         "NamedSlideShows",
         {{L"Count", kProperty, 0, 0, NamedSlideShowsCount},
          {L"Item", kMethod, 1, 1, NamedSlideShowsItem},
          {L"Add", kMethod, 2, 2, NamedSlideShowsAdd}}},
        {ObjectKind::NamedSlideShow,
         "NamedSlideShow",
         {{L"Name", kProperty, 0, 0, NamedSlideShowName},
          {L"SlideIDs", kProperty, 0, 0, NamedSlideShowSlideIDs}}},
        {ObjectKind::TimeLine,
         "TimeLine",
         {{L"MainSequence", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::Sequence>}}},
        {ObjectKind::Sequence,
         "Sequence",
         {{L"Count", kProperty, 0, 0, SequenceCount},
          {L"AddEffect", kMethod, 2, 5, SequenceAddEffect}}},
        {ObjectKind::Effect, "Effect", {}},
    };
    const auto entry = std::find_if(kinds.begin(), kinds.end(),
                                    [kind](const KindMembers& each) { return each.kind == kind; });
    return entry != kinds.end() ? *entry : kinds.front();
}

}  // namespace

const char* ObjectKindName(ObjectKind kind) {
    return EntryOf(kind).name;
}

const std::vector<Member>& MembersOf(ObjectKind kind) {
    return EntryOf(kind).members;
}

}  // namespace pptsim
