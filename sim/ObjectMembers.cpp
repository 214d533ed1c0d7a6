#include "sim/ObjectMembers.h"

#include "sim/MemberHandlers.h"

namespace pptsim {
namespace {

using namespace members;

constexpr MemberKind kProperty = MemberKind::Property;
constexpr MemberKind kWritable = MemberKind::WritableProperty;
constexpr MemberKind kMethod = MemberKind::Method;

}  // namespace

const char* ObjectKindName(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::Application:
            return "Application";
        case ObjectKind::Presentations:
            return "Presentations";
        case ObjectKind::Presentation:
            return "Presentation";
        case ObjectKind::Slides:
            return "Slides";
        case ObjectKind::SlideShowSettings:
            return "SlideShowSettings";
        case ObjectKind::SlideShowWindows:
            return "SlideShowWindows";
        case ObjectKind::SlideShowWindow:
            return "SlideShowWindow";
        case ObjectKind::SlideShowView:
            return "SlideShowView";
        case ObjectKind::Slide:
            return "Slide";
        case ObjectKind::DocumentWindows:
            return "DocumentWindows";
        case ObjectKind::DocumentWindow:
            return "DocumentWindow";
        case ObjectKind::Shapes:
            return "Shapes";
        case ObjectKind::Shape:
            return "Shape";
        case ObjectKind::TextFrame:
            return "TextFrame";
        case ObjectKind::TextRange:
            return "TextRange";
        case ObjectKind::PageSetup:
            return "PageSetup";
        case ObjectKind::SlideShowTransition:
            return "SlideShowTransition";
        case ObjectKind::ProtectedViewWindows:
            return "ProtectedViewWindows";
        case ObjectKind::ProtectedViewWindow:
            return "ProtectedViewWindow";
        case ObjectKind::NamedSlideShows:
            return "NamedSlideShows";
        case ObjectKind::NamedSlideShow:
            return "NamedSlideShow";
        case ObjectKind::TimeLine:
            return "TimeLine";
        case ObjectKind::Sequence:
            return "Sequence";
        case ObjectKind::Effect:
            return "Effect";
    }
    return "?";
}

