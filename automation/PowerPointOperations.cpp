#include "automation/PowerPointOperations.h"

#include <utility>

#include "automation/InvokeByName.h"
#include "automation/PowerPointSurface.h"
#include "platform/UniqueBstr.h"
#include "platform/UniqueVariant.h"
#include "support/PowerPointWindows.h"

namespace ps = PowerPointSurface;

namespace {

HRESULT ReadProperty(IDispatch* object, const char* member, UniqueVariant& result) {
    return InvokeByName(DISPATCH_PROPERTYGET, result.Get(), object, ps::WideMemberName(member));
}

// Results are read only from the slot their type tag names: a reply of an unexpected type
// reads as a failure instead of as a stray pointer or an uninitialised number.
DispatchPtr TakeObject(UniqueVariant& result) {
    VARIANT* value = result.Get();
    if (value->vt != VT_DISPATCH) {
        return DispatchPtr();
    }
    // The variant's reference moves into the owner; the emptied variant then clears to nothing.
    IDispatch* object = std::exchange(value->pdispVal, nullptr);
    value->vt = VT_EMPTY;
    return DispatchPtr::Adopt(object);
}

bool ReadInteger(const UniqueVariant& result, std::int32_t& number) {
    switch (result->vt) {
        case VT_I4:
            number = result->lVal;
            return true;
        case VT_INT:
            number = result->intVal;
            return true;
        case VT_I2:
            number = result->iVal;
            return true;
        default:
            return false;
    }
}

std::int32_t ReadNumber(IDispatch* object, const char* member) {
    UniqueVariant result;
    std::int32_t number = -1;
    if (FAILED(ReadProperty(object, member, result)) || !ReadInteger(result, number)) {
        return -1;
    }
    return number;
}

DispatchPtr CallItem(IDispatch* collection, std::int32_t index) {
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = index;
    UniqueVariant result;
    if (FAILED(InvokeByName(DISPATCH_METHOD, result.Get(), collection,
                            ps::WideMemberName(ps::kItem), 1, &argument))) {
        return DispatchPtr();
    }
    return TakeObject(result);
}

// An empty full name is what a failed read gives, so it never counts as a match.
bool IsSamePath(const std::wstring& fullName, const std::wstring& path) {
    return !fullName.empty() && fullName == path;
}

}  // namespace

DispatchPtr ReadObject(IDispatch* object, const char* member) {
    UniqueVariant result;
    if (FAILED(ReadProperty(object, member, result))) {
        return DispatchPtr();
    }
    return TakeObject(result);
}

bool CallMethod(IDispatch* object, const char* member) {
    return SUCCEEDED(InvokeByName(DISPATCH_METHOD, nullptr, object, ps::WideMemberName(member)));
}

std::int32_t QueryCount(IDispatch* collection) {
    return ReadNumber(collection, ps::kCount);
}

DispatchPtr QueryActivePresentation(IDispatch* application) {
    return ReadObject(application, ps::kActivePresentation);
}

std::wstring QueryFullName(IDispatch* presentation) {
    UniqueVariant result;
    if (FAILED(ReadProperty(presentation, ps::kFullName, result)) || result->vt != VT_BSTR ||
        result->bstrVal == nullptr) {
        return std::wstring();
    }
    return std::wstring(result->bstrVal);  // up to the first zero
}

DispatchPtr QueryPresentations(IDispatch* application) {
    return ReadObject(application, ps::kPresentations);
}

DispatchPtr FindPresentationByPath(IDispatch* presentations, const std::wstring& path) {
    const std::int32_t count = QueryCount(presentations);
    for (std::int32_t index = 1; index <= count; ++index) {
        DispatchPtr presentation = CallItem(presentations, index);
        if (!presentation) {
            break;
        }
        if (IsSamePath(QueryFullName(presentation.Get()), path)) {
            return presentation;
        }
    }
    return DispatchPtr();
}

DispatchPtr RunSlideShow(IDispatch* presentation) {
    DispatchPtr settings = ReadObject(presentation, ps::kSlideShowSettings);
    if (!settings) {
        return DispatchPtr();
    }
    UniqueVariant result;
    if (FAILED(InvokeByName(DISPATCH_METHOD, result.Get(), settings.Get(),
                            ps::WideMemberName(ps::kRun)))) {
        return DispatchPtr();
    }
    return TakeObject(result);
}

bool IsPathInSlideShow(IDispatch* application, const std::wstring& path) {
    DispatchPtr windows = ReadObject(application, ps::kSlideShowWindows);
    if (!windows) {
        return false;
    }
    const std::int32_t count = QueryCount(windows.Get());
    for (std::int32_t index = 1; index <= count; ++index) {
        DispatchPtr window = CallItem(windows.Get(), index);
        if (!window) {
            return false;
        }
        DispatchPtr presentation = ReadObject(window.Get(), ps::kPresentation);
        if (!presentation) {
            return false;
        }
        if (IsSamePath(QueryFullName(presentation.Get()), path)) {
            return true;
        }
    }
    return false;
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

std::int32_t QueryCurrentSlideNumber(IDispatch* view) {
    DispatchPtr slide = ReadObject(view, ps::kSlide);
    if (!slide) {
        return -1;
    }
    return ReadNumber(slide.Get(), ps::kSlideNumber);
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
    UniqueBstr fileName(path);
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = fileName.Get();  // still owned by fileName, freed after the call
    UniqueVariant result;
    const HRESULT opened = InvokeByName(DISPATCH_METHOD, result.Get(), presentations,
                                        ps::WideMemberName(ps::kOpen), 1, &argument);
    return SUCCEEDED(opened) && TakeObject(result);
}

bool ActivateFirstDocumentWindow(IDispatch* presentation) {
    DispatchPtr windows = ReadObject(presentation, ps::kWindows);
    if (!windows) {
        return false;
    }
    DispatchPtr window = CallItem(windows.Get(), 1);
    return window && CallMethod(window.Get(), ps::kActivate);
}

}  // namespace

bool OpenOrActivatePresentation(IDispatch* application, const std::wstring& path) {
    DispatchPtr presentations = QueryPresentations(application);
    if (!presentations) {
        return false;
    }
    DispatchPtr presentation = FindPresentationByPath(presentations.Get(), path);
    if (presentation) {
        if (!ActivateFirstDocumentWindow(presentation.Get())) {
            return false;
        }
        ActivatePresentationWindow(path);
        return true;
    }

    // Looked up afresh: no object is carried from one step of a command to the next.
    presentations = QueryPresentations(application);
    if (!presentations) {
        ActivatePresentationWindow(path);
        return false;
    }
    const bool opened = OpenPresentationFile(presentations.Get(), path);
    ActivatePresentationWindow(path);
    return opened;
}
