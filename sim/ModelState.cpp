#include "sim/ModelState.h"

#include <algorithm>
#include <optional>

#include "sim/DeckFile.h"

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
    return std::vector<SlideContent>(static_cast<std::size_t>(file.slideCount),
                                     SlideContent{kLayoutText, L""});
}

}  // namespace

std::wstring FrameTitle(const std::wstring& fullName) {
    const std::size_t slash = fullName.find_last_of(L'\\');
    const std::wstring fileName =
        slash == std::wstring::npos ? fullName : fullName.substr(slash + 1);
    return fileName + L" - PowerPoint";
}

void ModelState::Start(const Scenario& scenario, FrameChanges& frames) {
    setup = scenario;
    untitledCount = 0;
    presentations.clear();
    shows.clear();
    activeId = 0;
    for (const std::wstring& name : setup.open) {
        for (const ScenarioFile& file : setup.files) {
            if (file.fullName == name) {
                Add(file.fullName, ScenarioSlides(file), true, frames);
            }
        }
    }
    for (const OpenPresentation& presentation : presentations) {
        if (setup.active && presentation.fullName == *setup.active) {
            activeId = presentation.id;
            // The active presentation's frame ends up on top.
            frames.create.erase(
                std::find(frames.create.begin(), frames.create.end(), presentation.id));
            frames.create.push_back(presentation.id);
        }
    }
    for (const ScenarioShow& show : setup.shows) {
        for (const OpenPresentation& presentation : presentations) {
            if (presentation.fullName == show.presentation) {
                shows.push_back({nextId++, presentation.id, show.slide});
            }
        }
    }
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
    for (OpenPresentation& presentation : presentations) {
        if (FileKey(presentation.fullName) == key) {
            Activate(presentation.id, frames);
            return &presentation;
        }
    }
    for (const ScenarioFile& file : setup.files) {
        if (FileKey(file.fullName) == key) {
            OpenPresentation& opened = Add(file.fullName, ScenarioSlides(file), true, frames);
            activeId = opened.id;
            return &opened;
        }
    }
    if (std::optional<std::vector<SlideContent>> saved = ReadDeckFile(path)) {
        OpenPresentation& opened = Add(path, std::move(*saved), true, frames);
        activeId = opened.id;
        return &opened;
    }
    return nullptr;
}

OpenPresentation& ModelState::AddUntitled(bool withWindow, FrameChanges& frames) {
    OpenPresentation& added =
        Add(L"Presentation" + std::to_wstring(++untitledCount), {}, withWindow, frames);
    if (withWindow) {
        activeId = added.id;
    }
    return added;
}

void ModelState::Activate(std::uint64_t presentationId, FrameChanges& frames) {
    if (OpenPresentation* presentation = FindPresentation(presentationId)) {
        activeId = presentationId;
        if (presentation->frame != nullptr) {
            frames.raise.push_back(presentation->frame);
        }
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
    shows.erase(std::remove_if(shows.begin(), shows.end(),
                               [presentationId](const RunningShow& show) {
                                   return show.presentationId == presentationId;
                               }),
                shows.end());
    if (activeId == presentationId) {
        // The most recently opened of the others takes over, or none is left active.
        activeId = presentations.empty() ? 0 : presentations.back().id;
    }
    return true;
}

RunningShow& ModelState::RunShow(std::uint64_t presentationId) {
    if (RunningShow* running = ShowOf(presentationId)) {
        running->slide = 1;
        return *running;
    }
    shows.push_back({nextId++, presentationId, 1});
    return shows.back();
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
}

OpenPresentation& ModelState::Add(const std::wstring& fullName, std::vector<SlideContent> slides,
                                  bool withWindow, FrameChanges& frames) {
    presentations.push_back({nextId++, fullName, std::move(slides), nullptr});
    if (withWindow) {
        frames.create.push_back(presentations.back().id);
    }
    return presentations.back();
}

}  // namespace pptsim
