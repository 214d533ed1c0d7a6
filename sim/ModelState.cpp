#include "sim/ModelState.h"

#include <algorithm>
#include <optional>

#include "sim/DeckFile.h"
#include "sim/ShowRange.h"

namespace pptsim {
namespace {

// Windows file names: the same file whatever the letter case or kind of separator.
std::wstring FileKey(const std::wstring& path) {
    std::wstring key = path;
    for (wchar_t& unit : key) {
        if (unit == L'/') {
            unit = L'\\';
        } else if (unit >= L'A' && unit <= L'Z') {
            unit = static_cast<wchar_t>(unit - L'A' + L'a');
        }
    }
    return key;
}

std::vector<SlideContent> ScenarioSlides(const ScenarioFile& file) {
    std::vector<SlideContent> slides(static_cast<std::size_t>(file.slideCount),
                                     SlideContent{kLayoutText, L"", false});
    for (std::size_t index = 0; index < slides.size(); ++index) {
        slides[index].id = kFirstSlideId + static_cast<int>(index);
    }
    for (int position : file.hidden) {
        slides[static_cast<std::size_t>(position - 1)].hidden = true;
    }
    for (const auto& [position, clicks] : file.clicks) {
        SlideContent& slide = slides[static_cast<std::size_t>(position - 1)];
        slide.effects = slide.clicks = clicks;
    }
    return slides;
}

// The name FullName reports once the file is open.
const std::wstring& ReportedName(const ScenarioFile& file) {
    return file.reportedName.empty() ? file.fullName : file.reportedName;
}

// The name after the last separator: a backslash in a Windows path, a slash in a URL.
std::wstring LastComponent(const std::wstring& fullName) {
    const std::size_t separator = fullName.find_last_of(L"\\/");
    return separator == std::wstring::npos ? fullName : fullName.substr(separator + 1);
}

}  // namespace

std::wstring FrameTitle(const OpenPresentation& presentation, FrameTitleStyle style) {
    std::wstring name = LastComponent(presentation.fullName);
    const std::size_t dot = name.find_last_of(L'.');
    if (style == FrameTitleStyle::WithoutExtension && dot != std::wstring::npos && dot > 0) {
        name.erase(dot);
    }
    return name + (presentation.readOnly ? L" [Read-Only]" : L"") +
           (presentation.protectedView ? L" [Protected View]" : L"") + L" - PowerPoint";
}

int OpenPresentation::PositionOf(int slideId) const {
    for (std::size_t index = 0; index < slides.size(); ++index) {
        if (slides[index].id == slideId) {
            return static_cast<int>(index) + 1;
        }
    }
    return 0;
}

SlideContent& OpenPresentation::InsertSlide(int position, int layout) {
    const auto inserted = slides.insert(slides.begin() + (position - 1),
                                        SlideContent{layout, L"", false, nextSlideId++});
    return *inserted;
}

void ModelState::Start(const Scenario& scenario, FrameChanges& frames) {
    setup = scenario;
    untitledCount = 0;
    presentations.clear();
    shows.clear();
    activeId = 0;
    keyboardShowId = 0;
    for (bool protectedView : {false, true}) {
        for (const std::wstring& name : protectedView ? setup.protectedView : setup.open) {
            for (const ScenarioFile& file : setup.files) {
                if (file.fullName == name) {
                    OpenPresentation& added = AddFile(file, frames);
                    added.protectedView = protectedView;
                    added.windowState =
                        setup.minimized.count(name) != 0 ? kWindowMinimized : kWindowNormal;
                }
            }
        }
    }
    for (const OpenPresentation& presentation : presentations) {
        if (setup.active && presentation.path == *setup.active) {
            activeId = presentation.id;
            // The active presentation's frame ends up on top.
            frames.create.erase(
                std::find(frames.create.begin(), frames.create.end(), presentation.id));
            frames.create.push_back(presentation.id);
        }
    }
    for (const ScenarioShow& show : setup.shows) {
        for (const OpenPresentation& presentation : presentations) {
            if (presentation.path == show.presentation) {
                StartShow(show, presentation);
            }
        }
    }
}

void ModelState::StartShow(const ScenarioShow& show, const OpenPresentation& presentation) {
    RunningShow started;
    started.id = nextId++;
    started.presentationId = presentation.id;
    started.slide = show.slide;
    started.ended = show.ended;
    started.click = show.click;
    started.namedShow = show.namedShow;
    if (!show.namedShow.empty()) {
        started.step = show.reachedByLink
                           ? kOutsideNamedShow
                           : StepOf(NamedShowSlides(presentation, show.namedShow), show.slide);
    }
    if (show.ended) {
        // The end screen follows the show's last slide; Previous goes back to it.
        const ShowStop last = LastStop(presentation, started);
        if (last.slide != 0) {
            started.slide = last.slide;
            started.step = last.step;
        }
        started.click = 0;
    }
    shows.push_back(started);
    keyboardShowId = started.id;
}

std::vector<const OpenPresentation*> ModelState::Listed(bool protectedView) const {
    std::vector<const OpenPresentation*> listed;
    for (const OpenPresentation& presentation : presentations) {
        if (presentation.protectedView == protectedView) {
            listed.push_back(&presentation);
        }
    }
    return listed;
}

void ModelState::Stop(FrameChanges& frames) {
    for (const OpenPresentation& presentation : presentations) {
        if (presentation.frame != nullptr) {
            frames.destroy.push_back(presentation.frame);
        }
    }
    presentations.clear();
    shows.clear();
    activeId = 0;
    keyboardShowId = 0;
}

OpenPresentation* ModelState::FindPresentation(std::uint64_t id) {
    for (OpenPresentation& presentation : presentations) {
        if (presentation.id == id) {
            return &presentation;
        }
    }
    return nullptr;
}

OpenPresentation* ModelState::ActivePresentation() {
    return FindPresentation(activeId);
}

RunningShow* ModelState::FindShow(std::uint64_t id) {
    for (RunningShow& show : shows) {
        if (show.id == id) {
            return &show;
        }
    }
    return nullptr;
}

OpenPresentation* ModelState::Open(const std::wstring& path, FrameChanges& frames) {
    const std::wstring key = FileKey(path);
    // PowerPoint does not hand back a deck that is already open: it opens another, read-only
    // copy in a window of its own.
    // Either name finds it: the one it was opened by and the one FullName reports.
    bool alreadyOpen = false;
    for (const OpenPresentation& presentation : presentations) {
        alreadyOpen = alreadyOpen || FileKey(presentation.fullName) == key ||
                      FileKey(presentation.path) == key;
    }
    OpenPresentation* opened = nullptr;
    for (const ScenarioFile& file : setup.files) {
        if (opened == nullptr &&
            (FileKey(file.fullName) == key || FileKey(ReportedName(file)) == key)) {
            opened = &AddFile(file, frames);
        }
    }
    if (opened == nullptr) {
        std::optional<SavedDeck> saved = ReadDeckFile(path);
        if (!saved) {
            return nullptr;
        }
        opened = &Add(path, std::move(saved->slides), true, frames);
        opened->firstSlideNumber = saved->firstSlideNumber;
        opened->nextSlideId = saved->nextSlideId;
        for (auto& [name, slideIds] : saved->namedShows) {
            opened->namedShows.push_back({nextId++, name, std::move(slideIds)});
        }
        opened->runsNamedShow = !saved->settingsShowName.empty();
        opened->settingsShowName = std::move(saved->settingsShowName);
    }
    opened->readOnly = opened->readOnly || alreadyOpen;
    activeId = opened->id;
    return opened;
}

void ModelState::LeaveProtectedView(std::uint64_t presentationId, FrameChanges& frames) {
    const auto leaving = std::find_if(
        presentations.begin(), presentations.end(),
        [presentationId](const OpenPresentation& entry) { return entry.id == presentationId; });
    if (leaving == presentations.end() || !leaving->protectedView) {
        return;
    }
    // The Protected View window closes and the deck opens for editing in a window of its own.
    OpenPresentation edited = std::move(*leaving);
    presentations.erase(leaving);
    if (edited.frame != nullptr) {
        frames.destroy.push_back(edited.frame);
    }
    edited.frame = nullptr;
    edited.protectedView = false;
    frames.create.push_back(edited.id);
    activeId = edited.id;
    presentations.push_back(std::move(edited));
}

OpenPresentation& ModelState::AddUntitled(bool withWindow, FrameChanges& frames) {
    OpenPresentation& added =
        Add(L"Presentation" + std::to_wstring(++untitledCount), {}, withWindow, frames);
    if (withWindow) {
        activeId = added.id;
    }
    return added;
}

// PowerPoint makes the presentation its active one but cannot bring its frame forward: Windows
// keeps a program in the background from raising its own windows above the one in use. That
// is why the plug-in raises the frame itself. A minimised window stays minimised (inferred).
void ModelState::Activate(std::uint64_t presentationId, FrameChanges& /*frames*/) {
    if (FindPresentation(presentationId) != nullptr) {
        activeId = presentationId;
    }
}

bool ModelState::Close(std::uint64_t presentationId, FrameChanges& frames) {
    auto closing = std::find_if(
        presentations.begin(), presentations.end(),
        [presentationId](const OpenPresentation& entry) { return entry.id == presentationId; });
    if (closing == presentations.end()) {
        return false;
    }
    if (closing->frame != nullptr) {
        frames.destroy.push_back(closing->frame);
    }
    presentations.erase(closing);
    if (const RunningShow* show = ShowOf(presentationId)) {
        EndShow(show->id);
    }
    if (activeId == presentationId) {
        // The most recently opened of the others takes over, or none is left active.
        activeId = presentations.empty() ? 0 : presentations.back().id;
    }
    return true;
}

RunningShow* ModelState::RunShow(std::uint64_t presentationId) {
    const OpenPresentation* presentation = FindPresentation(presentationId);
    if (presentation == nullptr) {
        return nullptr;
    }
    RunningShow started;
    started.presentationId = presentationId;
    if (presentation->runsNamedShow) {
        const std::vector<int> named =
            NamedShowSlides(*presentation, presentation->settingsShowName);
        if (named.empty()) {
            return nullptr;
        }
        started.namedShow = presentation->settingsShowName;
        started.slide = named.front();
    } else {
        started.slide = FirstShown(*presentation);
    }
    if (started.slide == 0) {
        return nullptr;
    }
    if (RunningShow* running = ShowOf(presentationId)) {
        started.id = running->id;
        *running = started;
        return running;
    }
    started.id = nextId++;
    shows.push_back(started);
    return &shows.back();
}

RunningShow* ModelState::ShowOf(std::uint64_t presentationId) {
    for (RunningShow& show : shows) {
        if (show.presentationId == presentationId) {
            return &show;
        }
    }
    return nullptr;
}

void ModelState::EndShow(std::uint64_t showId) {
    shows.erase(std::remove_if(shows.begin(), shows.end(),
                               [showId](const RunningShow& show) { return show.id == showId; }),
                shows.end());
    if (keyboardShowId == showId) {
        keyboardShowId = 0;  // back to the program the presenter was in
    }
}

OpenPresentation& ModelState::AddFile(const ScenarioFile& file, FrameChanges& frames) {
    OpenPresentation& added = Add(ReportedName(file), ScenarioSlides(file), true, frames);
    added.path = file.fullName;
    added.firstSlideNumber = file.firstSlideNumber;
    added.rangeStart = file.rangeStart;
    added.rangeEnd = file.rangeEnd;
    added.readOnly = file.readOnly;
    added.nextSlideId = kFirstSlideId + file.slideCount;
    for (const auto& [name, positions] : file.namedShows) {
        NamedShow show{nextId++, name, {}};
        for (int position : positions) {
            show.slideIds.push_back(added.slides[static_cast<std::size_t>(position - 1)].id);
        }
        added.namedShows.push_back(std::move(show));
    }
    return added;
}

OpenPresentation& ModelState::Add(const std::wstring& fullName, std::vector<SlideContent> slides,
                                  bool withWindow, FrameChanges& frames) {
    OpenPresentation added;
    added.id = nextId++;
    added.fullName = added.path = fullName;
    added.slides = std::move(slides);
    for (const SlideContent& slide : added.slides) {
        added.nextSlideId = std::max(added.nextSlideId, slide.id + 1);
    }
    presentations.push_back(std::move(added));
    if (withWindow) {
        frames.create.push_back(presentations.back().id);
    }
    return presentations.back();
}

}  // namespace pptsim