const std::vector<Member>& MembersOf(ObjectKind kind) {
    static const std::vector<Member> application = {
        {L"ActivePresentation", kProperty, 0, 0, ApplicationActivePresentation},
        {L"Presentations", kProperty, 0, 0, ApplicationPresentations},
        {L"SlideShowWindows", kProperty, 0, 0, ApplicationSlideShowWindows},
        {L"Version", kProperty, 0, 0, ApplicationVersion},
        {L"ProtectedViewWindows", kProperty, 0, 0, ApplicationProtectedViewWindows},
    };
    static const std::vector<Member> presentations = {
        {L"Count", kProperty, 0, 0, PresentationsCount},
        {L"Item", kMethod, 1, 1, PresentationsItem},
        {L"Open", kMethod, 1, 4, PresentationsOpen},
        {L"Add", kMethod, 0, 1, PresentationsAdd},
    };
    static const std::vector<Member> presentation = {
        {L"FullName", kProperty, 0, 0, PresentationFullName},
        {L"Slides", kProperty, 0, 0, PresentationSlides},
        {L"SlideShowSettings", kProperty, 0, 0, PresentationSlideShowSettings},
        {L"SlideShowWindow", kProperty, 0, 0, PresentationSlideShowWindow},
        {L"Windows", kProperty, 0, 0, PresentationWindows},
        {L"Name", kProperty, 0, 0, PresentationName},
        {L"SaveAs", kMethod, 1, 3, PresentationSaveAs},
        {L"Close", kMethod, 0, 0, PresentationClose},
        {L"PageSetup", kProperty, 0, 0, PresentationPageSetup},
        {L"ReadOnly", kProperty, 0, 0, PresentationReadOnly},
    };
    static const std::vector<Member> slides = {
        {L"Count", kProperty, 0, 0, SlidesCount},
        {L"Add", kMethod, 2, 2, SlidesAdd},
        {L"Item", kMethod, 1, 1, SlidesItem},
        {L"FindBySlideID", kMethod, 1, 1, SlidesFindBySlideID},
    };
    static const std::vector<Member> slideShowSettings = {
        {L"Run", kMethod, 0, 0, SlideShowSettingsRun},
        {L"RangeType", kWritable, 0, 0, SlideShowSettingsRangeType},
        {L"SlideShowName", kWritable, 0, 0, SlideShowSettingsSlideShowName},
        {L"StartingSlide", kProperty, 0, 0, SlideShowSettingsStartingSlide},
        {L"EndingSlide", kProperty, 0, 0, SlideShowSettingsEndingSlide},
        {L"NamedSlideShows", kProperty, 0, 0, SlideShowSettingsNamedSlideShows},
    };
    static const std::vector<Member> slideShowWindows = {
        {L"Count", kProperty, 0, 0, SlideShowWindowsCount},
        {L"Item", kMethod, 1, 1, SlideShowWindowsItem},
    };
    static const std::vector<Member> slideShowWindow = {
        {L"Presentation", kProperty, 0, 0, SlideShowWindowPresentation},
        {L"View", kProperty, 0, 0, SlideShowWindowView},
        {L"Activate", kMethod, 0, 0, SlideShowWindowActivate},
        {L"Active", kProperty, 0, 0, SlideShowWindowActive},
    };
    static const std::vector<Member> slideShowView = {
        {L"Slide", kProperty, 0, 0, SlideShowViewSlide},
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
        {L"SlideShowName", kProperty, 0, 0, SlideShowViewSlideShowName},
    };
    static const std::vector<Member> slide = {
        {L"SlideNumber", kProperty, 0, 0, SlideSlideNumber},
        {L"Shapes", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::Shapes>},
        {L"SlideIndex", kProperty, 0, 0, SlideSlideIndex},
        {L"SlideShowTransition", kProperty, 0, 0,
         ReturnPartOfSlide<ObjectKind::SlideShowTransition>},
        {L"SlideID", kProperty, 0, 0, SlideSlideID},
        {L"TimeLine", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::TimeLine>},
    };
    static const std::vector<Member> shapes = {{L"Title", kProperty, 0, 0, ShapesTitle}};
    static const std::vector<Member> shape = {
        {L"TextFrame", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::TextFrame>}};
    static const std::vector<Member> textFrame = {
        {L"TextRange", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::TextRange>}};
    static const std::vector<Member> textRange = {{L"Text", kWritable, 0, 0, TextRangeText}};
    static const std::vector<Member> documentWindows = {
        {L"Item", kMethod, 1, 1, DocumentWindowsItem}};
    static const std::vector<Member> documentWindow = {
        {L"Activate", kMethod, 0, 0, DocumentWindowActivate},
        {L"WindowState", kWritable, 0, 0, DocumentWindowWindowState},
    };
    static const std::vector<Member> pageSetup = {
        {L"FirstSlideNumber", kWritable, 0, 0, PageSetupFirstSlideNumber}};
    static const std::vector<Member> slideShowTransition = {
        {L"Hidden", kWritable, 0, 0, SlideShowTransitionHidden}};
    static const std::vector<Member> protectedViewWindows = {
        {L"Count", kProperty, 0, 0, ProtectedViewWindowsCount},
        {L"Item", kMethod, 1, 1, ProtectedViewWindowsItem},
    };
    static const std::vector<Member> protectedViewWindow = {
        {L"Presentation", kProperty, 0, 0, ProtectedViewWindowPresentation},
        {L"Edit", kMethod, 0, 1, ProtectedViewWindowEdit},
        {L"Activate", kMethod, 0, 0, ProtectedViewWindowActivate},
        {L"Close", kMethod, 0, 0, ProtectedViewWindowClose},
    };
    static const std::vector<Member> namedSlideShows = {
        {L"Count", kProperty, 0, 0, NamedSlideShowsCount},
        {L"Item", kMethod, 1, 1, NamedSlideShowsItem},
        {L"Add", kMethod, 2, 2, NamedSlideShowsAdd},
    };
    static const std::vector<Member> namedSlideShow = {
        {L"Name", kProperty, 0, 0, NamedSlideShowName},
        {L"SlideIDs", kProperty, 0, 0, NamedSlideShowSlideIDs},
    };
    static const std::vector<Member> timeLine = {
        {L"MainSequence", kProperty, 0, 0, ReturnPartOfSlide<ObjectKind::Sequence>}};
    static const std::vector<Member> sequence = {
        {L"Count", kProperty, 0, 0, SequenceCount},
        {L"AddEffect", kMethod, 2, 5, SequenceAddEffect},
    };
    static const std::vector<Member> effect = {};

    switch (kind) {
        case ObjectKind::Application:
            return application;
        case ObjectKind::Presentations:
            return presentations;
        case ObjectKind::Presentation:
            return presentation;
        case ObjectKind::Slides:
            return slides;
        case ObjectKind::SlideShowSettings:
            return slideShowSettings;
        case ObjectKind::SlideShowWindows:
            return slideShowWindows;
        case ObjectKind::SlideShowWindow:
            return slideShowWindow;
        case ObjectKind::SlideShowView:
            return slideShowView;
        case ObjectKind::Slide:
            return slide;
        case ObjectKind::DocumentWindows:
            return documentWindows;
        case ObjectKind::DocumentWindow:
            return documentWindow;
        case ObjectKind::Shapes:
            return shapes;
        case ObjectKind::Shape:
            return shape;
        case ObjectKind::TextFrame:
            return textFrame;
        case ObjectKind::TextRange:
            return textRange;
        case ObjectKind::PageSetup:
            return pageSetup;
        case ObjectKind::SlideShowTransition:
            return slideShowTransition;
        case ObjectKind::ProtectedViewWindows:
            return protectedViewWindows;
        case ObjectKind::ProtectedViewWindow:
            return protectedViewWindow;
        case ObjectKind::NamedSlideShows:
            return namedSlideShows;
        case ObjectKind::NamedSlideShow:
            return namedSlideShow;
        case ObjectKind::TimeLine:
            return timeLine;
        case ObjectKind::Sequence:
            return sequence;
        case ObjectKind::Effect:
            return effect;
    }
    return application;
}

}  // namespace pptsim
